#pragma once
// Small random databases for comparing the two ways of listing: a few
// hundred orders with column types that change the statement's semantics
// (numbers or fixed- and variable-length text for codes and companies), and
// documents and notes whose numbers and observations hold the orders' keys
// at the start, at the end, twice, split, in the other letter case, without
// their padding, with wildcard characters, or not at all; nulls everywhere;
// cancelled, null-cancelled and "S " notes; notes without links and links
// without notes; other companies; duplicated orders and customers.

#include "FbConnection.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <cstdint>

class BancoAleatorio {
public:
    explicit BancoAleatorio(std::uint32_t semente) : m_estado(semente * 2654435761u + 0x9e3779b97f4a7c15ull) {}

    // Creates the schema and the rows on an empty database.
    void Preencher(FbConnection& db);
    // The order-type list to filter by (empty for all), fit for the schema.
    QString Tipos() const { return m_tipos; }
    QDate Inicio() const { return m_inicio; }
    QDate Fim() const { return m_fim; }
    QString Descricao() const { return m_descricao; }

private:
    std::uint32_t proximo()
    {
        m_estado ^= m_estado << 13;
        m_estado ^= m_estado >> 7;
        m_estado ^= m_estado << 17;
        return static_cast<std::uint32_t>(m_estado >> 11);
    }
    int abaixo(int n) { return static_cast<int>(proximo() % static_cast<std::uint32_t>(n)); }
    bool chance(int porCento) { return abaixo(100) < porCento; }
    template <typename T>
    const T& um(const QList<T>& l) { return l[abaixo(static_cast<int>(l.size()))]; }

    QVariant empresa(int n) const;
    QVariant tipo();
    QVariant codigo(int i);
    QString observacao(const QString& chave, const QStringList& chaves);
    QVariant numero(const QString& chave, const QStringList& chaves);

    std::uint64_t m_estado;
    bool m_empresaTexto = false;
    int m_tipoForma = 0;   // 0 integer, 1 CHAR(3), 2 VARCHAR(4)
    int m_codigoForma = 0; // 0 integer, 1 CHAR(6), 2 VARCHAR(8)
    QString m_tipos;
    QDate m_inicio, m_fim;
    QString m_descricao;
};

inline QVariant BancoAleatorio::empresa(int n) const
{
    if (!m_empresaTexto)
        return n;
    return QString::number(n);
}

inline QVariant BancoAleatorio::tipo()
{
    if (m_tipoForma == 0)
        return um(QList<int>{51, 55, 56, 5, 1});
    if (m_tipos.isEmpty())
        return um(QStringList{QStringLiteral("51"), QStringLiteral("55"), QStringLiteral("56"), QStringLiteral("5"),
                              QStringLiteral("5_"), QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("%"),
                              QStringLiteral(" 5")});
    // Filtered by type: "In(51,55)" converts the column to a number.
    return um(QStringList{QStringLiteral("51"), QStringLiteral("55"), QStringLiteral("56"), QStringLiteral("5")});
}

inline QVariant BancoAleatorio::codigo(int i)
{
    // Codes collide now and then, so that keys and pairs repeat.
    const int n = chance(10) ? 1 + abaixo(20) : 100 + i;
    if (m_codigoForma == 0)
        return n;
    switch (abaixo(10)) {
    case 0: return QString::number(n) + QStringLiteral("a");
    case 1: return QString::number(n) + QStringLiteral("A");
    case 2: return QString::number(n).insert(1, QLatin1Char('_'));
    case 3: return QString::number(n) + QStringLiteral("%");
    case 4: return QString::number(n) + QStringLiteral(" ");
    default: return QString::number(n);
    }
}

