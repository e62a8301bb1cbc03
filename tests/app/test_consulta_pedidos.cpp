// The listing statement: its text as built for each choice of order types,
// and the rows it gives on a small database made for each exclusion rule.
#include "ConsultaPedidos.h"
#include "DemoDatabase.h"
#include "FbConnection.h"
#include "StatementText.h"
#include "TParams.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"
#include "TempFirebird.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <memory>
#include <set>

namespace {

// One half of the statement as the database must receive it, one token group
// per line. The halves differ in their billing condition and in the letter
// case of two names; @TIPOS@ stands for each half's type condition.
const char* const kMetade = R"SQL(Select Pedidoc.CodEmpresa,
       Pedidoc.tipopedido,
       Pedidoc.CodPedido,
       Pedidoc.CodCliente,
       Cliente.nome,
       Pedidoc.datapedido,
       Pedidoc.datafatura,
       pedidoc.totalpedido,
       (Select CondPag.descricao From CondPag Where CondPag.CodPrazo = Pedidoc.CodPrazo) As Prazo
From Pedidoc
Inner Join CdOperc On Pedidoc.CodOper = CdOperc.CodOper
Inner Join Cliente On Pedidoc.codcliente = Cliente.CodCliente
Where Pedidoc.CodPrazo <> "000"
@FATURAMENTO@  And Pedidoc.datafatura between :DataInicial And :DataFinal
  And Pedidoc.totalpedido > 0
  And CdOperc.gerarec = "S"
  And Not Exists (Select Docurec.CodDocto From Docurec
                  Where NumDocOrig = Pedidoc.TipoPedido || Pedidoc.CodPedido
                  or (DOCUREC.OBSERVACAO LIKE "%" || Pedidoc.TipoPedido
                    || Pedidoc.CodPedido || "%")
                    And Docurec.CodEmpresa = Pedidoc.CodEmpresa)
  And Not Exists (Select docagrupados.CodDocto From docagrupados
                  Where DocAgrupados.numdocorig = Pedidoc.TipoPedido || Pedidoc.CodPedido
                  or (@AGRUPADOS@.OBSERVACAO LIKE "%" || Pedidoc.TipoPedido
                    || Pedidoc.CodPedido || "%")
                    And docagrupados.codempresa = Pedidoc.CodEmpresa)
  And Not Exists (Select docurecfatura.CodDocto From docurecfatura
                  Where docurecfatura.numdocorig = Pedidoc.TipoPedido || Pedidoc.CodPedido
                  or (docurecfatura.OBSERVACAO LIKE "%" || Pedidoc.TipoPedido
                    || Pedidoc.CodPedido || "%")
                    And docurecfatura.codempresa = Pedidoc.CodEmpresa)
  And Not Exists (Select NfEPedi.CodPedido From nfepedi
                  Inner Join NfSaidc On NfEpedi.codempresa = NFSaidc.codempresa
                                    And NfEPedi.numnf = NfSaidc.numnf
                                    And NfEPedi.serie = NfSaidc.serie
                  Where NfEPedi.codpedido = Pedidoc.codpedido
                    And NfEPedi.tipopedido = Pedidoc.tipopedido
                  or (@NFSAIDC@.OBSERVACAO LIKE "%" || Pedidoc.TipoPedido
                    || Pedidoc.CodPedido || "%")
                    And NfSaidc.cancelado <> "S")
  And Not Exists (Select NFS.numnf From NfSaidc NFS
                  Where NFS.codempresa = Pedidoc.codempresa
                    And NFS.CodPedido = Pedidoc.CodPedido
                    And NFS.TipoPedido = pedidoc.TipoPedido
                  or (NFS.OBSERVACAO LIKE "%" || Pedidoc.TipoPedido
                    || Pedidoc.CodPedido || "%")
                    And NfS.cancelado <> "S")
@TIPOS@
)SQL";

QString metade(const QString& faturamento, const QString& agrupados, const QString& nfSaidc, const QString& tipos)
{
    return QString::fromUtf8(kMetade)
        .replace(QStringLiteral("@FATURAMENTO@"), faturamento)
        .replace(QStringLiteral("@AGRUPADOS@"), agrupados)
        .replace(QStringLiteral("@NFSAIDC@"), nfSaidc)
        .replace(QStringLiteral("@TIPOS@"), tipos);
}

