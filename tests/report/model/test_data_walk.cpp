// The data walk: empty data, OnNeedData, groups and their breaks, header
// reprints on new pages, sub-details, progress.
#include "RunFixture.h"

#include <QRegularExpression>

namespace {
QList<QVariantList> places()
{
    return {{"BR", "Rio"}, {"BR", "Rio"}, {"BR", "SP"}, {"PT", "Lisboa"}, {"PT", "Porto"}, {"PT", "Porto"}};
}
} // namespace

class DataWalkTest : public RunFixture {
protected:
    // Detail 100 printing NAME (or the given field) of QryRel; a title and a summary.
    void simple(TMemDataSet* ds, const QString& fieldName = QStringLiteral("NAME"))
    {
        data = ds;
        report->SetDataSet(ds);
        title = bandOf(QStringLiteral("Title"), rbTitle, 100);
        text(title, QStringLiteral("TITLE"));
        detail = bandOf(QStringLiteral("Detail"), rbDetail, 100);
        text(detail, QStringLiteral("Row"), field(ds, fieldName));
        summary = bandOf(QStringLiteral("Summary"), rbSummary, 100);
        text(summary, QStringLiteral("SUM"));
    }
    TBRGroup* group(const QString& name, const QString& expression, const QString& fieldName)
    {
        auto* g = bandOf<TBRGroup>(name, rbGroupHeader, 100);
        g->SetExpression(expression);
        text(g, name + "H", field(data, fieldName, name + " "));
        auto* footer = bandOf(name + "F", rbGroupFooter, 100);
        text(footer, name + "F", field(data, fieldName, "/" + name + " "));
        g->SetFooterBand(footer);
        return g;
    }
    QStringList all()
    {
        QStringList out;
        for (const QStringList& page : texts())
            out << page;
        return out;
    }
    TMemDataSet* data = nullptr;
    TBRBand* title = nullptr;
    TBRBand* detail = nullptr;
    TBRBand* summary = nullptr;
};

TEST_F(DataWalkTest, EmptyDataSetPrintsItsBandsOnceOnlyWithPrintIfEmpty)
{
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("NAME")}, {}));
    static_cast<TextPrintable*>(detail->Printables().first())->Text = field(data, QStringLiteral("NAME"), "=");
    run();
    EXPECT_EQ(all(), (QStringList{"TITLE", "=", "SUM"}));

    report->SetPrintIfEmpty(false);
    run();
    EXPECT_TRUE(all().isEmpty());

    // No data set and no OnNeedData counts as empty.
    report->SetPrintIfEmpty(true);
    report->SetDataSet(nullptr);
    detail->Printables().first()->setObjectName(QStringLiteral("D"));
    static_cast<TextPrintable*>(detail->Printables().first())->Text = {};
    run();
    EXPECT_EQ(all(), (QStringList{"TITLE", "D", "SUM"}));
}

TEST_F(DataWalkTest, OnNeedDataSuppliesRecordsAndFalseAtOncePrintsNothing)
{
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("NAME")}, {}));
    report->SetDataSet(nullptr);
    int calls = 0;
    static_cast<TextPrintable*>(detail->Printables().first())->Text = [&] { return QString::number(calls); };
    report->OnNeedData = [&](QObject* sender, bool& more) {
        EXPECT_EQ(sender, report);
        more = ++calls <= 3;
    };
    run();
    EXPECT_EQ(all(), (QStringList{"TITLE", "1", "2", "3", "SUM"}));

    report->OnNeedData = [](QObject*, bool& more) { more = false; };
    run();
    EXPECT_TRUE(all().isEmpty());
}

TEST_F(DataWalkTest, NestedGroupsBreakInnermostFirstAndAnOuterChangeRestartsTheInner)
{
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("COUNTRY"), QStringLiteral("CITY")}, places()),
           QStringLiteral("CITY"));
    group(QStringLiteral("Country"), QStringLiteral("QryRel.COUNTRY"), QStringLiteral("COUNTRY"));
    group(QStringLiteral("City"), QStringLiteral("QryRel.CITY"), QStringLiteral("CITY"));
    run();
    EXPECT_EQ(all(), (QStringList{"TITLE", "Country BR", "City Rio", "Rio", "Rio", "/City Rio", "City SP", "SP",
                                  "/City SP", "/Country BR", "Country PT", "City Lisboa", "Lisboa", "/City Lisboa",
                                  "City Porto", "Porto", "Porto", "/City Porto", "/Country PT", "SUM"}));
}

