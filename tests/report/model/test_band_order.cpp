// Band order: page headers, title, column headers, the controller tree, page
// footers, then the rest; child bands follow their parents.
#include "ModelFixture.h"
#include "TBREvEnvironment.h"
#include "TMemDataSet.h"

class BandOrder : public ModelFixture {};

TEST_F(BandOrder, NewReportHasDefaultsAndNoBands)
{
    EXPECT_EQ(report->Zoom(), 100);
    EXPECT_EQ(report->Options(), unsigned(FirstPageHeader | LastPageFooter));
    EXPECT_TRUE(report->PrintIfEmpty());
    EXPECT_TRUE(report->ShowProgress());
    EXPECT_EQ(report->Functions()->Strings(),
              QStringList({QStringLiteral("PAGENUMBER"), QStringLiteral("COLUMNNUMBER"), QStringLiteral("REPORTTITLE")}));
    EXPECT_EQ(report->Font().Name, QStringLiteral("Arial"));
    EXPECT_EQ(report->Font().Size(), 10);
    EXPECT_EQ(report->Width(), 794);
    EXPECT_EQ(report->Height(), 1123);
    EXPECT_TRUE(report->BandList().isEmpty());
    EXPECT_EQ(report->PrinterSettings()->PrinterIndex, -1);
}

TEST_F(BandOrder, TwoPageHeadersComeFirstAndTitleOnce)
{
    band(QStringLiteral("Summary"), rbSummary);
    band(QStringLiteral("Detail"), rbDetail);
    band(QStringLiteral("Title"), rbTitle);
    band(QStringLiteral("Header1"), rbPageHeader);
    band(QStringLiteral("Footer"), rbPageFooter);
    band(QStringLiteral("Column"), rbColumnHeader);
    band(QStringLiteral("Header2"), rbPageHeader);
    band(QStringLiteral("Overlay"), rbOverlay);
    EXPECT_EQ(order(), QStringList({QStringLiteral("Header1"), QStringLiteral("Header2"), QStringLiteral("Title"), QStringLiteral("Column"), QStringLiteral("Detail"), QStringLiteral("Summary"), QStringLiteral("Footer"),
                                    QStringLiteral("Overlay")}));
    EXPECT_EQ(report->FindBand(rbPageHeader)->Name(), QStringLiteral("Header1"));
}

TEST_F(BandOrder, SubDetailsGroupsAndChildren)
{
    band(QStringLiteral("Detail"), rbDetail);
    auto* after = place<TBRSubDetail>(QStringLiteral("After"));
    auto* before = place<TBRSubDetail>(QStringLiteral("Before"));
    before->SetPrintBefore(true);
    auto* group = place<TBRGroup>(QStringLiteral("Group"));
    auto* groupFooter = band(QStringLiteral("GroupFooter"), rbDetail);
    group->SetFooterBand(groupFooter);
    EXPECT_EQ(groupFooter->BandType(), rbGroupFooter);
    after->SetHasChild(true);
    after->SetHasChild(true);
    int children = 0;
    for (TBRCustomBand* b : report->BandList())
        children += b->BandType() == rbChild;
    EXPECT_EQ(children, 1);
    TBRCustomBand* child = after->ChildBand();
    ASSERT_NE(child, nullptr);
    child->SetName(QStringLiteral("AfterChild"));
    report->RebuildBandOrder();
    EXPECT_EQ(order(), QStringList({QStringLiteral("Group"), QStringLiteral("Before"), QStringLiteral("Detail"), QStringLiteral("After"), QStringLiteral("AfterChild"), QStringLiteral("GroupFooter")}));
}

TEST_F(BandOrder, GroupOfASubDetailIsCollectedByItsController)
{
    auto* sub = place<TBRSubDetail>(QStringLiteral("Sub"));
    auto* group = place<TBRGroup>(QStringLiteral("Group"));
    group->SetMaster(sub);
    report->RebuildBandOrder();
    EXPECT_TRUE(report->MainController()->GroupList().isEmpty());
    EXPECT_EQ(sub->Controller()->GroupList(), QList<TBRGroup*>({group}));
    EXPECT_EQ(order(), QStringList({QStringLiteral("Group"), QStringLiteral("Sub")}));
}

