#include "ConsultaPedidosAcelerada.h"

#include "MultiPatternSearch.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <limits>

namespace ConsultaPedidos {

FbResult ListagemDocumentada(FbConnection& db, const Filtro& filtro)
{
    QVariantList valores;
    const QString sql = InstrucaoComMarcadores(filtro, &valores);
    return db.Query(sql, valores);
}

namespace {

// How the statement compares a column: as text (trailing blanks ignored by
// "=", kept by "like") or as a number.
enum class Especie { Texto, Numero, Outra };

struct Coluna {
    Especie especie = Especie::Outra;
    bool agrupamentoSimples = false; // its character set's own byte-wise collation
};

Especie especieDoTipo(int tipo, int subtipo)
{
    switch (tipo) {
    case 7: case 8: case 9: case 10: case 11: case 16: case 27:
        return Especie::Numero;
    case 14: case 37: case 40:
        return Especie::Texto;
    case 261:
        return subtipo == 1 ? Especie::Texto : Especie::Outra;
    default:
        return Especie::Outra;
    }
}

// The columns the "not exists" tests compare, by "TABLE.COLUMN".
QHash<QString, Coluna> lerColunas(FbConnection& db)
{
    const FbResult r = db.Query(QStringLiteral(
        "Select Trim(rf.RDB$RELATION_NAME), Trim(rf.RDB$FIELD_NAME), f.RDB$FIELD_TYPE, f.RDB$FIELD_SUB_TYPE,"
        " Trim(cs.RDB$CHARACTER_SET_NAME), Trim(cs.RDB$DEFAULT_COLLATE_NAME), Trim(co.RDB$COLLATION_NAME),"
        " Coalesce(rf.RDB$COLLATION_ID, f.RDB$COLLATION_ID, 0)"
        " From RDB$RELATION_FIELDS rf"
        " Join RDB$FIELDS f On f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE"
        " Left Join RDB$CHARACTER_SETS cs On cs.RDB$CHARACTER_SET_ID = f.RDB$CHARACTER_SET_ID"
        " Left Join RDB$COLLATIONS co On co.RDB$CHARACTER_SET_ID = f.RDB$CHARACTER_SET_ID"
        "  And co.RDB$COLLATION_ID = Coalesce(rf.RDB$COLLATION_ID, f.RDB$COLLATION_ID, 0)"
        " Where rf.RDB$RELATION_NAME In (\"PEDIDOC\", \"DOCUREC\", \"DOCAGRUPADOS\", \"DOCURECFATURA\","
        " \"NFSAIDC\", \"NFEPEDI\")"));
    QHash<QString, Coluna> colunas;
    for (const QVariantList& l : r.rows) {
        Coluna c;
        c.especie = especieDoTipo(l[2].toInt(), l[3].toInt());
        const QString conjunto = l[4].toString();
        const QString agrupamento = l[6].toString();
        // Collation 0 is whatever the character set's default is now.
        c.agrupamentoSimples = !conjunto.isEmpty() && agrupamento == conjunto &&
                               (l[7].toInt() != 0 || l[5].toString() == conjunto);
        colunas.insert(l[0].toString() + QLatin1Char('.') + l[1].toString(), c);
    }
    return colunas;
}

// Empty when the fast path gives the statement's rows on this schema,
// otherwise why not.
QString motivoParaNaoAcelerar(const QHash<QString, Coluna>& colunas)
{
    const auto coluna = [&](const char* nome) -> const Coluna* {
        const auto it = colunas.constFind(QString::fromLatin1(nome));
        return it == colunas.cend() ? nullptr : &*it;
    };
    const auto conferir = [&](const char* nome, Especie exigida) -> QString {
        const Coluna* c = coluna(nome);
        if (!c)
            return QStringLiteral("column %1 not found").arg(QLatin1String(nome));
        if (c->especie == Especie::Outra || (exigida != Especie::Outra && c->especie != exigida))
            return QStringLiteral("column %1 is of a type the fast listing does not compare").arg(QLatin1String(nome));
        if (c->especie == Especie::Texto && !c->agrupamentoSimples)
            return QStringLiteral("column %1 has a collation of its own").arg(QLatin1String(nome));
        return QString();
    };
    QString problema;
    const auto primeiro = [&](const QString& p) {
        if (problema.isEmpty())
            problema = p;
    };
    for (const char* nome : {"PEDIDOC.CODEMPRESA", "PEDIDOC.TIPOPEDIDO", "PEDIDOC.CODPEDIDO"})
        primeiro(conferir(nome, Especie::Outra));
    if (!problema.isEmpty())
        return problema;
    const Especie empresa = coluna("PEDIDOC.CODEMPRESA")->especie;
    const Especie tipo = coluna("PEDIDOC.TIPOPEDIDO")->especie;
    const Especie codigo = coluna("PEDIDOC.CODPEDIDO")->especie;
    for (const char* tabela : {"DOCUREC", "DOCAGRUPADOS", "DOCURECFATURA"}) {
        const QByteArray t(tabela);
        primeiro(conferir((t + ".NUMDOCORIG").constData(), Especie::Texto));
        primeiro(conferir((t + ".OBSERVACAO").constData(), Especie::Texto));
        primeiro(conferir((t + ".CODEMPRESA").constData(), empresa));
    }
    primeiro(conferir("NFSAIDC.CODEMPRESA", empresa));
    primeiro(conferir("NFSAIDC.CODPEDIDO", codigo));
    primeiro(conferir("NFSAIDC.TIPOPEDIDO", tipo));
    primeiro(conferir("NFSAIDC.OBSERVACAO", Especie::Texto));
    primeiro(conferir("NFEPEDI.CODPEDIDO", codigo));
    primeiro(conferir("NFEPEDI.TIPOPEDIDO", tipo));
    return problema;
}

QString semBrancosAoFim(const QString& s)
{
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == QLatin1Char(' '))
        --n;
    return s.left(n);
}

// A value as "=" sees it: texts without trailing blanks, numbers by value.
// Null is no value (it never matches).
QString chaveDeIgualdade(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::QString:
        return QLatin1Char('t') + semBrancosAoFim(v.toString());
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (d == static_cast<double>(static_cast<qint64>(d)))
            return QLatin1Char('n') + QString::number(static_cast<qint64>(d));
        return QLatin1Char('n') + QString::number(d, 'g', 17);
    }
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QLatin1Char('n') + QString::number(v.toLongLong());
    case QMetaType::QDate:
        return QLatin1Char('d') + v.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return QLatin1Char('d') + v.toDateTime().toString(Qt::ISODateWithMs);
    default:
        return QLatin1Char('o') + v.toString();
    }
}