QStringList tokens(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QString esperada(const QString& tipos)
{
    const QString condicao = tipos.isEmpty() ? QString() : QStringLiteral(" And Pedidoc.TipoPedido In(%1)").arg(tipos);
    return metade(QStringLiteral("  And Pedidoc.faturado = \"S\"\n"), QStringLiteral("docagrupados"),
                  QStringLiteral("NFSaidc"), condicao)
         + QStringLiteral(" Union\n")
         + metade(QStringLiteral("  And Pedidoc.faturado = \"N\"\n  And Pedidoc.statuspedido = \"09\"\n"),
                  QStringLiteral("DocAgrupados"), QStringLiteral("NfSaidc"), tipos.isEmpty() ? QString() : condicao + u' ')
         + QStringLiteral("  Order By 7 Desc");
}

} // namespace

TEST(ConsultaPedidosTexto, SameTokensAndLayoutForEachTypeChoice)
{
    struct Caso { QString tipos; int linhas; };
    const Caso casos[] = {{QString(), 3}, {QStringLiteral("55"), 5}, {QStringLiteral("51,55,56"), 5}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.tipos.toStdString());
        StatementText sql;
        ConsultaPedidos::MontarInstrucao(sql, c.tipos);
        EXPECT_EQ(tokens(sql.Text()), tokens(esperada(c.tipos)));
        ASSERT_EQ(sql.Count(), c.linhas);
        // The first half is one line of pieces padded to 99 characters, each
        // ending in a blank so no two tokens run together; its last piece is
        // not padded.
        const QString primeira = sql.Strings(0);
        EXPECT_FALSE(primeira.contains(QLatin1Char('\n')));
        const qsizetype pecas = (primeira.size() + 98) / 99;
        for (qsizetype p = 0; p + 1 < pecas; ++p)
            EXPECT_EQ(primeira.at(p * 99 + 98), QLatin1Char(' ')) << "piece " << p;
        EXPECT_NE(primeira.back(), QLatin1Char(' '));
        EXPECT_TRUE(primeira.endsWith(QStringLiteral("And NfS.cancelado <> \"S\")")));
        // The union part: fifty pieces of 99 characters, the last one padded too.
        const QString uniao = sql.Strings(c.tipos.isEmpty() ? 1 : 2);
        EXPECT_EQ(uniao.size(), 50 * 99);
        for (int p = 0; p < 50; ++p)
            EXPECT_EQ(uniao.at(p * 99 + 98), QLatin1Char(' ')) << "piece " << p;
        EXPECT_TRUE(uniao.startsWith(QStringLiteral(" Union ")));
        if (!c.tipos.isEmpty()) {
            EXPECT_EQ(sql.Strings(1), QStringLiteral(" And Pedidoc.TipoPedido In(") + c.tipos + QStringLiteral(")"));
            EXPECT_EQ(sql.Strings(3), QStringLiteral(" And Pedidoc.TipoPedido In(") + c.tipos + QStringLiteral(") "));
        }
        EXPECT_EQ(sql.Strings(sql.Count() - 1), QStringLiteral("  Order By 7 Desc  "));
    }
}

TEST(ConsultaPedidosTexto, SecondRunReplacesTheWholeStatement)
{
    StatementText unica;
    ConsultaPedidos::MontarInstrucao(unica, QStringLiteral("51,56"));
    StatementText duas;
    ConsultaPedidos::MontarInstrucao(duas, QStringLiteral("55"));
    ConsultaPedidos::MontarInstrucao(duas, QStringLiteral("51,56"));
    EXPECT_EQ(duas.Lines(), unica.Lines());
    ConsultaPedidos::MontarInstrucao(duas, QString());
    StatementText semTipo;
    ConsultaPedidos::MontarInstrucao(semTipo, QString());
    EXPECT_EQ(duas.Lines(), semTipo.Lines());
}

TEST(ConsultaPedidosTexto, EachPeriodNameOccursOncePerHalf)
{
    StatementText sql;
    ConsultaPedidos::MontarInstrucao(sql, QString());
    const ParsedStatement p = TParams::Parse(sql.Text());
    EXPECT_EQ(p.occurrences, (QStringList{QStringLiteral("DataInicial"), QStringLiteral("DataFinal"),
                                          QStringLiteral("DataInicial"), QStringLiteral("DataFinal")}));
}

