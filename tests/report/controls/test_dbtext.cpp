// Data fields printed for the current record: masks under two locales, nulls,
// fields a mask does not apply to, memo fields, missing fields and data sets.
#include "ControlsFixture.h"
#include "TMemDataSet.h"

#include <limits>

namespace {

class DBTextPrint : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        data = new TMemDataSet(form.get());
        data->SetName(QStringLiteral("QryRel"));
        data->DefineField(QStringLiteral("TOTALPEDIDO"), TFieldType::ftFloat);
        data->DefineField(QStringLiteral("CODPEDIDO"), TFieldType::ftInteger);
        data->DefineField(QStringLiteral("NOME"), TFieldType::ftString, 40);
        data->DefineField(QStringLiteral("DATAPEDIDO"), TFieldType::ftDate);
        data->DefineField(QStringLiteral("OBS"), TFieldType::ftMemo);
        data->DefineField(QStringLiteral("ATIVO"), TFieldType::ftBoolean);
        data->AppendRecord({1234.5, 1234, QStringLiteral("Ana Conceição"), QDate(2026, 3, 15),
                            QStringLiteral("um dois\r\num dois tres quatro\nfim"), true});
        data->AppendRecord({});
        data->AppendRecord({std::numeric_limits<double>::infinity()});
        data->Open();
        data->First();
    }

    TBRDBText* dbText(const QString& field, const QString& mask = QString(), int width = 300)
    {
        auto* t = place<TBRDBText>(QStringLiteral("BRDBText%1").arg(++m_count), 8, 0, width, 17);
        t->SetAutoSize(false);
        t->SetDataSet(data);
        t->SetDataField(field);
        t->SetMask(mask);
        return t;
    }

    TMemDataSet* data = nullptr;

private:
    int m_count = 0;
};

} // namespace

TEST_F(DBTextPrint, MasksFollowTheLocaleAndTheFieldType)
{
    const struct {
        const char* locale;
        int record;
        const char* field;
        const char* mask;
        QStringList texts;
    } cases[] = {
        {"pt_BR", 0, "TOTALPEDIDO", "#,##0.000", {QStringLiteral("1.234,500")}},
        {"en_US", 0, "TOTALPEDIDO", "#,##0.000", {QStringLiteral("1,234.500")}},
        {"pt_BR", 0, "CODPEDIDO", "#,##0.000", {QStringLiteral("1.234,000")}},
        {"pt_BR", 0, "NOME", "#,##0.000", {QStringLiteral("Ana Conceição")}},
        {"pt_BR", 0, "DATAPEDIDO", "dd/mm/yyyy", {QStringLiteral("15/03/2026")}},
        {"en_US", 0, "DATAPEDIDO", "yyyy-mm-dd", {QStringLiteral("2026-03-15")}},
        // a null reads as 0: masked it prints, unmasked it is empty
        {"pt_BR", 1, "TOTALPEDIDO", "#,##0.000", {QStringLiteral("0,000")}},
        {"pt_BR", 1, "TOTALPEDIDO", "", {}},
        {"pt_BR", 1, "DATAPEDIDO", "dd/mm/yyyy", {QStringLiteral("30/12/1899")}},
        // a value the mask cannot show prints nothing
        {"pt_BR", 2, "TOTALPEDIDO", "#,##0.000", {}},
    };
    for (const auto& c : cases) {
        ScopedExpressionLocale locale{QLocale(QString::fromLatin1(c.locale))};
        data->First();
        for (int i = 0; i < c.record; ++i)
            data->Next();
        TBRDBText* t = dbText(QString::fromLatin1(c.field), QString::fromLatin1(c.mask));
        EXPECT_EQ(printed({t}), c.texts) << c.locale << ' ' << c.field << ' ' << c.mask;
        delete t;
    }
}

TEST_F(DBTextPrint, WithoutMaskOrWithAnUnsuitedOneTheDisplayTextPrints)
{
    for (const char* field : {"TOTALPEDIDO", "DATAPEDIDO", "ATIVO"}) {
        const QString expected = data->FindField(QString::fromLatin1(field))->DisplayText();
        EXPECT_EQ(printed({dbText(QString::fromLatin1(field))}), QStringList{expected}) << field;
    }
    EXPECT_EQ(printed({dbText(QStringLiteral("ATIVO"), QStringLiteral("#,##0"))}), QStringList{QStringLiteral("True")});
}