QString chaveDoPar(const QVariant& codigo, const QVariant& tipo)
{
    const QString c = chaveDeIgualdade(codigo);
    const QString t = chaveDeIgualdade(tipo);
    if (c.isEmpty() || t.isEmpty())
        return QString();
    return c + QChar(0x1f) + t;
}

bool temCoringa(const QString& s)
{
    return s.contains(QLatin1Char('%')) || s.contains(QLatin1Char('_'));
}

// `texto LIKE "%" || chave || "%"`: "_" in the key is any one character and
// "%" any run of them; nothing escapes them.
bool contemComoLike(QStringView texto, QStringView chave)
{
    const QString padrao = QLatin1Char('%') + chave.toString() + QLatin1Char('%');
    qsizetype t = 0, p = 0, estrela = -1, marca = 0;
    while (t < texto.size()) {
        if (p < padrao.size() && padrao[p] == QLatin1Char('%')) {
            estrela = p++;
            marca = t;
        } else if (p < padrao.size() && (padrao[p] == QLatin1Char('_') || padrao[p] == texto[t])) {
            ++t;
            ++p;
        } else if (estrela >= 0) {
            p = estrela + 1;
            t = ++marca;
        } else {
            return false;
        }
    }
    while (p < padrao.size() && padrao[p] == QLatin1Char('%'))
        ++p;
    return p == padrao.size();
}

