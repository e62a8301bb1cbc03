// The demo database: the same options give the same data, and the data holds
// a case of every condition the listing tests.
#include "DemoDatabase.h"
#include "FbConnection.h"
#include "TempFirebird.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>

namespace {

QVariantList row(FbConnection& db, const char* sql)
{
    const FbResult r = db.Query(QString::fromUtf8(sql));
    return r.rows.empty() ? QVariantList() : r.rows.front();
}

int count(FbConnection& db, const char* where)
{
    return row(db, where).value(0).toInt();
}

}

TEST(DemoDatabase, DeterministicAndCoversEveryCase)
{
    TempFirebirdDir dir;
    DemoDatabase::Options o;
    o.orders = 400;
    DemoDatabase::Create(dir.path(QStringLiteral("a.fdb")), o);
    DemoDatabase::Create(dir.path(QStringLiteral("b.fdb")), o);

    FbConnection a, b;
    a.Attach(dir.path(QStringLiteral("a.fdb")), QStringLiteral("SYSDBA"), QString());
    b.Attach(dir.path(QStringLiteral("b.fdb")), QStringLiteral("SYSDBA"), QString());
    const char* fingerprint =
        "select count(*), sum(totalpedido), max(datafatura), sum(CodCliente * TipoPedido),"
        " (select count(*) || ':' || max(NumDocOrig) || max(OBSERVACAO) from Docurec),"
        " (select count(*) || ':' || sum(numnf) || max(OBSERVACAO) from NfSaidc),"
        " (select max(nome) from Cliente) from Pedidoc";
    EXPECT_EQ(row(a, fingerprint), row(b, fingerprint));

    struct Caso { const char* what; const char* sql; };
    const Caso casos[] = {
        {"type 51", "select count(*) from Pedidoc where TipoPedido = 51"},
        {"type 55", "select count(*) from Pedidoc where TipoPedido = 55"},
        {"type 56", "select count(*) from Pedidoc where TipoPedido = 56"},
        {"billed", "select count(*) from Pedidoc where faturado = \"S\""},
        {"unbilled 09", "select count(*) from Pedidoc where faturado = \"N\" and statuspedido = \"09\""},
        {"unbilled other", "select count(*) from Pedidoc where faturado = \"N\" and statuspedido <> \"09\""},
        {"term 000", "select count(*) from Pedidoc where CodPrazo = \"000\""},
        {"operation without receivable",
         "select count(*) from Pedidoc p join CdOperc o on o.CodOper = p.CodOper where o.gerarec <> \"S\""},
        {"zero total", "select count(*) from Pedidoc where totalpedido = 0"},
        {"before 2013", "select count(*) from Pedidoc where datafatura < \"01-JAN-2013\""},
        {"accented names", "select count(*) from Cliente where nome containing \"ç\" or nome containing \"ã\""},
        {"Docurec by number elsewhere",
         "select count(*) from Docurec d join Pedidoc p on d.NumDocOrig = p.TipoPedido || p.CodPedido"
         " where d.CodEmpresa <> p.CodEmpresa"},
        {"Docurec text same company",
         "select count(*) from Docurec d join Pedidoc p on d.OBSERVACAO like \"%\" || p.TipoPedido || p.CodPedido || \"%\""
         " where d.CodEmpresa = p.CodEmpresa"},
        {"Docurec text other company",
         "select count(*) from Docurec d join Pedidoc p on d.OBSERVACAO like \"%\" || p.TipoPedido || p.CodPedido || \"%\""
         " where d.CodEmpresa <> p.CodEmpresa"},
        {"docagrupados", "select count(*) from docagrupados"},
        {"docurecfatura", "select count(*) from docurecfatura"},
        {"link to cancelled note",
         "select count(*) from nfepedi l join NfSaidc n on n.codempresa = l.codempresa and n.numnf = l.numnf"
         " and n.serie = l.serie where n.cancelado = \"S\""},
        {"link to valid note",
         "select count(*) from nfepedi l join NfSaidc n on n.codempresa = l.codempresa and n.numnf = l.numnf"
         " and n.serie = l.serie where n.cancelado <> \"S\""},
        {"note by order, cancelled", "select count(*) from NfSaidc where CodPedido is not null and cancelado = \"S\""},
        {"note by order", "select count(*) from NfSaidc where CodPedido is not null and cancelado <> \"S\""},
        {"note text, cancelled", "select count(*) from NfSaidc where OBSERVACAO like \"%pedido%\" and cancelado = \"S\""},
        {"note text", "select count(*) from NfSaidc where OBSERVACAO like \"%pedido%\" and cancelado <> \"S\""},
        {"configuration rows", "select count(*) from RelatorP, RlPadrao"},
    };
    for (const Caso& c : casos)
        EXPECT_GT(count(a, c.sql), 0) << c.what;
}

// The generator refuses an order count that would run for hours, naming the
// maximum, and makes no file.
TEST(DemoDatabase, TooManyOrdersGetTheUsageMessage)
{
    const QString program = qEnvironmentVariable("BRP_BINARY_DIR") + QStringLiteral("/db/pedidos-demo-db");
    if (!QFileInfo(program).isExecutable())
        GTEST_SKIP() << "pedidos-demo-db is not built";
    TempFirebirdDir dir;
    const QString path = dir.path(QStringLiteral("big.fdb"));
    for (const char* orders : {"10000001", "0", "99999999999"}) {
        SCOPED_TRACE(orders);
        QProcess p;
        p.start(program, {path, QStringLiteral("--orders"), QString::fromLatin1(orders)});
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 2);
        EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("1 to 10000000")));
        EXPECT_FALSE(QFileInfo::exists(path));
    }
}