TEST_F(BandOrder, HasChildFalseKeepsTheGrandchild)
{
    auto* detail = band(QStringLiteral("Detail"), rbDetail);
    detail->SetHasChild(true);
    auto* child = detail->ChildBand();
    child->SetHasChild(true);
    auto* grandchild = static_cast<TBRChildBand*>(child->ChildBand());
    ASSERT_NE(grandchild, nullptr);
    detail->SetHasChild(false);
    EXPECT_EQ(grandchild->ParentBand(), detail);
    EXPECT_EQ(detail->ChildBand(), grandchild);
    EXPECT_EQ(report->BandList().size(), 2);
}

TEST_F(BandOrder, CircularLinksAreRefused)
{
    auto* a = band(QStringLiteral("A"), rbDetail);
    auto* b = band(QStringLiteral("B"), rbSummary);
    a->SetLinkBand(b);
    b->SetLinkBand(a);
    EXPECT_EQ(b->LinkBand(), nullptr);
    auto* s1 = place<TBRSubDetail>(QStringLiteral("S1"));
    auto* s2 = place<TBRSubDetail>(QStringLiteral("S2"));
    s2->SetMaster(s1);
    s1->SetMaster(s2);
    s1->SetMaster(s1);
    EXPECT_EQ(s1->Master(), report);
    a->SetHasChild(true);
    auto* child = static_cast<TBRChildBand*>(a->ChildBand());
    child->SetHasChild(true);
    auto* grandchild = child->ChildBand();
    child->SetParentBand(grandchild);
    EXPECT_EQ(child->ParentBand(), a);
}

TEST_F(BandOrder, DestroyedComponentsLeaveNoReferences)
{
    auto* detail = band(QStringLiteral("Detail"), rbDetail);
    auto* summary = band(QStringLiteral("Summary"), rbSummary);
    summary->SetLinkBand(detail);
    auto* sub = place<TBRSubDetail>(QStringLiteral("Sub"));
    auto* header = band(QStringLiteral("Header"), rbDetail);
    sub->SetHeaderBand(header);
    auto* group = place<TBRGroup>(QStringLiteral("Group"));
    group->SetMaster(sub);
    report->RebuildBandOrder();
    EXPECT_EQ(static_cast<TBRController*>(report->MainController())->Detail(), detail);
    detail->SetHasChild(true);
    auto* child = static_cast<TBRChildBand*>(detail->ChildBand());

    delete detail;
    EXPECT_EQ(summary->LinkBand(), nullptr);
    EXPECT_EQ(child->ParentBand(), nullptr);
    EXPECT_EQ(static_cast<TBRController*>(report->MainController())->Detail(), nullptr);
    delete header;
    EXPECT_EQ(sub->HeaderBand(), nullptr);
    delete sub;
    EXPECT_EQ(group->Master(), nullptr);
    EXPECT_FALSE(report->BandList().contains(static_cast<TBRCustomBand*>(sub)));
}

TEST_F(BandOrder, DestroyedDataSetIsCleared)
{
    auto* rows = new TMemDataSet(form.get());
    rows->DefineField(QStringLiteral("A"), TFieldType::ftInteger);
    for (int i = 0; i < 3; ++i)
        rows->AppendRecord({i});
    report->SetDataSet(rows);
    auto* sub = place<TBRSubDetail>(QStringLiteral("Sub"));
    sub->SetDataSet(rows);
    EXPECT_EQ(report->MainRecordCount(), 1); // closed
    rows->Open();
    EXPECT_EQ(report->MainRecordCount(), 3);
    delete rows;
    EXPECT_EQ(report->DataSet(), nullptr);
    EXPECT_EQ(sub->DataSet(), nullptr);
}

TEST_F(BandOrder, SwitchesCreateNamedBandsAndFreeThem)
{
    report->Bands()->SetHasDetail(true);
    report->Bands()->SetHasDetail(true);
    report->Bands()->SetHasTitle(true);
    EXPECT_EQ(order(), QStringList({QStringLiteral("TitleBand1"), QStringLiteral("DetailBand1")}));
    EXPECT_EQ(report->NewBand(rbDetail)->Name(), QStringLiteral("DetailBand2"));
    report->Bands()->SetHasTitle(false);
    EXPECT_FALSE(report->Bands()->HasTitle());
    EXPECT_TRUE(report->Bands()->HasDetail());
}

TEST_F(BandOrder, DestroyingTheReportFreesItsBands)
{
    QPointer<TBRBand> detail = band(QStringLiteral("Detail"), rbDetail);
    auto* printable = new TBRPrintable(form.get());
    printable->SetParentPanel(detail);
    QPointer<TBRPrintable> guard = printable;
    delete report;
    report = nullptr;
    EXPECT_TRUE(detail.isNull());
    EXPECT_TRUE(guard.isNull());
}