TEST(ConsultaPedidosPeriodo, StartNeverBeforeTheMinimum)
{
    struct Caso { const char* ini; const char* fim; QDate inicial; QDate final_; };
    const Caso casos[] = {
        {"01/01/1950", "01/01/2999", QDate(2013, 1, 1), QDate(2999, 1, 1)},
        {"31/12/2012", "15/03/2014", QDate(2013, 1, 1), QDate(2014, 3, 15)},
        {"01/01/2013", "01/01/2013", QDate(2013, 1, 1), QDate(2013, 1, 1)},
        {"02/01/2013", "10/10/2020", QDate(2013, 1, 2), QDate(2020, 10, 10)},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.ini);
        TParams params;
        params.Rebuild({QStringLiteral("DataInicial"), QStringLiteral("DataFinal")});
        ConsultaPedidos::DefinirPeriodo(params, QString::fromLatin1(c.ini), QString::fromLatin1(c.fim));
        EXPECT_EQ(params.ParamByName(QStringLiteral("DataInicial"))->AsDate(), c.inicial);
        EXPECT_EQ(params.ParamByName(QStringLiteral("DataFinal"))->AsDate(), c.final_);
        EXPECT_EQ(params.ParamByName(QStringLiteral("DataFinal"))->DataType(), TFieldType::ftDate);
    }
    TParams params;
    params.Rebuild({QStringLiteral("DataInicial"), QStringLiteral("DataFinal")});
    EXPECT_ANY_THROW(ConsultaPedidos::DefinirPeriodo(params, QStringLiteral("  /  /    "), QStringLiteral("01/01/2999")));
}