TEST_F(DataWalkTest, ErrorValuedGroupExpressionBreaksOnlyOnce)
{
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("COUNTRY"), QStringLiteral("CITY")}, places()),
           QStringLiteral("CITY"));
    group(QStringLiteral("Bad"), QStringLiteral("QryRel.NOSUCHFIELD"), QStringLiteral("CITY"));
    run();
    const QStringList t = all();
    EXPECT_EQ(t.filter(QRegularExpression("^Bad ")).size(), 1);
    EXPECT_EQ(t.filter(QRegularExpression("^/Bad ")).size(), 1);
    EXPECT_EQ(t.size(), 2 + 6 + 2);
}

TEST_F(DataWalkTest, ReprintOnNewPageRepeatsTheOuterAndInnerHeadersBelowThePageHeader)
{
    QList<QVariantList> rows;
    for (int i = 0; i < 40; ++i)
        rows.append(QVariantList{"BR", "Rio"});
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("COUNTRY"), QStringLiteral("CITY")}, rows),
           QStringLiteral("CITY"));
    auto* pageHeader = bandOf(QStringLiteral("PH"), rbPageHeader, 100);
    text(pageHeader, QStringLiteral("PH"));
    TBRGroup* country = group(QStringLiteral("Country"), QStringLiteral("QryRel.COUNTRY"), QStringLiteral("COUNTRY"));
    group(QStringLiteral("City"), QStringLiteral("QryRel.CITY"), QStringLiteral("CITY"));
    country->SetReprintOnNewPage(true);
    run();
    const auto t = texts();
    ASSERT_EQ(t.size(), 2);
    EXPECT_EQ(t[1].mid(0, 4), (QStringList{"PH", "Country BR", "City Rio", "Rio"}));
    EXPECT_EQ(t[0].count("Country BR"), 1);

    country->SetReprintOnNewPage(false);
    run();
    EXPECT_EQ(texts()[1].mid(0, 2), (QStringList{"PH", "Rio"}));
}

TEST_F(DataWalkTest, SubDetailRunsOncePerMasterRecordFromItsFirstRow)
{
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("NAME")}, {{"A"}, {"B"}}));
    TMemDataSet* items = dataSet(QStringLiteral("Items"), {QStringLiteral("ITEM")}, {{"x"}, {"y"}});
    auto* sub = bandOf<TBRSubDetail>(QStringLiteral("Sub"), rbSubDetail, 100);
    sub->SetDataSet(items);
    text(sub, QStringLiteral("Item"), field(items, QStringLiteral("ITEM")));
    run();
    EXPECT_EQ(all(), (QStringList{"TITLE", "A", "x", "y", "B", "x", "y", "SUM"}));

    sub->SetPrintBefore(true);
    run();
    EXPECT_EQ(all(), (QStringList{"TITLE", "x", "y", "A", "x", "y", "B", "SUM"}));
}

TEST_F(DataWalkTest, ProgressReachesOneHundredWithTheLastMainRecord)
{
    QList<QVariantList> rows;
    for (int i = 0; i < 7; ++i)
        rows.append(QVariantList{QString::number(i)});
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("NAME")}, rows));
    QList<int> seen;
    detail->AfterPrint = [&](TBRCustomBand*, bool) { seen << report->OutputTarget()->Progress(); };
    run();
    EXPECT_EQ(report->OutputTarget()->Progress(), 100);
    EXPECT_EQ(seen.first(), 0);
    EXPECT_EQ(seen.last(), 85);
}

TEST_F(DataWalkTest, DisabledDetailStillAdvancesAndPageOneBeginsBeforeTheSummary)
{
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("NAME")}, {{"A"}, {"B"}}));
    delete title;
    detail->SetEnabled(false);
    auto* counter = text(summary, QStringLiteral("N"));
    int notes = 0;
    struct Counter : TextPrintable {
        int* n;
        Counter(TComponent* o, int* c) : TextPrintable(o), n(c) {}
        void BeginOutput() override
        {
            TextPrintable::BeginOutput();
            OwnerReport()->RegisterNotifyClient(this);
        }
        void EngineNotify(QObject* s, std::uint8_t code) override
        {
            if (code == NotifyDataAdvance)
                ++*n;
        }
    };
    delete counter;
    auto* c = new Counter(form.get(), &notes);
    c->SetParentPanel(summary);
    run();
    EXPECT_EQ(notes, 2);
    EXPECT_EQ(report->OutputTarget()->PageTotal(), 1);
    EXPECT_EQ(all().first(), "SUM");
}