// One order that passed the plain conditions.
struct Candidato {
    QVariantList linha;       // the nine columns of the listing
    qint32 empresa = -1;      // number of its company's "=" key, -1 for null
    qint32 proximoMesmaChave = -1;
    qint32 proximoMesmoNumero = -1;
    qint32 proximoMesmoPar = -1;
    bool excluido = false;
};

class Exclusoes {
public:
    explicit Exclusoes(std::vector<Candidato>& c) : m_c(c) {}

    // `chave` is Pedidoc.TipoPedido || Pedidoc.CodPedido as the database made it.
    void Registrar(qint32 indice, const QVariant& chave, const QVariant& empresa, const QVariant& codigo,
                   const QVariant& tipo)
    {
        Candidato& c = m_c[static_cast<size_t>(indice)];
        const QString e = chaveDeIgualdade(empresa);
        if (!e.isEmpty()) {
            auto it = m_empresas.constFind(e);
            if (it == m_empresas.cend())
                it = m_empresas.insert(e, static_cast<qint32>(m_empresas.size()));
            c.empresa = *it;
        }
        if (chave.isValid() && !chave.isNull()) {
            const QString k = chave.toString();
            auto it = m_chaves.find(k);
            if (it == m_chaves.end()) {
                it = m_chaves.insert(k, static_cast<qint32>(m_textos.size()));
                m_textos.push_back(k);
                m_primeiroDaChave.push_back(-1);
            }
            c.proximoMesmaChave = m_primeiroDaChave[static_cast<size_t>(*it)];
            m_primeiroDaChave[static_cast<size_t>(*it)] = indice;
            const QString numero = semBrancosAoFim(k);
            c.proximoMesmoNumero = m_porNumero.value(numero, -1);
            m_porNumero.insert(numero, indice);
        }
        const QString par = chaveDoPar(codigo, tipo);
        if (!par.isEmpty()) {
            const auto it = m_porPar.find(par);
            c.proximoMesmoPar = it == m_porPar.end() ? -1 : *it;
            m_porPar.insert(par, indice);
        }
    }

    // Every key goes into one search; a key with wildcards is looked for by
    // its longest plain run and then checked in full.
    void Preparar()
    {
        m_destinos.clear();
        m_estampaVerificada.assign(m_textos.size(), 0);
        m_estampaAchada.assign(m_textos.size(), 0);
        QHash<QString, qint32> gatilhos;
        for (qint32 k = 0; k < static_cast<qint32>(m_textos.size()); ++k) {
            const QString& texto = m_textos[static_cast<size_t>(k)];
            if (!temCoringa(texto)) {
                if (texto.isEmpty()) {
                    m_sempre.push_back(k);
                    continue;
                }
                m_busca.Add(texto);
                m_destinos.push_back({k, -1});
                continue;
            }
            QString maior;
            QString atual;
            for (const QChar ch : texto) {
                if (ch == QLatin1Char('%') || ch == QLatin1Char('_')) {
                    if (atual.size() > maior.size())
                        maior = atual;
                    atual.clear();
                } else {
                    atual += ch;
                }
            }
            if (atual.size() > maior.size())
                maior = atual;
            if (maior.isEmpty()) {
                m_sempre.push_back(k);
                continue;
            }
            auto it = gatilhos.find(maior);
            if (it == gatilhos.end()) {
                it = gatilhos.insert(maior, static_cast<qint32>(m_listas.size()));
                m_listas.emplace_back();
                m_busca.Add(maior);
                m_destinos.push_back({-1, *it});
            }
            m_listas[static_cast<size_t>(*it)].push_back(k);
        }
        m_busca.Build();
    }

