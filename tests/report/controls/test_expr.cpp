// Expressions printed by kind and mask, report values (page number, date),
// and aggregates fed by the records of their master.
#include "ControlsFixture.h"
#include "TBREvEnvironment.h"
#include "TMemDataSet.h"

namespace {

class ExprPrint : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        data = new TMemDataSet(form.get());
        data->SetName(QStringLiteral("QryRel"));
        data->DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        for (double v : {1.5, 2.25, 4.0})
            data->AppendRecord({v});
        data->Open();
        runDataSets = {data};
        report->SetRunDataSets(&runDataSets);
        detail = new TBRSubDetail(form.get());
        detail->SetName(QStringLiteral("BRSubDetail1"));
        detail->SetParentPanel(report);
        detail->SetMaster(report);
        detail->SetDataSet(data);
        // A run compiles the report's functions before its printables start.
        report->Functions()->UseDataSets(&runDataSets);
        report->Functions()->CompileAll();
    }
    void TearDown() override
    {
        report->Functions()->ReleaseAll();
        report->SetRunDataSets(nullptr);
        ControlsTest::TearDown();
    }

    TBRExpr* expr(const QString& expression, const QString& mask = QString())
    {
        auto* e = place<TBRExpr>(QStringLiteral("BRExpr%1").arg(++m_count), 8, 0, 200, 17);
        e->SetAutoSize(false);
        e->SetExpression(expression);
        e->SetMask(mask);
        return e;
    }
    // Walks the data as the sub-detail band does: every record is announced
    // to the registered printables, then the printables print.
    QStringList walk(const QList<TBRExpr*>& exprs)
    {
        startPage();
        for (TBRExpr* e : exprs)
            e->BeginOutput();
        QStringList out;
        for (data->First(); !data->Eof(); data->Next()) {
            detail->Controller()->SendNotification(NotifyDataAdvance);
            for (TBRExpr* e : exprs) {
                e->PrintAt(380, 1000);
                out << e->OutputText();
            }
        }
        for (TBRExpr* e : exprs)
            e->EndOutput();
        target->FinishJob();
        target.reset();
        return out;
    }

    TMemDataSet* data = nullptr;
    TBRDataSetList runDataSets;
    TBRSubDetail* detail = nullptr;

private:
    int m_count = 0;
};

} // namespace

TEST_F(ExprPrint, ValuesPrintByKindThroughTheMask)
{
    const struct {
        const char* expression;
        const char* mask;
        QStringList texts;
    } cases[] = {
        {"1 + 2", "", {QStringLiteral("3")}},
        {"7", "000", {QStringLiteral("007")}},
        {"1234.5", "#,##0.000", {QStringLiteral("1.234,500")}},
        {"2.5", "", {QStringLiteral("2,5")}},
        {"'Orvik' + ' Informática'", "", {QStringLiteral("Orvik Informática")}},
        {"1 = 1", "", {QStringLiteral("True")}},
        {"2 < 1", "", {QStringLiteral("False")}},
        {"FOO", "", {QStringLiteral("Unknown function : FOO")}},
        {"", "", {QStringLiteral(" ")}},
        {"DATE", "", {QStringLiteral("15/03/2026")}},
    };
    for (const auto& c : cases) {
        TBRExpr* e = expr(QString::fromUtf8(c.expression), QString::fromLatin1(c.mask));
        EXPECT_EQ(printed({e}), c.texts) << c.expression;
        delete e;
    }
}

TEST_F(ExprPrint, PageNumberIsTheReportsCurrentPage)
{
    TBRExpr* page = expr(QStringLiteral("PAGENUMBER"));
    TBREvEnvironment* functions = report->Functions();
    functions->StoreInteger(functions->ConstantElement(QStringLiteral("PAGENUMBER")), 3);
    EXPECT_EQ(printed({page}), QStringList{QStringLiteral("3")});
    functions->StoreInteger(functions->ConstantElement(QStringLiteral("PAGENUMBER")), 12);
    EXPECT_EQ(printed({page}), QStringList{QStringLiteral("12")});
}

TEST_F(ExprPrint, CaptionShowsTheExpressionOrNone)
{
    TBRExpr* e = expr(QString());
    EXPECT_EQ(e->Caption(), QStringLiteral("(none)"));
    e->SetExpression(QStringLiteral("PAGENUMBER"));
    EXPECT_EQ(e->Caption(), QStringLiteral("PAGENUMBER"));
    printed({e});
    EXPECT_EQ(e->Caption(), QStringLiteral("PAGENUMBER"));
    EXPECT_EQ(e->OutputText(), QStringLiteral("PAGENUMBER"));
    EXPECT_FALSE(e->ExprEvaluator().Compiled());
}

TEST_F(ExprPrint, SumRunsOverItsMastersRecordsAndMayResetAfterEachPrint)
{
    TBRExpr* running = expr(QStringLiteral("SUM(QryRel.TOTALPEDIDO)"));
    running->SetMaster(detail);
    TBRExpr* subtotal = expr(QStringLiteral("SUM(QryRel.TOTALPEDIDO)"));
    subtotal->SetMaster(detail);
    subtotal->SetResetAfterPrint(true);
    // No master: it counts the records of the report's own controller only.
    TBRExpr* reportOnly = expr(QStringLiteral("SUM(QryRel.TOTALPEDIDO)"));
    const QStringList out = walk({running, subtotal, reportOnly});
    EXPECT_EQ(out, QStringList({QStringLiteral("1,5"), QStringLiteral("1,5"), QStringLiteral("0"), QStringLiteral("3,75"), QStringLiteral("2,25"), QStringLiteral("0"), QStringLiteral("7,75"), QStringLiteral("4"), QStringLiteral("0")}));
    EXPECT_TRUE(report->MainController()->NotifyClients().contains(reportOnly));
    // The report's data set list is the run's, not the expression's to clear.
    EXPECT_EQ(runDataSets.size(), 1);
}

TEST_F(ExprPrint, RegistrationFollowsMasterAndAggregates)
{
    TBRExpr* plain = expr(QStringLiteral("PAGENUMBER"));
    TBRExpr* onBand = expr(QStringLiteral("COUNT"));
    onBand->SetMaster(band); // neither a report nor a sub-detail band
    TBRExpr* onReport = expr(QStringLiteral("1"));
    onReport->SetMaster(report);
    TBRExpr* onDetail = expr(QStringLiteral("COUNT"));
    onDetail->SetMaster(detail);
    printed({plain, onBand, onReport, onDetail});
    const auto& reportClients = report->MainController()->NotifyClients();
    const auto& detailClients = detail->Controller()->NotifyClients();
    EXPECT_EQ(reportClients.size(), 1);
    EXPECT_TRUE(reportClients.contains(onReport));
    EXPECT_EQ(detailClients.size(), 1);
    EXPECT_TRUE(detailClients.contains(onDetail));
}

TEST_F(ExprPrint, DisabledExpressionNeitherPrintsNorResets)
{
    TBRExpr* e = expr(QStringLiteral("COUNT"));
    e->SetMaster(detail);
    e->SetResetAfterPrint(true);
    e->SetEnabled(false);
    startPage();
    e->BeginOutput();
    for (data->First(); !data->Eof(); data->Next()) {
        detail->Controller()->SendNotification(NotifyDataAdvance);
        e->PrintAt(380, 1000);
    }
    EXPECT_EQ(e->ExprEvaluator().CurrentValue().IntegerValue, 3);
    e->EndOutput();
    EXPECT_TRUE(finishPage().texts.isEmpty());
}
