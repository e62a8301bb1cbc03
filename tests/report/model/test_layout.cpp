// Layout: bands stacked from the top margin, page-width or column-width.
#include "ModelFixture.h"

#include <functional>

class Layout : public ModelFixture {};

TEST_F(Layout, TwoColumnsGiveFullAndHalfWidths)
{
    report->Page()->SetColumns(2);
    auto* header = band(QStringLiteral("Header"), rbPageHeader);
    auto* detail = band(QStringLiteral("Detail"), rbDetail);
    auto* footer = band(QStringLiteral("Footer"), rbPageFooter);
    footer->SetHasChild(true);
    auto* sub = place<TBRSubDetail>(QStringLiteral("Sub"));
    sub->SetHasChild(true);
    EXPECT_EQ(header->Width(), 718);
    EXPECT_EQ(detail->Width(), 359);
    EXPECT_EQ(sub->Width(), 359);
    EXPECT_EQ(sub->ChildBand()->Width(), 359);
    EXPECT_EQ(footer->ChildBand()->Width(), 718);
    EXPECT_EQ(header->Left(), 38);
    EXPECT_EQ(header->Top(), 38);
    EXPECT_EQ(detail->Top(), 78);
    report->SetUnits(TBRUnit::Native);
    EXPECT_NEAR(header->Size()->Width(), 1899.708333333333, 1e-9);
}

TEST_F(Layout, HeightsStackAndZoomScales)
{
    auto* header = band(QStringLiteral("Header"), rbPageHeader);
    auto* detail = band(QStringLiteral("Detail"), rbDetail);
    header->SetHeight(121);
    EXPECT_EQ(detail->Top(), 159);
    for (int bad : {0, 301, -4}) {
        report->SetZoom(bad);
        EXPECT_EQ(report->Zoom(), 100) << bad;
    }
    report->SetZoom(200);
    EXPECT_EQ(report->Width(), 1587);
    EXPECT_EQ(header->Height(), 242);
    EXPECT_EQ(header->Width(), 1436);
    EXPECT_EQ(detail->Top(), 76 + 242);
}

TEST_F(Layout, PreviewSizesReadFiveHundredWhenNotPositive)
{
    report->SetPreviewWidth(-5);
    report->SetPreviewHeight(0);
    EXPECT_EQ(report->PreviewWidth(), 500);
    EXPECT_EQ(report->PreviewHeight(), 500);
    report->SetPreviewWidth(640);
    EXPECT_EQ(report->PreviewWidth(), 640);
}

TEST_F(Layout, PrintableFollowsItsSizeAndMeasuresText)
{
    auto* detail = band(QStringLiteral("Detail"), rbDetail);
    auto* p = new TBRPrintable(form.get());
    p->SetParentPanel(detail);
    p->SetBounds(8, 92, 28, 17);
    report->SetUnits(TBRUnit::Native);
    EXPECT_NEAR(p->Size()->Left(), 21.16666666666667, 1e-9);
    EXPECT_NEAR(p->Size()->Top(), 243.4166666666667, 1e-9);
    p->Size()->SetWidth(254); // 96 pixels
    EXPECT_EQ(p->Width(), 96);
    report->SetZoom(50);
    EXPECT_EQ(p->Width(), 48);
    EXPECT_GT(report->MeasureTextWidth(report->Font(), QStringLiteral("Filial")), 1);
    EXPECT_EQ(report->MeasureTextWidth(report->Font(), QString()), 1);
    EXPECT_GT(report->MeasureTextHeight(report->Font(), QStringLiteral("A")), 10);
}

// A band takes the report's font and a printable its band's by the same rules:
// inherited until an own font is set; inheriting again copies the parent's
// font as the own one, which stays when the inheriting stops.
TEST_F(Layout, PanelsAndPrintablesInheritTheirParentsFontAlike)
{
    auto* detail = band(QStringLiteral("Detail"), rbDetail);
    auto* printable = new TBRPrintable(form.get());
    printable->SetParentPanel(detail);
    struct Kind {
        const char* name;
        std::function<const TFont&()> font;
        std::function<void(const TFont&)> setFont;
        std::function<void(bool)> setParentFont;
        std::function<void(const TFont&)> setParentsFont;
    };
    auto named = [](const char* name) {
        TFont f;
        f.Name = QString::fromLatin1(name);
        return f;
    };
    const Kind kinds[] = {
        {"band under the report", [&]() -> const TFont& { return detail->Font(); },
         [&](const TFont& f) { detail->SetFont(f); }, [&](bool v) { detail->SetParentFont(v); },
         [&](const TFont& f) { report->SetFont(f); }},
        {"printable under a band", [&]() -> const TFont& { return printable->Font(); },
         [&](const TFont& f) { printable->SetFont(f); }, [&](bool v) { printable->SetParentFont(v); },
         [&](const TFont& f) { detail->SetFont(f); }},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        k.setParentsFont(named("Parent 1"));
        EXPECT_EQ(k.font().Name, QStringLiteral("Parent 1"));
        k.setFont(named("Own"));
        k.setParentsFont(named("Parent 2"));
        EXPECT_EQ(k.font().Name, QStringLiteral("Own"));
        k.setParentFont(true);
        EXPECT_EQ(k.font().Name, QStringLiteral("Parent 2"));
        k.setParentFont(false);
        k.setParentsFont(named("Parent 3"));
        EXPECT_EQ(k.font().Name, QStringLiteral("Parent 2"));
    }
}
