#include "DemoDatabase.h"

#include "FbConnection.h"

#include <QDate>
#include <QFile>
#include <QVariantList>
#include <array>
#include <cstdint>

namespace DemoDatabase {

QStringList SchemaStatements()
{
    return {
        QStringLiteral("CREATE TABLE Cliente (CodCliente INTEGER NOT NULL PRIMARY KEY, nome VARCHAR(60) NOT NULL,"
                       " cidade VARCHAR(40), uf CHAR(2))"),
        QStringLiteral("CREATE TABLE CondPag (CodPrazo VARCHAR(3) NOT NULL PRIMARY KEY, descricao VARCHAR(40) NOT NULL)"),
        QStringLiteral("CREATE TABLE CdOperc (CodOper INTEGER NOT NULL PRIMARY KEY, descricao VARCHAR(40) NOT NULL,"
                       " gerarec CHAR(1) NOT NULL)"),
        QStringLiteral("CREATE TABLE Pedidoc (CodEmpresa INTEGER NOT NULL, TipoPedido INTEGER NOT NULL,"
                       " CodPedido INTEGER NOT NULL, CodCliente INTEGER NOT NULL, datapedido DATE NOT NULL,"
                       " datafatura DATE, totalpedido NUMERIC(15,2) NOT NULL, CodPrazo VARCHAR(3) NOT NULL,"
                       " CodOper INTEGER NOT NULL, faturado CHAR(1) NOT NULL, statuspedido CHAR(2) NOT NULL,"
                       " PRIMARY KEY (CodEmpresa, TipoPedido, CodPedido))"),
        QStringLiteral("CREATE TABLE Docurec (CodDocto INTEGER NOT NULL PRIMARY KEY, CodEmpresa INTEGER NOT NULL,"
                       " NumDocOrig VARCHAR(20), OBSERVACAO VARCHAR(200), valor NUMERIC(15,2), vencimento DATE)"),
        QStringLiteral("CREATE TABLE docagrupados (CodDocto INTEGER NOT NULL PRIMARY KEY, codempresa INTEGER NOT NULL,"
                       " numdocorig VARCHAR(20), OBSERVACAO VARCHAR(200), valor NUMERIC(15,2))"),
        QStringLiteral("CREATE TABLE docurecfatura (CodDocto INTEGER NOT NULL PRIMARY KEY, codempresa INTEGER NOT NULL,"
                       " numdocorig VARCHAR(20), OBSERVACAO VARCHAR(200), valor NUMERIC(15,2))"),
        QStringLiteral("CREATE TABLE NfSaidc (codempresa INTEGER NOT NULL, numnf INTEGER NOT NULL, serie VARCHAR(3) NOT NULL,"
                       " CodPedido INTEGER, TipoPedido INTEGER, OBSERVACAO VARCHAR(200), cancelado CHAR(1) NOT NULL,"
                       " dataemissao DATE, valor NUMERIC(15,2), PRIMARY KEY (codempresa, numnf, serie))"),
        QStringLiteral("CREATE TABLE nfepedi (codempresa INTEGER NOT NULL, numnf INTEGER NOT NULL, serie VARCHAR(3) NOT NULL,"
                       " CodPedido INTEGER NOT NULL, tipopedido INTEGER NOT NULL,"
                       " PRIMARY KEY (codempresa, numnf, serie, CodPedido, tipopedido))"),
        QStringLiteral("CREATE TABLE RelatorP (Sistema VARCHAR(20) NOT NULL, OpcaoMenu VARCHAR(40) NOT NULL,"
                       " ConfigLocal VARCHAR(20) NOT NULL, Impressora VARCHAR(60), Copias INTEGER,"
                       " PRIMARY KEY (Sistema, OpcaoMenu, ConfigLocal))"),
        QStringLiteral("CREATE TABLE RlPadrao (CodRelatorio INTEGER NOT NULL PRIMARY KEY, descricao VARCHAR(60),"
                       " Impressora VARCHAR(60), Copias INTEGER)"),
    };
}

QStringList IndexStatements()
{
    // The period bound on orders. Each receivable table is probed with
    // "number = X or (text like ... and company = Y)": with an index on each
    // side of the "or" the engine merges two index lookups instead of reading
    // the table for every order. The two fiscal-note probes pair the order's
    // keys with "cancelado <> ..." on the other side of their "or", which no
    // index serves, so indexes there would not be used by this statement.
    return {
        QStringLiteral("CREATE INDEX IX_PEDIDOC_DATAFATURA ON Pedidoc (datafatura)"),
        QStringLiteral("CREATE INDEX IX_DOCUREC_NUMDOCORIG ON Docurec (NumDocOrig)"),
        QStringLiteral("CREATE INDEX IX_DOCUREC_CODEMPRESA ON Docurec (CodEmpresa)"),
        QStringLiteral("CREATE INDEX IX_DOCAGRUPADOS_NUMDOCORIG ON docagrupados (numdocorig)"),
        QStringLiteral("CREATE INDEX IX_DOCAGRUPADOS_CODEMPRESA ON docagrupados (codempresa)"),
        QStringLiteral("CREATE INDEX IX_DOCURECFATURA_NUMDOCORIG ON docurecfatura (numdocorig)"),
        QStringLiteral("CREATE INDEX IX_DOCURECFATURA_CODEMPRESA ON docurecfatura (codempresa)"),
    };
}

void CreateSchema(FbConnection& db)
{
    for (const QString& s : SchemaStatements())
        db.Execute(s);
}

void CreateIndexes(FbConnection& db)
{
    for (const QString& s : IndexStatements())
        db.Execute(s);
}

namespace {

// A small, fixed pseudo-random sequence: the same options give the same data
// on every machine.
class Rng {
public:
    explicit Rng(unsigned seed) : m_state(seed * 2654435761u + 1) {}
    uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<uint32_t>(m_state >> 11);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }

private:
    uint64_t m_state;
};

const std::array<const char*, 16> kFirst = {
    "João", "José", "Antônio", "Maria", "Conceição", "Sebastião", "Luís", "Inês",
    "Márcia", "André", "Cecília", "Fábio", "Lúcia", "Célia", "Tânia", "Vinícius"};
const std::array<const char*, 16> kLast = {
    "Gonçalves", "Araújo", "Simões", "Magalhães", "Brandão", "Conceição", "Falcão", "Assunção",
    "Guimarães", "Sá", "Fontes", "Peçanha", "Lopes", "Damião", "Romão", "Estêvão"};
const std::array<const char*, 6> kSuffix = {"", " Ltda.", " & Cia.", " ME", " Comércio", " Distribuição"};
const std::array<const char*, 6> kCity = {"São Paulo", "Ribeirão Preto", "Maringá", "Florianópolis",
                                          "Goiânia", "Belém"};
const std::array<const char*, 6> kUf = {"SP", "SP", "PR", "SC", "GO", "PA"};

QString docNumber(int tipo, int codigo)
{
    return QString::number(tipo) + QString::number(codigo);
}

} // namespace

