// The data walk: empty data, OnNeedData, groups and their breaks, header
// reprints on new pages, sub-details, progress.
#include "RunFixture.h"

#include <QRegularExpression>

namespace {
QList<QVariantList> places()
{
    return {{QStringLiteral("BR"), QStringLiteral("Rio")}, {QStringLiteral("BR"), QStringLiteral("Rio")}, {QStringLiteral("BR"), QStringLiteral("SP")}, {QStringLiteral("PT"), QStringLiteral("Lisboa")}, {QStringLiteral("PT"), QStringLiteral("Porto")}, {QStringLiteral("PT"), QStringLiteral("Porto")}};
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
        text(g, name + QStringLiteral("H"), field(data, fieldName, name + QStringLiteral(" ")));
        auto* footer = bandOf(name + QStringLiteral("F"), rbGroupFooter, 100);
        text(footer, name + QStringLiteral("F"), field(data, fieldName, QStringLiteral("/") + name + QStringLiteral(" ")));
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
    static_cast<TextPrintable*>(detail->Printables().first())->Text = field(data, QStringLiteral("NAME"), QStringLiteral("="));
    run();
    EXPECT_EQ(all(), (QStringList{QStringLiteral("TITLE"), QStringLiteral("="), QStringLiteral("SUM")}));

    report->SetPrintIfEmpty(false);
    run();
    EXPECT_TRUE(all().isEmpty());

    // No data set and no OnNeedData counts as empty.
    report->SetPrintIfEmpty(true);
    report->SetDataSet(nullptr);
    detail->Printables().first()->setObjectName(QStringLiteral("D"));
    static_cast<TextPrintable*>(detail->Printables().first())->Text = {};
    run();
    EXPECT_EQ(all(), (QStringList{QStringLiteral("TITLE"), QStringLiteral("D"), QStringLiteral("SUM")}));
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
    EXPECT_EQ(all(), (QStringList{QStringLiteral("TITLE"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("SUM")}));

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
    EXPECT_EQ(all(), (QStringList{QStringLiteral("TITLE"), QStringLiteral("Country BR"), QStringLiteral("City Rio"), QStringLiteral("Rio"), QStringLiteral("Rio"), QStringLiteral("/City Rio"), QStringLiteral("City SP"), QStringLiteral("SP"),
                                  QStringLiteral("/City SP"), QStringLiteral("/Country BR"), QStringLiteral("Country PT"), QStringLiteral("City Lisboa"), QStringLiteral("Lisboa"), QStringLiteral("/City Lisboa"),
                                  QStringLiteral("City Porto"), QStringLiteral("Porto"), QStringLiteral("Porto"), QStringLiteral("/City Porto"), QStringLiteral("/Country PT"), QStringLiteral("SUM")}));
}

TEST_F(DataWalkTest, ErrorValuedGroupExpressionBreaksOnlyOnce)
{
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("COUNTRY"), QStringLiteral("CITY")}, places()),
           QStringLiteral("CITY"));
    group(QStringLiteral("Bad"), QStringLiteral("QryRel.NOSUCHFIELD"), QStringLiteral("CITY"));
    run();
    const QStringList t = all();
    EXPECT_EQ(t.filter(QRegularExpression(QStringLiteral("^Bad "))).size(), 1);
    EXPECT_EQ(t.filter(QRegularExpression(QStringLiteral("^/Bad "))).size(), 1);
    EXPECT_EQ(t.size(), 2 + 6 + 2);
}

TEST_F(DataWalkTest, ReprintOnNewPageRepeatsTheOuterAndInnerHeadersBelowThePageHeader)
{
    QList<QVariantList> rows;
    for (int i = 0; i < 40; ++i)
        rows.append(QVariantList{QStringLiteral("BR"), QStringLiteral("Rio")});
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
    EXPECT_EQ(t[1].mid(0, 4), (QStringList{QStringLiteral("PH"), QStringLiteral("Country BR"), QStringLiteral("City Rio"), QStringLiteral("Rio")}));
    EXPECT_EQ(t[0].count(QStringLiteral("Country BR")), 1);

    country->SetReprintOnNewPage(false);
    run();
    EXPECT_EQ(texts()[1].mid(0, 2), (QStringList{QStringLiteral("PH"), QStringLiteral("Rio")}));
}

TEST_F(DataWalkTest, SubDetailRunsOncePerMasterRecordFromItsFirstRow)
{
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("NAME")}, {{QStringLiteral("A")}, {QStringLiteral("B")}}));
    TMemDataSet* items = dataSet(QStringLiteral("Items"), {QStringLiteral("ITEM")}, {{QStringLiteral("x")}, {QStringLiteral("y")}});
    auto* sub = bandOf<TBRSubDetail>(QStringLiteral("Sub"), rbSubDetail, 100);
    sub->SetDataSet(items);
    text(sub, QStringLiteral("Item"), field(items, QStringLiteral("ITEM")));
    run();
    EXPECT_EQ(all(), (QStringList{QStringLiteral("TITLE"), QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("B"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("SUM")}));

    sub->SetPrintBefore(true);
    run();
    EXPECT_EQ(all(), (QStringList{QStringLiteral("TITLE"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("A"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("B"), QStringLiteral("SUM")}));
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
    simple(dataSet(QStringLiteral("QryRel"), {QStringLiteral("NAME")}, {{QStringLiteral("A")}, {QStringLiteral("B")}}));
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
    EXPECT_EQ(all().first(), QStringLiteral("SUM"));
}