// One database for the whole suite: each rule has an order that is listed and
// a twin that the rule excludes. Codes are five digits, so no document number
// is a part of another.
class ConsultaPedidosBanco : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempFirebirdDir;
        FbConnection db;
        db.Create(dir->path(QStringLiteral("regras.fdb")), QStringLiteral("SYSDBA"), QString());
        DemoDatabase::CreateSchema(db);
        db.BeginBatch();
        auto exec = [&](const char* sql, const QVariantList& v = {}) { db.Execute(QString::fromUtf8(sql), v); };
        exec("INSERT INTO Cliente (CodCliente, nome) VALUES (1, ?)", {QStringLiteral("Conceição Araújo")});
        exec("INSERT INTO CondPag (CodPrazo, descricao) VALUES ('000', 'À vista')");
        exec("INSERT INTO CondPag (CodPrazo, descricao) VALUES ('030', '30 dias')");
        exec("INSERT INTO CdOperc (CodOper, descricao, gerarec) VALUES (1, 'Venda', 'S')");
        exec("INSERT INTO CdOperc (CodOper, descricao, gerarec) VALUES (2, 'Remessa', 'N')");
        // order(company, type, code, billing date, total, term, operation, billed, status)
        auto pedido = [&](int emp, int tipo, int cod, QDate fatura = QDate(2014, 5, 10), double total = 100.5,
                          const char* prazo = "030", int oper = 1, const char* fat = "S", const char* status = "10") {
            exec("INSERT INTO Pedidoc (CodEmpresa, TipoPedido, CodPedido, CodCliente, datapedido, datafatura,"
                 " totalpedido, CodPrazo, CodOper, faturado, statuspedido) VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?)",
                 {emp, tipo, cod, fatura, fatura, total, QString::fromLatin1(prazo), oper, QString::fromLatin1(fat),
                  QString::fromLatin1(status)});
        };
        int doc = 0;
        auto documento = [&](const char* tabela, int emp, const QVariant& numDoc, const QVariant& obs) {
            db.Execute(QStringLiteral("INSERT INTO %1 (CodDocto, CodEmpresa, NumDocOrig, OBSERVACAO) VALUES (?, ?, ?, ?)")
                           .arg(QLatin1String(tabela)),
                       {++doc, emp, numDoc, obs});
        };
        int nf = 0;
        auto nota = [&](int emp, const QVariant& cod, const QVariant& tipo, const QVariant& obs, const char* canc) {
            exec("INSERT INTO NfSaidc (codempresa, numnf, serie, CodPedido, TipoPedido, OBSERVACAO, cancelado)"
                 " VALUES (?, ?, '1', ?, ?, ?, ?)", {emp, ++nf, cod, tipo, obs, QString::fromLatin1(canc)});
            return nf;
        };
        auto vinculo = [&](int emp, int numnf, int cod, int tipo) {
            exec("INSERT INTO nfepedi (codempresa, numnf, serie, CodPedido, tipopedido) VALUES (?, ?, '1', ?, ?)",
                 {emp, numnf, cod, tipo});
        };

        // Plain conditions: term, operation, total, billing state, status.
        pedido(1, 51, 10001);                                                  // listed
        pedido(1, 51, 10002, QDate(2014, 5, 10), 100, "000");                  // term 000
        pedido(1, 51, 10003, QDate(2014, 5, 10), 100, "030", 2);               // no receivable
        pedido(1, 51, 10004, QDate(2014, 5, 10), 0);                           // zero total
        pedido(1, 51, 10005, QDate(2014, 5, 10), 100, "030", 1, "N", "09");    // unbilled, 09: listed
        pedido(1, 51, 10006, QDate(2014, 5, 10), 100, "030", 1, "N", "05");    // unbilled, other status
        // Document tables: number in any company excludes; text only in the same company.
        const char* tabelas[] = {"Docurec", "docagrupados", "docurecfatura"};
        for (int t = 0; t < 3; ++t) {
            const int base = 20000 + t * 100;
            pedido(1, 55, base + 1); documento(tabelas[t], 2, QStringLiteral("55%1").arg(base + 1), QVariant());
            pedido(1, 55, base + 2); documento(tabelas[t], 1, QVariant(), QStringLiteral("Ref. 55%1 acordo").arg(base + 2));
            pedido(1, 55, base + 3); documento(tabelas[t], 2, QVariant(), QStringLiteral("Ref. 55%1 acordo").arg(base + 3));
            pedido(1, 55, base + 4); documento(tabelas[t], 1, QStringLiteral("56%1").arg(base + 4), QVariant());
        }
        // Links to fiscal notes count whether or not the note is cancelled.
        pedido(2, 56, 30001); vinculo(2, nota(2, QVariant(), QVariant(), QVariant(), "S"), 30001, 56);
        pedido(2, 56, 30002); vinculo(2, nota(2, QVariant(), QVariant(), QVariant(), "N"), 30002, 56);
        pedido(2, 56, 30003); vinculo(2, nota(2, QVariant(), QVariant(), QVariant(), "N"), 30003, 51);  // other type
        // A linked note whose text names the order counts unless cancelled.
        pedido(2, 56, 30004); vinculo(2, nota(2, QVariant(), QVariant(), QStringLiteral("pedido 5630004"), "N"), 99999, 51);
        pedido(2, 56, 30005); vinculo(2, nota(2, QVariant(), QVariant(), QStringLiteral("pedido 5630005"), "S"), 99999, 51);
        // Notes by company, code and type, cancelled or not.
        pedido(3, 51, 40001); nota(3, 40001, 51, QVariant(), "S");
        pedido(3, 51, 40002); nota(3, 40002, 51, QVariant(), "N");
        pedido(3, 51, 40003); nota(1, 40003, 51, QVariant(), "N");   // other company
        pedido(3, 51, 40004); nota(3, 40004, 55, QVariant(), "N");   // other type
        // Notes naming the order in their text, any company, unless cancelled.
        pedido(3, 51, 40005); nota(1, QVariant(), QVariant(), QStringLiteral("Pedido 5140005"), "N");
        pedido(3, 51, 40006); nota(1, QVariant(), QVariant(), QStringLiteral("Pedido 5140006"), "S");
        // Period: before the minimum start, on it, late.
        pedido(1, 55, 50001, QDate(2012, 12, 31));
        pedido(1, 55, 50002, QDate(2013, 1, 1));
        pedido(1, 55, 50003, QDate(2998, 12, 31));
        pedido(1, 55, 50004, QDate(2013, 1, 1), 100, "030", 1, "N", "09");
        db.CommitBatch();
        db.Detach();
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }

    void SetUp() override
    {
        cn = std::make_unique<TSQLConnection>();
        cn->SetDriverName(QStringLiteral("Interbase"));
        cn->Params().SetValue(QStringLiteral("Database"), dir->path(QStringLiteral("regras.fdb")));
        cn->Params().SetValue(QStringLiteral("User_Name"), QStringLiteral("SYSDBA"));
        q = std::make_unique<TSQLQuery>();
        q->SetSQLConnection(cn.get());
    }

    std::set<int> listar(const QString& tipos, const char* ini = "01/01/1950", const char* fim = "01/01/2999")
    {
        q->Close();
        ConsultaPedidos::MontarInstrucao(q->SQL(), tipos);
        ConsultaPedidos::DefinirPeriodo(q->Params(), QString::fromLatin1(ini), QString::fromLatin1(fim));
        q->Open();
        std::set<int> codigos;
        for (q->First(); !q->Eof(); q->Next())
            codigos.insert(q->FieldByName(QStringLiteral("CODPEDIDO"))->AsInteger());
        return codigos;
    }

    static TempFirebirdDir* dir;
    std::unique_ptr<TSQLConnection> cn;
    std::unique_ptr<TSQLQuery> q;
};