    // A row of a document table: its number and, with its company, its
    // observation.
    void Documento(const QVariant& numero, const QVariant& observacao, const QVariant& empresa)
    {
        if (numero.isValid() && !numero.isNull())
            for (qint32 i = m_porNumero.value(semBrancosAoFim(numero.toString()), -1); i >= 0;
                 i = m_c[static_cast<size_t>(i)].proximoMesmoNumero)
                m_c[static_cast<size_t>(i)].excluido = true;
        if (observacao.isNull() || !observacao.isValid())
            return;
        const QString e = chaveDeIgualdade(empresa);
        const auto it = m_empresas.constFind(e);
        if (e.isEmpty() || it == m_empresas.cend())
            return; // no candidate of that company
        const qint32 empresaDoc = *it;
        Procurar(observacao.toString(), [&](qint32 chave) {
            for (qint32 i = m_primeiroDaChave[static_cast<size_t>(chave)]; i >= 0;
                 i = m_c[static_cast<size_t>(i)].proximoMesmaChave)
                if (m_c[static_cast<size_t>(i)].empresa == empresaDoc)
                    m_c[static_cast<size_t>(i)].excluido = true;
        });
    }

    // A fiscal note: by the order's company, code and type; by its
    // observation when it is not cancelled.
    void Nota(const QVariant& empresa, const QVariant& codigo, const QVariant& tipo, const QVariant& observacao,
              bool valida)
    {
        const QString e = chaveDeIgualdade(empresa);
        const auto emp = m_empresas.constFind(e);
        if (!e.isEmpty() && emp != m_empresas.cend())
            for (qint32 i = m_porPar.value(chaveDoPar(codigo, tipo), -1); i >= 0;
                 i = m_c[static_cast<size_t>(i)].proximoMesmoPar)
                if (m_c[static_cast<size_t>(i)].empresa == *emp)
                    m_c[static_cast<size_t>(i)].excluido = true;
        if (!valida || observacao.isNull() || !observacao.isValid())
            return;
        Procurar(observacao.toString(), [&](qint32 chave) {
            for (qint32 i = m_primeiroDaChave[static_cast<size_t>(chave)]; i >= 0;
                 i = m_c[static_cast<size_t>(i)].proximoMesmaChave)
                m_c[static_cast<size_t>(i)].excluido = true;
        });
    }

    // A link between a fiscal note and an order, when the note exists.
    void Vinculo(const QVariant& codigo, const QVariant& tipo)
    {
        for (qint32 i = m_porPar.value(chaveDoPar(codigo, tipo), -1); i >= 0;
             i = m_c[static_cast<size_t>(i)].proximoMesmoPar)
            m_c[static_cast<size_t>(i)].excluido = true;
    }

private:
    struct Destino {
        qint32 chave;  // a plain key, or -1
        qint32 lista;  // the keys with wildcards behind a plain run, or -1
    };

    // Calls achou(key) once for every key whose "like" holds in `texto`.
    template <typename F>
    void Procurar(const QString& texto, F&& achou)
    {
        ++m_estampa;
        const auto uma = [&](qint32 k) {
            if (m_estampaAchada[static_cast<size_t>(k)] == m_estampa)
                return;
            m_estampaAchada[static_cast<size_t>(k)] = m_estampa;
            achou(k);
        };
        const auto conferir = [&](qint32 k) {
            if (m_estampaVerificada[static_cast<size_t>(k)] == m_estampa)
                return;
            m_estampaVerificada[static_cast<size_t>(k)] = m_estampa;
            if (contemComoLike(texto, m_textos[static_cast<size_t>(k)]))
                uma(k);
        };
        m_busca.Scan(texto, [&](int padrao) {
            const Destino& d = m_destinos[static_cast<size_t>(padrao)];
            if (d.chave >= 0)
                uma(d.chave);
            else
                for (const qint32 k : m_listas[static_cast<size_t>(d.lista)])
                    conferir(k);
        });
        for (const qint32 k : m_sempre)
            conferir(k);
    }

