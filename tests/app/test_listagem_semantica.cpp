// What the accelerated listing relies on, confirmed on the engine itself (a
// dialect 1 database in WIN1252 with its default collation), and a collation
// of another kind sending it back to the documented statement.
#include "ConsultaPedidos.h"
#include "ConsultaPedidosAcelerada.h"
#include "ConsultaPedidosCsv.h"
#include "FbConnection.h"
#include "MultiPatternSearch.h"
#include "TempFirebird.h"

#include <gtest/gtest.h>

#include <QFile>

TEST(ListagemSemantica, EngineComparesAsTheFastPathAssumes)
{
    TempFirebirdDir dir;
    const QString arquivo = dir.path(QStringLiteral("semantica.fdb"));
    FbConnection db;
    db.Create(arquivo, QStringLiteral("SYSDBA"), QString(), 8192, false);
    db.Execute(QStringLiteral("CREATE TABLE T (V VARCHAR(20), C CHAR(8), I INTEGER, N NUMERIC(9,2))"));
    db.Execute(QStringLiteral("INSERT INTO T VALUES ('abc', '51123', 51, 1.5)"));
    struct Caso {
        const char* condicao;
        bool verdadeira;
    };
    const Caso casos[] = {
        {"V = 'abc'", true},
        {"V = 'ABC'", false},                 // letter case counts for "="
        {"V LIKE '%AB%'", false},             // and for "like"
        {"V = 'abc   '", true},               // "=" ignores trailing blanks
        {"V LIKE 'abc '", false},             // "like" does not
        {"C = '51123'", true},
        {"C LIKE '%51123'", false},           // a fixed-length text keeps its padding
        {"C LIKE '%51123   %'", true},
        {"' abc' = 'abc'", false},            // leading blanks count
        {"'x51a1' LIKE '%' || '51_1' || '%'", true}, // "_" in the key is a wildcard
        {"'x5199' LIKE '%' || '5%9' || '%'", true},  // and so is "%"
        {"I || C = '5151123   '", true},      // the key: number as text, padding kept
        {"N || I = '1.5051'", true},          // a scaled number keeps its decimals
        {"NULL <> 'S'", false},               // a null "cancelado" is not different
        {"'s' <> 'S'", true},
        {"'S ' <> 'S'", false},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.condicao);
        const FbResult r = db.Query(
            QStringLiteral("SELECT CASE WHEN %1 THEN 1 ELSE 0 END FROM T").arg(QLatin1String(c.condicao)));
        ASSERT_EQ(r.rows.size(), 1u);
        EXPECT_EQ(r.rows[0][0].toInt() == 1, c.verdadeira);
    }
    db.Detach();
    QFile::remove(arquivo);
}