inline QString BancoAleatorio::observacao(const QString& chave, const QStringList& chaves)
{
    const QString outra = um(chaves);
    QString semPreenchimento = chave;
    while (semPreenchimento.endsWith(QLatin1Char(' ')))
        semPreenchimento.chop(1);
    QString trocada = chave;
    for (QChar& c : trocada)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    QString curinga = chave;
    if (!curinga.isEmpty())
        curinga[abaixo(static_cast<int>(curinga.size()))] = chance(50) ? QLatin1Char('_') : QLatin1Char('%');
    switch (abaixo(13)) {
    case 0: return chave + QStringLiteral(" pago");
    case 1: return QStringLiteral("Ref. pedido ") + chave;
    case 2: return chave + QLatin1Char('/') + chave;
    case 3: return QStringLiteral("pedidos ") + chave.left(2) + QLatin1Char(' ') + chave.mid(2);
    case 4: return QStringLiteral("x") + trocada + QStringLiteral("x");
    case 5: return semPreenchimento + QStringLiteral("-");
    case 6: return QStringLiteral("obs ") + curinga;
    case 7: return outra + chave.right(2);
    case 8: return QStringLiteral("Conferir ") + outra;
    case 9: return chave;
    case 10: return QString();
    case 11: return QStringLiteral("%_ sem pedido");
    default: return QStringLiteral("9") + chave + QStringLiteral("9");
    }
}

inline QVariant BancoAleatorio::numero(const QString& chave, const QStringList& chaves)
{
    switch (abaixo(8)) {
    case 0: return chave;
    case 1: return chave + QStringLiteral("  ");
    case 2: return QLatin1Char(' ') + chave;
    case 3: return chave.toLower();
    case 4: return um(chaves);
    case 5: return chave.left(qMax(0, static_cast<int>(chave.size()) - 1));
    default: return QVariant();
    }
}