    std::vector<Candidato>& m_c;
    QHash<QString, qint32> m_empresas;
    QHash<QString, qint32> m_chaves;
    std::vector<QString> m_textos;
    std::vector<qint32> m_primeiroDaChave;
    QHash<QString, qint32> m_porNumero;
    QHash<QString, qint32> m_porPar;
    MultiPatternSearch m_busca;
    std::vector<Destino> m_destinos;
    std::vector<std::vector<qint32>> m_listas;
    std::vector<qint32> m_sempre;
    std::vector<quint32> m_estampaVerificada;
    std::vector<quint32> m_estampaAchada;
    quint32 m_estampa = 0;
};

QString chaveDaLinha(const QVariantList& linha)
{
    QString k;
    for (const QVariant& v : linha) {
        k += v.isNull() || !v.isValid() ? QStringLiteral("\x01") : chaveDeIgualdade(v);
        k += QChar(0x1e);
    }
    return k;
}

qint64 momento(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toMSecsSinceEpoch();
    if (v.typeId() == QMetaType::QDate)
        return QDateTime(v.toDate(), QTime(0, 0)).toMSecsSinceEpoch();
    return std::numeric_limits<qint64>::min();
}

// Nulls first, then by value.
int comparar(const QVariant& a, const QVariant& b)
{
    const bool na = a.isNull() || !a.isValid();
    const bool nb = b.isNull() || !b.isValid();
    if (na || nb)
        return na == nb ? 0 : (na ? -1 : 1);
    switch (a.typeId()) {
    case QMetaType::QString:
        return semBrancosAoFim(a.toString()).compare(semBrancosAoFim(b.toString()));
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        const qint64 x = momento(a), y = momento(b);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    default: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    }
}