TEST_F(DBTextPrint, MemoFieldPrintsEveryLineBrokenToTheWidth)
{
    TBRDBText* t = dbText(QStringLiteral("OBS"), QString(),
                          report->MeasureTextWidth(report->Font(), QStringLiteral("um dois")));
    t->SetHeight(120);
    t->BeginOutput();
    EXPECT_TRUE(t->MemoMode());
    EXPECT_TRUE(t->OutputText().isEmpty());
    EXPECT_EQ(printed({t}), QStringList({QStringLiteral("um dois"), QStringLiteral("um "), QStringLiteral("dois "),
                                       QStringLiteral("tres "), QStringLiteral("quatro"), QStringLiteral("fim")}));
    EXPECT_FALSE(t->MemoMode());
    EXPECT_EQ(t->Caption(), QStringLiteral("OBS"));
}

TEST_F(DBTextPrint, StretchingMemoThatCannotPrintALineStopsInsteadOfAddingPages)
{
    band->SetHeight(21);
    TBRDBText* t = dbText(QStringLiteral("OBS"));
    t->SetAutoStretch(true);
    startRun(0);
    t->BeginOutput();
    t->SetHeight(5); // memo text sets no minimum height
    report->SetCursorY(report->AvailableSpace() - int(band->Size()->Native(TBRBandSize::iHeight)));
    t->PrintAt(380, 1000);
    EXPECT_FALSE(t->OutputComplete());
    // The next pass has no more room: the label gives up.
    t->PrintAt(380, 1000);
    EXPECT_TRUE(t->OutputComplete());
    t->EndOutput();
}

TEST_F(DBTextPrint, MissingFieldOrDataSetPrintsOnlyTheBackground)
{
    TBRDBText* unknown = dbText(QStringLiteral("NAOEXISTE"));
    TBRDBText* noData = dbText(QStringLiteral("NOME"));
    noData->SetDataSet(nullptr);
    for (TBRDBText* t : {unknown, noData}) {
        startPage();
        printOnce(t, 380, 1000);
        EXPECT_FALSE(t->FieldResolved());
        const RecordedPage page = finishPage();
        EXPECT_TRUE(page.texts.isEmpty());
        EXPECT_EQ(page.fills.size(), 1);
        target.reset();
    }
}

TEST_F(DBTextPrint, FreedDataSetIsForgottenAndReopenedFieldsAreFoundAgain)
{
    TBRDBText* t = dbText(QStringLiteral("NOME"));
    t->BeginOutput();
    data->Close();
    data->Open();
    data->First();
    EXPECT_EQ(printed({t}), QStringList{QStringLiteral("Ana Conceição")});

    delete data;
    EXPECT_EQ(t->DataSet(), nullptr);
    EXPECT_TRUE(printed({t}).isEmpty());
}

TEST_F(DBTextPrint, CaptionShowsTheFieldOrTheName)
{
    TBRDBText* t = dbText(QStringLiteral("NOME"));
    EXPECT_EQ(t->Caption(), QStringLiteral("NOME"));
    t->SetDataField(QString());
    EXPECT_EQ(t->Caption(), t->Name());
    t->SetDataField(QStringLiteral("TOTALPEDIDO"));
    printed({t});
    EXPECT_EQ(t->Caption(), QStringLiteral("TOTALPEDIDO"));
    EXPECT_EQ(t->BoundField(), nullptr);
}

TEST_F(DBTextPrint, NumbersAndDatesKeepTheirAlignmentRightToLeft)
{
    const struct {
        const char* field;
        TAlignment effective;
    } cases[] = {{"NOME", taRightJustify}, {"TOTALPEDIDO", taLeftJustify}, {"DATAPEDIDO", taLeftJustify}};
    for (const auto& c : cases) {
        TBRDBText* t = dbText(QString::fromLatin1(c.field));
        t->SetBiDiMode(bdRightToLeft);
        t->BeginOutput();
        EXPECT_EQ(t->EffectiveAlignment(), c.effective) << c.field;
        t->EndOutput();
    }
}