inline void BancoAleatorio::Preencher(FbConnection& db)
{
    m_empresaTexto = chance(30);
    m_tipoForma = abaixo(3);
    m_codigoForma = abaixo(3);
    if (m_tipoForma == 0 || chance(30))
        m_tipos = chance(50) ? QString() : um(QStringList{QStringLiteral("51"), QStringLiteral("51,55"),
                                                          QStringLiteral("5,55,56")});
    const bool observacaoFixa = chance(30);
    const bool numeroFixo = chance(30);
    const bool canceladoVariavel = chance(30);
    const QString empresaTipo = m_empresaTexto ? QStringLiteral("CHAR(2)") : QStringLiteral("INTEGER");
    const QString empresaTipoDoc = m_empresaTexto ? QStringLiteral("VARCHAR(3)") : QStringLiteral("SMALLINT");
    const QStringList tipoTipos{QStringLiteral("INTEGER"), QStringLiteral("CHAR(3)"), QStringLiteral("VARCHAR(4)")};
    const QStringList codigoTipos{QStringLiteral("INTEGER"), QStringLiteral("CHAR(6)"), QStringLiteral("VARCHAR(8)")};
    // The note tables keep the family of the order's columns, not its length.
    const QString tipoNota = m_tipoForma == 0 ? QStringLiteral("INTEGER") : QStringLiteral("VARCHAR(5)");
    const QString codigoNota = m_codigoForma == 0 ? QStringLiteral("INTEGER") : QStringLiteral("CHAR(9)");
    const QString obs = observacaoFixa ? QStringLiteral("CHAR(40)") : QStringLiteral("VARCHAR(80)");
    const QString num = numeroFixo ? QStringLiteral("CHAR(12)") : QStringLiteral("VARCHAR(20)");
    m_descricao = QStringLiteral("empresa %1, tipo %2, codigo %3, obs %4, numero %5, tipos [%6]")
                      .arg(empresaTipo, tipoTipos[m_tipoForma], codigoTipos[m_codigoForma], obs, num, m_tipos);

    const QStringList ddl{
        QStringLiteral("CREATE TABLE Cliente (CodCliente INTEGER NOT NULL, nome VARCHAR(30))"),
        QStringLiteral("CREATE TABLE CondPag (CodPrazo VARCHAR(3) NOT NULL PRIMARY KEY, descricao VARCHAR(20))"),
        QStringLiteral("CREATE TABLE CdOperc (CodOper INTEGER NOT NULL PRIMARY KEY, gerarec CHAR(1))"),
        QStringLiteral("CREATE TABLE Pedidoc (CodEmpresa %1, TipoPedido %2, CodPedido %3, CodCliente INTEGER,"
                       " datapedido DATE, datafatura DATE, totalpedido NUMERIC(15,2), CodPrazo VARCHAR(3),"
                       " CodOper INTEGER, faturado CHAR(1), statuspedido CHAR(2))")
            .arg(empresaTipo, tipoTipos[m_tipoForma], codigoTipos[m_codigoForma]),
        QStringLiteral("CREATE TABLE Docurec (CodDocto INTEGER, CodEmpresa %1, NumDocOrig %2, OBSERVACAO %3)")
            .arg(empresaTipoDoc, num, obs),
        QStringLiteral("CREATE TABLE docagrupados (CodDocto INTEGER, codempresa %1, numdocorig %2, OBSERVACAO %3)")
            .arg(empresaTipo, num, obs),
        QStringLiteral("CREATE TABLE docurecfatura (CodDocto INTEGER, codempresa %1, numdocorig VARCHAR(20),"
                       " OBSERVACAO VARCHAR(80))")
            .arg(empresaTipoDoc),
        QStringLiteral("CREATE TABLE NfSaidc (codempresa %1 NOT NULL, numnf INTEGER NOT NULL, serie VARCHAR(3) NOT NULL,"
                       " CodPedido %2, TipoPedido %3, OBSERVACAO %4, cancelado %5,"
                       " PRIMARY KEY (codempresa, numnf, serie))")
            .arg(empresaTipo, codigoNota, tipoNota, obs,
                 canceladoVariavel ? QStringLiteral("VARCHAR(2)") : QStringLiteral("CHAR(1)")),
        QStringLiteral("CREATE TABLE nfepedi (codempresa %1, numnf INTEGER, serie VARCHAR(3), CodPedido %2,"
                       " tipopedido %3)")
            .arg(empresaTipo, codigoNota, tipoNota),
    };
    for (const QString& s : ddl)
        db.Execute(s);

    db.BeginBatch();
    const int clientes = 12;
    for (int c = 1; c <= clientes; ++c) {
        db.Execute(QStringLiteral("INSERT INTO Cliente VALUES (?, ?)"),
                   {c, chance(5) ? QVariant() : QVariant(QStringLiteral("Cliente %1").arg(c))});
        if (chance(8)) // the same code twice: the join gives two rows
            db.Execute(QStringLiteral("INSERT INTO Cliente VALUES (?, ?)"),
                       {c, chance(50) ? QVariant(QStringLiteral("Cliente %1").arg(c)) : QVariant(QStringLiteral("Outro"))});
    }
    for (const auto& [cod, desc] : QList<QPair<QString, QString>>{{QStringLiteral("000"), QStringLiteral("A vista")},
                                                                  {QStringLiteral("001"), QStringLiteral("30 dias")},
                                                                  {QStringLiteral("002"), QStringLiteral("60 dias")}})
        db.Execute(QStringLiteral("INSERT INTO CondPag VALUES (?, ?)"), {cod, desc});
    db.Execute(QStringLiteral("INSERT INTO CdOperc VALUES (1, 'S')"));
    db.Execute(QStringLiteral("INSERT INTO CdOperc VALUES (2, 'N')"));
    db.Execute(QStringLiteral("INSERT INTO CdOperc VALUES (3, 's')"));

    const QDate primeiro(2012, 6, 1);
    const int pedidos = 120 + abaixo(180);
    for (int i = 0; i < pedidos; ++i) {
        const QDate pedido = primeiro.addDays(abaixo(2000));
        QVariant fatura = pedido.addDays(abaixo(4));
        if (chance(3))
            fatura = QVariant();
        else if (chance(3))
            fatura = QDateTime(fatura.toDate(), QTime(12, 0));
        const QVariantList linha{
            chance(2) ? QVariant() : empresa(1 + abaixo(3)),
            chance(2) ? QVariant() : tipo(),
            chance(2) ? QVariant() : codigo(i),
            1 + abaixo(clientes + 1),
            pedido,
            fatura,
            chance(4) ? 0.0 : (100 + abaixo(100000)) / 100.0,
            um(QStringList{QStringLiteral("000"), QStringLiteral("001"), QStringLiteral("002"), QStringLiteral("003")}),
            1 + abaixo(3),
            um(QStringList{QStringLiteral("S"), QStringLiteral("S"), QStringLiteral("N"), QStringLiteral("s")}),
            um(QStringList{QStringLiteral("09"), QStringLiteral("10"), QStringLiteral("9")}),
        };
        const QString insert = QStringLiteral("INSERT INTO Pedidoc VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        db.Execute(insert, linha);
        if (chance(3))
            db.Execute(insert, linha);
    }
    db.CommitBatch();

    // The keys as the database makes them, for the documents to name.
    QStringList chaves;
    QList<QVariantList> ordens;
    for (const QVariantList& l : db.Query(QStringLiteral(
             "Select TipoPedido || CodPedido, CodEmpresa, CodPedido, TipoPedido From Pedidoc")).rows) {
        if (!l[0].isNull())
            chaves << l[0].toString();
        ordens << l;
    }
    if (chaves.isEmpty())
        chaves << QStringLiteral("51100");

    db.BeginBatch();
    int documento = 0;
    const auto vazioOuNulo = [](const QString& t) { return t.isEmpty() ? QVariant() : QVariant(t); };
    for (const char* tabela : {"Docurec", "docagrupados", "docurecfatura"}) {
        const int n = abaixo(static_cast<int>(ordens.size()) / 2 + 1);
        for (int i = 0; i < n; ++i) {
            const QVariantList& o = um(ordens);
            const QString chave = o[0].isNull() ? um(chaves) : o[0].toString();
            const QVariant emp = chance(70) ? o[1] : (chance(50) ? QVariant() : empresa(1 + abaixo(3)));
            db.Execute(QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?)").arg(QLatin1String(tabela)),
                       {++documento, emp, numero(chave, chaves), vazioOuNulo(observacao(chave, chaves))});
        }
    }
    int nota = 0;
    const int notas = abaixo(static_cast<int>(ordens.size()) / 2 + 1);
    for (int i = 0; i < notas; ++i) {
        const QVariantList& o = um(ordens);
        const QString chave = o[0].isNull() ? um(chaves) : o[0].toString();
        const QVariant emp = chance(70) && !o[1].isNull() ? o[1] : empresa(1 + abaixo(3));
        const bool nomeiaPedido = chance(30);
        const QVariant cancelado = um(QVariantList{QStringLiteral("S"), QStringLiteral("N"), QVariant(),
                                                    QStringLiteral("s"),
                                                    canceladoVariavel ? QStringLiteral("S ") : QStringLiteral("S")});
        ++nota;
        const QString serie = chance(80) ? QStringLiteral("1") : QStringLiteral("1 ");
        db.Execute(QStringLiteral("INSERT INTO NfSaidc VALUES (?, ?, ?, ?, ?, ?, ?)"),
                   {emp, nota, serie, nomeiaPedido ? o[2] : QVariant(), nomeiaPedido ? o[3] : QVariant(),
                    vazioOuNulo(observacao(chave, chaves)), cancelado});
        // Links: to this note, to a note that does not exist, or none.
        const int vinculo = abaixo(4);
        if (vinculo < 2) {
            const QVariantList& ligado = um(ordens);
            db.Execute(QStringLiteral("INSERT INTO nfepedi VALUES (?, ?, ?, ?, ?)"),
                       {emp, vinculo == 0 ? nota : nota + 100000, QStringLiteral("1"), ligado[2], ligado[3]});
        }
        if (vinculo == 2)
            db.Execute(QStringLiteral("INSERT INTO nfepedi VALUES (?, ?, ?, ?, ?)"),
                       {emp, nota, QStringLiteral("1"), o[2], o[3]});
    }
    db.CommitBatch();

    m_inicio = chance(70) ? QDate(2013, 1, 1) : QDate(2013, 1, 1).addDays(abaixo(1500));
    m_fim = chance(70) ? QDate(2999, 1, 1) : m_inicio.addDays(abaixo(900));
}