FbResult acelerar(FbConnection& db, const Filtro& filtro)
{
    // The two halves' plain conditions in one pass; the "not exists" tests
    // are left out and decided below. The select list is the statement's, so
    // the columns come with its names and types.
    QString candidatos = QStringLiteral(
        "Select Pedidoc.CodEmpresa, Pedidoc.tipopedido, Pedidoc.CodPedido, Pedidoc.CodCliente, Cliente.nome,"
        " Pedidoc.datapedido, Pedidoc.datafatura, pedidoc.totalpedido,"
        " (Select CondPag.descricao From CondPag Where CondPag.CodPrazo = Pedidoc.CodPrazo) As Prazo,"
        " Pedidoc.TipoPedido || Pedidoc.CodPedido"
        " From Pedidoc"
        " Inner Join CdOperc On Pedidoc.CodOper = CdOperc.CodOper"
        " Inner Join Cliente On Pedidoc.codcliente = Cliente.CodCliente"
        " Where Pedidoc.CodPrazo <> \"000\""
        "  And (Pedidoc.faturado = \"S\" Or (Pedidoc.faturado = \"N\" And Pedidoc.statuspedido = \"09\"))"
        "  And Pedidoc.datafatura between ? And ?"
        "  And Pedidoc.totalpedido > 0"
        "  And CdOperc.gerarec = \"S\"");
    if (!filtro.tipos.isEmpty())
        candidatos += QStringLiteral(" And Pedidoc.TipoPedido In(") + filtro.tipos + QLatin1Char(')');

    constexpr int kColunas = 9;
    FbResult resultado;
    std::vector<Candidato> c;
    Exclusoes exclusoes(c);
    db.ForEachRow(
        candidatos, {filtro.inicial, filtro.final},
        [&](const std::vector<FbColumn>& colunas) {
            resultado.columns.assign(colunas.begin(), colunas.begin() + kColunas);
        },
        [&](const QVariantList& l) {
            Candidato novo;
            novo.linha = l.mid(0, kColunas);
            c.push_back(std::move(novo));
            exclusoes.Registrar(static_cast<qint32>(c.size() - 1), l[9], l[0], l[2], l[1]);
        });
    if (c.empty())
        return resultado;
    exclusoes.Preparar();

    // "NumDocOrig = chave or (OBSERVACAO like ... and CodEmpresa = empresa)".
    for (const char* tabela : {"Docurec", "docagrupados", "docurecfatura"})
        db.ForEachRow(QStringLiteral("Select NumDocOrig, OBSERVACAO, CodEmpresa From %1").arg(QLatin1String(tabela)), {},
                      nullptr, [&](const QVariantList& l) { exclusoes.Documento(l[0], l[1], l[2]); });
    // The note test by company, code and type, and by observation when
    // "cancelado <> 'S'" (a null cancelado is not different). The test
    // through nfepedi looks at the observation of linked notes under the same
    // condition, a subset of these, so only its code and type test is left.
    db.ForEachRow(QStringLiteral("Select codempresa, CodPedido, TipoPedido, OBSERVACAO,"
                                 " Case When cancelado <> \"S\" Then 1 Else 0 End From NfSaidc"),
                  {}, nullptr,
                  [&](const QVariantList& l) { exclusoes.Nota(l[0], l[1], l[2], l[3], l[4].toInt() == 1); });
    // Links count only when their note exists (an inner join in the statement).
    db.ForEachRow(QStringLiteral("Select l.CodPedido, l.tipopedido From nfepedi l Where Exists (Select 1 From NfSaidc n"
                                 " Where l.codempresa = n.codempresa And l.numnf = n.numnf And l.serie = n.serie)"),
                  {}, nullptr, [&](const QVariantList& l) { exclusoes.Vinculo(l[0], l[1]); });

    // "Union" keeps one of equal rows; "Order By 7 Desc" sorts by billing
    // date, latest first.
    QSet<QString> vistas;
    std::vector<qint32> ordem;
    for (qint32 i = 0; i < static_cast<qint32>(c.size()); ++i)
        if (!c[static_cast<size_t>(i)].excluido && !vistas.contains(chaveDaLinha(c[static_cast<size_t>(i)].linha))) {
            vistas.insert(chaveDaLinha(c[static_cast<size_t>(i)].linha));
            ordem.push_back(i);
        }
    std::vector<qint64> datas(c.size());
    for (const qint32 i : ordem)
        datas[static_cast<size_t>(i)] = momento(c[static_cast<size_t>(i)].linha[6]);
    // Rows of one date come as the database gives them after its "Union":
    // sorted by every column.
    std::sort(ordem.begin(), ordem.end(), [&](qint32 a, qint32 b) {
        if (datas[static_cast<size_t>(a)] != datas[static_cast<size_t>(b)])
            return datas[static_cast<size_t>(a)] > datas[static_cast<size_t>(b)];
        const QVariantList& la = c[static_cast<size_t>(a)].linha;
        const QVariantList& lb = c[static_cast<size_t>(b)].linha;
        for (int i = 0; i < kColunas; ++i)
            if (const int d = comparar(la[i], lb[i]); d != 0)
                return d < 0;
        return a < b;
    });
    resultado.rows.reserve(ordem.size());
    for (const qint32 i : ordem)
        resultado.rows.push_back(std::move(c[static_cast<size_t>(i)].linha));
    return resultado;
}

} // namespace

FbResult ListagemAcelerada(FbConnection& db, const Filtro& filtro, QString* motivo)
{
    QString problema;
    try {
        problema = motivoParaNaoAcelerar(lerColunas(db));
        if (problema.isEmpty())
            return acelerar(db, filtro);
    } catch (const QueryCancelled&) {
        throw;
    } catch (const DatabaseError& e) {
        // The statement then fails with its own message, or gives its rows.
        problema = e.Message();
    }
    if (motivo)
        *motivo = problema;
    return ListagemDocumentada(db, filtro);
}

}