void Generate(FbConnection& db, const Options& o)
{
    Rng rng(o.seed);
    const int orders = qBound(1, o.orders, MaxOrders);
    const int clients = qMax(20, orders / 25);
    const int companies = 3;
    const std::array<int, 3> kTypes = {51, 55, 56};

    db.BeginBatch();
    try {
        for (int c = 1; c <= clients; ++c) {
            const QString nome = QString::fromUtf8(kFirst[static_cast<size_t>(rng.Below(16))]) + QLatin1Char(' ')
                + QString::fromUtf8(kLast[static_cast<size_t>(rng.Below(16))])
                + QString::fromUtf8(kSuffix[static_cast<size_t>(rng.Below(6))]);
            const int city = rng.Below(6);
            db.Execute(QStringLiteral("INSERT INTO Cliente (CodCliente, nome, cidade, uf) VALUES (?, ?, ?, ?)"),
                       {c, nome, QString::fromUtf8(kCity[static_cast<size_t>(city)]),
                        QString::fromUtf8(kUf[static_cast<size_t>(city)])});
        }
        const QList<QPair<QString, QString>> prazos = {
            {QStringLiteral("000"), QStringLiteral("À vista")},
            {QStringLiteral("001"), QStringLiteral("30 dias")},
            {QStringLiteral("002"), QStringLiteral("30/60 dias")},
            {QStringLiteral("003"), QStringLiteral("30/60/90 dias")},
            {QStringLiteral("004"), QStringLiteral("28 dias - boleto bancário")},
        };
        for (const auto& p : prazos)
            db.Execute(QStringLiteral("INSERT INTO CondPag (CodPrazo, descricao) VALUES (?, ?)"), {p.first, p.second});
        const QList<std::tuple<int, QString, QString>> opers = {
            {1, QStringLiteral("Venda de mercadoria"), QStringLiteral("S")},
            {2, QStringLiteral("Venda a prazo"), QStringLiteral("S")},
            {3, QStringLiteral("Remessa para conserto"), QStringLiteral("N")},
            {4, QStringLiteral("Bonificação"), QStringLiteral("N")},
            {5, QStringLiteral("Devolução de compra"), QStringLiteral("N")},
        };
        for (const auto& [cod, desc, gera] : opers)
            db.Execute(QStringLiteral("INSERT INTO CdOperc (CodOper, descricao, gerarec) VALUES (?, ?, ?)"),
                       {cod, desc, gera});

        int docurec = 0, agrup = 0, fatura = 0, numnf = 0;
        const QDate first(2011, 1, 3);
        const int span = static_cast<int>(first.daysTo(QDate(2026, 6, 30)));
        for (int i = 1; i <= orders; ++i) {
            const int empresa = 1 + rng.Below(companies);
            const int tipo = kTypes[static_cast<size_t>(rng.Below(3))];
            const int codigo = 1000 + i;
            const QDate dataPedido = first.addDays(rng.Below(span));
            const QDate dataFatura = dataPedido.addDays(rng.Below(6));
            const bool faturado = rng.Chance(80);
            const QString status = faturado ? QStringLiteral("10")
                                            : (rng.Chance(50) ? QStringLiteral("09") : QStringLiteral("05"));
            const QString prazo = rng.Chance(15) ? QStringLiteral("000") : prazos[1 + rng.Below(4)].first;
            const int oper = rng.Chance(80) ? 1 + rng.Below(2) : 3 + rng.Below(3);
            const double total = rng.Chance(3) ? 0.0 : (1000 + rng.Below(5000000)) / 100.0;
            db.Execute(QStringLiteral("INSERT INTO Pedidoc (CodEmpresa, TipoPedido, CodPedido, CodCliente, datapedido,"
                                      " datafatura, totalpedido, CodPrazo, CodOper, faturado, statuspedido)"
                                      " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {empresa, tipo, codigo, 1 + rng.Below(clients), dataPedido, dataFatura, total, prazo, oper,
                        faturado ? QStringLiteral("S") : QStringLiteral("N"), status});

            const QString doc = docNumber(tipo, codigo);
            const int other = 1 + (empresa % companies);
            const double valor = total;
            // What became of the order: most got their receivable one way or
            // another; some did not (the listing's rows); some look as if they
            // did but do not count (other company, cancelled note).
            const int fate = rng.Below(100);
            auto insertDoc = [&](const char* table, int& counter, int comp, const QVariant& numDoc,
                                 const QString& obs) {
                db.Execute(QStringLiteral("INSERT INTO %1 (CodDocto, CodEmpresa, NumDocOrig, OBSERVACAO, valor)"
                                          " VALUES (?, ?, ?, ?, ?)").arg(QLatin1String(table)),
                           {++counter, comp, numDoc, obs, valor});
            };
            auto insertNote = [&](int comp, const QVariant& pedido, const QVariant& tipoPed, const QString& obs,
                                  bool cancelado) {
                ++numnf;
                db.Execute(QStringLiteral("INSERT INTO NfSaidc (codempresa, numnf, serie, CodPedido, TipoPedido,"
                                          " OBSERVACAO, cancelado, dataemissao, valor) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                           {comp, numnf, QStringLiteral("1"), pedido, tipoPed, obs,
                            cancelado ? QStringLiteral("S") : QStringLiteral("N"), dataFatura, valor});
                return numnf;
            };
            if (fate < 40) {
                // Receivable by document number, often booked in another branch.
                insertDoc("Docurec", docurec, rng.Chance(30) ? other : empresa, doc,
                          QStringLiteral("Título gerado automaticamente"));
            } else if (fate < 47) {
                insertDoc("Docurec", docurec, empresa, QVariant(),
                          QStringLiteral("Ref. pedido %1 - negociação com cliente").arg(doc));
            } else if (fate < 49) {
                // Mentioned in another branch's document: does not count.
                insertDoc("Docurec", docurec, other, QVariant(), QStringLiteral("Conferir pedido %1 da filial").arg(doc));
            } else if (fate < 55) {
                if (rng.Chance(50))
                    insertDoc("docagrupados", agrup, other, doc, QStringLiteral("Agrupamento de títulos"));
                else
                    insertDoc("docagrupados", agrup, empresa, QVariant(), QStringLiteral("Agrupado: %1").arg(doc));
            } else if (fate < 61) {
                if (rng.Chance(50))
                    insertDoc("docurecfatura", fatura, empresa, doc, QStringLiteral("Fatura mensal"));
                else
                    insertDoc("docurecfatura", fatura, empresa, QVariant(), QStringLiteral("Fatura ref. %1").arg(doc));
            } else if (fate < 68) {
                // Invoice linked to the order; cancelled or not, it counts.
                const int nf = insertNote(empresa, QVariant(), QVariant(), QStringLiteral("Nota fiscal eletrônica"),
                                          rng.Chance(25));
                db.Execute(QStringLiteral("INSERT INTO nfepedi (codempresa, numnf, serie, CodPedido, tipopedido)"
                                          " VALUES (?, ?, ?, ?, ?)"),
                           {empresa, nf, QStringLiteral("1"), codigo, tipo});
            } else if (fate < 74) {
                // Note that names the order; a cancelled one does not count.
                insertNote(empresa, codigo, tipo, QStringLiteral("Emitida para o pedido"), rng.Chance(20));
            } else if (fate < 78) {
                insertNote(rng.Chance(50) ? empresa : other, QVariant(), QVariant(),
                           QStringLiteral("Referente ao pedido %1").arg(doc), false);
            } else if (fate < 81) {
                insertNote(empresa, QVariant(), QVariant(), QStringLiteral("Cancelada - pedido %1").arg(doc), true);
            }
            // else: nothing at all, a pending order.
        }
        db.Execute(QStringLiteral("INSERT INTO RelatorP (Sistema, OpcaoMenu, ConfigLocal, Impressora, Copias)"
                                  " VALUES (?, ?, ?, ?, ?)"),
                   {QStringLiteral("FATURAMENTO"), QStringLiteral("Pedidos sem contas a receber"),
                    QStringLiteral("PADRAO"), QStringLiteral("Padrão do sistema"), 1});
        db.Execute(QStringLiteral("INSERT INTO RlPadrao (CodRelatorio, descricao, Impressora, Copias) VALUES (?, ?, ?, ?)"),
                   {1, QStringLiteral("Listagem de pedidos"), QStringLiteral("Padrão do sistema"), 1});
        db.CommitBatch();
    } catch (...) {
        db.RollbackBatch();
        throw;
    }
}

void Create(const QString& path, const Options& options)
{
    FbConnection db;
    db.Create(path, QStringLiteral("SYSDBA"), QString(), 8192, options.forcedWrites);
    try {
        CreateSchema(db);
        Generate(db, options);
        if (options.indexes)
            CreateIndexes(db);
        db.Detach();
    } catch (...) {
        // A half-made file would stop the next attempt ("already exists").
        try { db.Detach(); } catch (...) {}
        QFile::remove(path);
        throw;
    }
}

}