TempFirebirdDir* ConsultaPedidosBanco::dir = nullptr;

TEST_F(ConsultaPedidosBanco, EachRuleListsOneOrderAndExcludesItsTwin)
{
    const std::set<int> rows = listar(QString());
    struct Par { const char* regra; int listado; int excluido; };
    const Par pares[] = {
        {"term 000", 10001, 10002},
        {"operation without receivable", 10001, 10003},
        {"zero total", 10001, 10004},
        {"unbilled needs status 09", 10005, 10006},
        {"Docurec number in another company / text in another company", 20003, 20001},
        {"Docurec text in the same company", 20004, 20002},
        {"docagrupados number / text elsewhere", 20103, 20101},
        {"docagrupados text same company", 20104, 20102},
        {"docurecfatura number / text elsewhere", 20203, 20201},
        {"docurecfatura text same company", 20204, 20202},
        {"link to a cancelled note", 30003, 30001},
        {"link to a note", 30003, 30002},
        {"linked note text, cancelled vs not", 30005, 30004},
        {"note by company/code/type, cancelled", 40003, 40001},
        {"note by company/code/type", 40004, 40002},
        {"note text in another company, cancelled vs not", 40006, 40005},
        {"period lower bound 01/01/2013", 50002, 50001},
    };
    for (const Par& p : pares) {
        SCOPED_TRACE(p.regra);
        EXPECT_TRUE(rows.count(p.listado));
        EXPECT_FALSE(rows.count(p.excluido));
    }
    EXPECT_TRUE(rows.count(50003));
    EXPECT_TRUE(rows.count(50004));   // both halves take the same period
}

TEST_F(ConsultaPedidosBanco, ColumnsAndOrder)
{
    listar(QStringLiteral("56"));
    ASSERT_EQ(q->FieldCount(), 9);
    const char* nomes[] = {"CODEMPRESA", "TIPOPEDIDO", "CODPEDIDO", "CODCLIENTE", "NOME",
                           "DATAPEDIDO", "DATAFATURA", "TOTALPEDIDO", "PRAZO"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(q->Fields(i)->FieldName(), QString::fromLatin1(nomes[i]));
    ASSERT_FALSE(q->IsEmpty());
    EXPECT_EQ(q->FieldByName(QStringLiteral("nome"))->AsString(), QStringLiteral("Conceição Araújo"));
    EXPECT_EQ(q->FieldByName(QStringLiteral("PRAZO"))->AsString(), QStringLiteral("30 dias"));
    EXPECT_DOUBLE_EQ(q->FieldByName(QStringLiteral("TOTALPEDIDO"))->AsFloat(), 100.5);

    // Latest billing date first.
    listar(QStringLiteral("55"));
    QDate anterior(9999, 1, 1);
    for (q->First(); !q->Eof(); q->Next()) {
        const QDate d = q->FieldByName(QStringLiteral("DATAFATURA"))->AsDateTime().date();
        EXPECT_LE(d, anterior);
        anterior = d;
    }
}

TEST_F(ConsultaPedidosBanco, TypesAndPeriodRestrictBothHalves)
{
    const std::set<int> tipos5156 = listar(QStringLiteral("51,56"));
    EXPECT_TRUE(tipos5156.count(10001));
    EXPECT_TRUE(tipos5156.count(10005));
    EXPECT_TRUE(tipos5156.count(30003));
    EXPECT_FALSE(tipos5156.count(50002));
    EXPECT_FALSE(tipos5156.count(50004));   // an unbilled 55 is left out too

    EXPECT_EQ(listar(QString(), "01/01/2013", "01/01/2013"), (std::set<int>{50002, 50004}));
    EXPECT_TRUE(listar(QString(), "01/01/1950", "31/12/2012").empty());
    EXPECT_TRUE(q->Active());
    EXPECT_TRUE(q->IsEmpty());
    EXPECT_TRUE(listar(QString(), "10/05/2014", "09/05/2014").empty());
}