TEST(ListagemSemantica, MultiPatternSearchFindsOverlappingKeys)
{
    MultiPatternSearch busca;
    const QStringList padroes{QStringLiteral("51123"), QStringLiteral("1123"), QStringLiteral("5151"),
                              QStringLiteral("23"), QStringLiteral("Á1")};
    for (const QString& p : padroes)
        busca.Add(p);
    busca.Build();
    struct Caso {
        QString texto;
        QList<int> achados; // pattern numbers in the order their ends are met
    };
    const Caso casos[] = {
        {QStringLiteral("x5151123y"), {2, 0, 1, 3}},
        {QStringLiteral("51123/51123"), {0, 1, 3, 0, 1, 3}},
        {QStringLiteral("5112"), {}},
        {QStringLiteral("ÁÁ1"), {4}},
        {QString(), {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto.toStdString());
        QList<int> achados;
        busca.Scan(c.texto, [&](int p) { achados << p; });
        // Patterns ending at the same place come longest first.
        EXPECT_EQ(achados, c.achados);
    }
}

TEST(ListagemSemantica, ACollationOfItsOwnGetsTheDocumentedStatement)
{
    TempFirebirdDir dir;
    const QString arquivo = dir.path(QStringLiteral("colacao.fdb"));
    FbConnection db;
    db.Create(arquivo, QStringLiteral("SYSDBA"), QString(), 8192, false);
    for (const char* s : {
             "CREATE TABLE Cliente (CodCliente INTEGER, nome VARCHAR(30))",
             "CREATE TABLE CondPag (CodPrazo VARCHAR(3), descricao VARCHAR(20))",
             "CREATE TABLE CdOperc (CodOper INTEGER, gerarec CHAR(1))",
             "CREATE TABLE Pedidoc (CodEmpresa INTEGER, TipoPedido VARCHAR(3), CodPedido VARCHAR(6), CodCliente INTEGER,"
             " datapedido DATE, datafatura DATE, totalpedido NUMERIC(15,2), CodPrazo VARCHAR(3), CodOper INTEGER,"
             " faturado CHAR(1), statuspedido CHAR(2))",
             // Case-insensitive: "like" finds "51a" in "51A".
             "CREATE TABLE Docurec (CodDocto INTEGER, CodEmpresa INTEGER, NumDocOrig VARCHAR(20),"
             " OBSERVACAO VARCHAR(80) COLLATE WIN_PTBR)",
             "CREATE TABLE docagrupados (CodDocto INTEGER, codempresa INTEGER, numdocorig VARCHAR(20), OBSERVACAO VARCHAR(80))",
             "CREATE TABLE docurecfatura (CodDocto INTEGER, codempresa INTEGER, numdocorig VARCHAR(20), OBSERVACAO VARCHAR(80))",
             "CREATE TABLE NfSaidc (codempresa INTEGER, numnf INTEGER, serie VARCHAR(3), CodPedido VARCHAR(6),"
             " TipoPedido VARCHAR(3), OBSERVACAO VARCHAR(80), cancelado CHAR(1))",
             "CREATE TABLE nfepedi (codempresa INTEGER, numnf INTEGER, serie VARCHAR(3), CodPedido VARCHAR(6),"
             " tipopedido VARCHAR(3))",
             "INSERT INTO Cliente VALUES (1, 'Ana')",
             "INSERT INTO CondPag VALUES ('001', '30 dias')",
             "INSERT INTO CdOperc VALUES (1, 'S')",
             "INSERT INTO Pedidoc VALUES (1, '51', 'a', 1, '2020-01-02', '2020-01-03', 10, '001', 1, 'S', '10')",
             "INSERT INTO Pedidoc VALUES (1, '51', 'b', 1, '2020-01-02', '2020-01-03', 20, '001', 1, 'S', '10')",
             "INSERT INTO Docurec VALUES (1, 1, NULL, 'pedido 51A')",
         })
        db.Execute(QString::fromLatin1(s));
    const ConsultaPedidos::Filtro filtro{QDate(2013, 1, 1), QDate(2999, 1, 1), QString()};
    QString motivo;
    const FbResult acelerada = ConsultaPedidos::ListagemAcelerada(db, filtro, &motivo);
    EXPECT_TRUE(motivo.contains(QStringLiteral("DOCUREC.OBSERVACAO"))) << motivo.toStdString();
    ASSERT_EQ(acelerada.rows.size(), 1u);
    EXPECT_EQ(acelerada.rows[0][2].toString(), QStringLiteral("b"));
    EXPECT_TRUE(ConsultaPedidos::DiferencasEntre(ConsultaPedidos::ListagemDocumentada(db, filtro), acelerada).isEmpty());
    db.Detach();
    QFile::remove(arquivo);
}

TEST(ListagemSemantica, CsvLinesAndDifferences)
{
    const QVariantList linha{1, 51, 1234, 7, QStringLiteral("Sá, \"Irmãos\""), QDate(2020, 1, 2),
                             QDateTime(QDate(2020, 1, 3), QTime(0, 0)), 1234.5, QVariant()};
    EXPECT_EQ(ConsultaPedidos::LinhaCsv(linha),
              QStringLiteral("1,51,1234,7,\"Sá, \"\"Irmãos\"\"\",2020-01-02,2020-01-03,1234.500,"));

    const auto row = [](int codigo, int dia) {
        return QVariantList{1, 51, codigo, 7, QStringLiteral("Ana"), QDate(2020, 1, dia), QDate(2020, 1, dia), 1.0,
                            QStringLiteral("30 dias")};
    };
    FbResult a, b;
    a.rows = {row(1, 5), row(2, 5), row(3, 4)};
    b.rows = {row(2, 5), row(1, 5), row(3, 4)}; // same date, other order: the same
    EXPECT_TRUE(ConsultaPedidos::DiferencasEntre(a, b).isEmpty());
    b.rows = {row(2, 5), row(4, 4)};
    EXPECT_EQ(ConsultaPedidos::DiferencasEntre(a, b),
              (QStringList{QStringLiteral("< 1,51,1,7,Ana,2020-01-05,2020-01-05,1.000,30 dias"),
                           QStringLiteral("< 1,51,3,7,Ana,2020-01-04,2020-01-04,1.000,30 dias"),
                           QStringLiteral("> 1,51,4,7,Ana,2020-01-04,2020-01-04,1.000,30 dias")}));
    b.rows = {row(3, 4), row(1, 5), row(2, 5)}; // dates must not go up
    EXPECT_EQ(ConsultaPedidos::DiferencasEntre(a, b).first(),
              QStringLiteral("> out of order: 1,51,1,7,Ana,2020-01-05,2020-01-05,1.000,30 dias"));
}
