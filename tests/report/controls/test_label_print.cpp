// Labels printed on a recorded page: where the lines and the background go,
// anchors by alignment and reading order, lines that do not fit, stretching
// over passes, transparency, disabled labels and the OnPrint hook.
#include "ControlsFixture.h"

namespace {

class LabelPrint : public ControlsTest {
protected:
    TBRLabel* label(const QString& name, const QString& caption, int top = 0, int width = 200, int height = 17)
    {
        auto* l = place<TBRLabel>(name, 8, top, width, height);
        l->SetAutoSize(false);
        l->SetCaption(caption);
        return l;
    }
    // Native line height of the report font on the page.
    long double lineHeight() const
    {
        TCanvas* c = target->PageCanvas();
        c->SetFont(report->Font());
        return c->TextHeight(QStringLiteral("W")) / target->VertFactor();
    }
    static long double nat(const TBRPrintable* p, int index) { return p->Size()->Native(index); }
    TRect box(long double x, long double y, long double w, long double h) const
    {
        return {dx(x), dy(y), dx(x + w), dy(y + h)};
    }
    // Room on the page for the band plus `lines` line heights (and a bit).
    void leaveRoomFor(long double lines)
    {
        report->SetCursorY(0);
        const int all = report->AvailableSpace();
        const long double wanted = band->Size()->Native(TBRBandSize::iHeight) + lines * lineHeight();
        report->SetCursorY(int(all - wanted));
    }
};

constexpr int OX = 380, OY = 1000; // the band's corner on the page, native

} // namespace

TEST_F(LabelPrint, LinesGoDownFromTheLabelCornerOverItsBackground)
{
    auto* l = label(QStringLiteral("BRLabel1"), QStringLiteral("Primeira\r\nSegunda"), 7, 200, 40);
    l->SetColor(clYellow);
    startPage();
    const long double lh = lineHeight();
    printOnce(l, OX, OY);
    const long double x = OX + nat(l, TBRPrintableSize::iLeft), y = OY + nat(l, TBRPrintableSize::iTop);
    const RecordedPage page = finishPage();

    ASSERT_EQ(page.texts.size(), 2);
    EXPECT_EQ(page.Texts(), QStringList({QStringLiteral("Primeira"), QStringLiteral("Segunda")}));
    EXPECT_EQ(page.texts[0].x, dx(x));
    EXPECT_EQ(page.texts[0].y, dy(y));
    EXPECT_EQ(page.texts[1].y, dy(y + lh));
    EXPECT_EQ(page.texts[0].align, TA_LEFT | TA_TOP);
    ASSERT_EQ(page.fills.size(), 1);
    EXPECT_EQ(page.fills[0].rect,
              box(x, y, nat(l, TBRPrintableSize::iWidth), nat(l, TBRPrintableSize::iHeight)));
    EXPECT_EQ(page.fills[0].color, clYellow);
    EXPECT_TRUE(l->OutputComplete());
}

TEST_F(LabelPrint, AnchorFollowsAlignmentMirroredForRightToLeft)
{
    const struct {
        TAlignment alignment;
        TBiDiMode mode;
        unsigned align;
        int anchor; // 0 left edge, 1 right edge, 2 centre
        unsigned options;
    } cases[] = {
        {taLeftJustify, bdLeftToRight, TA_LEFT, 0, 0},
        {taRightJustify, bdLeftToRight, TA_RIGHT, 1, 0},
        {taCenter, bdLeftToRight, TA_CENTER, 2, 0},
        {taLeftJustify, bdRightToLeft, TA_RIGHT | TA_RTLREADING, 1, ETO_RTLREADING},
        {taRightJustify, bdRightToLeft, TA_LEFT | TA_RTLREADING, 0, ETO_RTLREADING},
        {taLeftJustify, bdRightToLeftNoAlign, TA_LEFT | TA_RTLREADING, 0, ETO_RTLREADING},
        {taCenter, bdRightToLeftReadingOnly, TA_CENTER | TA_RTLREADING, 2, ETO_RTLREADING},
    };
    QList<TBRLabel*> labels;
    for (const auto& c : cases) {
        auto* l = label(QStringLiteral("L%1").arg(labels.size()), QStringLiteral("Valor"), 20 * int(labels.size()));
        l->SetAlignment(c.alignment);
        l->SetBiDiMode(c.mode);
        labels << l;
    }
    startPage();
    for (TBRLabel* l : labels)
        printOnce(l, OX, OY);
    const RecordedPage page = finishPage();
    ASSERT_EQ(page.texts.size(), qsizetype(std::size(cases)));
    for (qsizetype i = 0; i < page.texts.size(); ++i) {
        const auto& c = cases[i];
        const long double x = OX + nat(labels[i], TBRPrintableSize::iLeft);
        const long double w = nat(labels[i], TBRPrintableSize::iWidth);
        const long double anchor = c.anchor == 0 ? x : c.anchor == 1 ? x + w : x + w / 2;
        EXPECT_EQ(page.texts[i].x, dx(anchor)) << i;
        EXPECT_EQ(page.texts[i].align, c.align | TA_TOP) << i;
        EXPECT_EQ(page.texts[i].options, c.options) << i;
    }
}

TEST_F(LabelPrint, AutoSizedRightAlignedTextKeepsItsDesignedRightEdge)
{
    auto* l = label(QStringLiteral("BRLDataFim"), QStringLiteral("a"));
    l->SetAlignment(taRightJustify);
    l->SetAutoSize(true);
    l->SetCaption(QStringLiteral("a"));
    l->OnPrint = [](TBRCustomLabel*, QString& text) { text = QStringLiteral("31/12/2026"); };
    startPage();
    l->BeginOutput();
    const long double x = OX + nat(l, TBRPrintableSize::iLeft);
    const long double right = x + nat(l, TBRPrintableSize::iWidth);
    l->PrintAt(OX, OY);
    const long double newWidth = nat(l, TBRPrintableSize::iWidth);
    l->EndOutput();
    const RecordedPage page = finishPage();
    ASSERT_EQ(page.Texts(), QStringList{QStringLiteral("31/12/2026")});
    EXPECT_EQ(page.texts[0].x, dx(right));
    EXPECT_EQ(page.texts[0].align, TA_RIGHT | TA_TOP);
    // The background is drawn from the left it had, with the new width.
    ASSERT_EQ(page.fills.size(), 1);
    EXPECT_EQ(page.fills[0].rect.Left, dx(x));
    EXPECT_EQ(page.fills[0].rect.Right, dx(x + newWidth));
    EXPECT_EQ(l->OutputText(), QStringLiteral("a"));
}

TEST_F(LabelPrint, LinesBeyondTheHeightAreDroppedWithOneUnitOfTolerance)
{
    startPage();
    const long double lh = lineHeight();
    const struct {
        long double height;
        int printed;
    } cases[] = {{2 * lh - 0.5L, 2}, {2 * lh - 1.5L, 1}};
    for (const auto& c : cases) {
        auto* l = label(QStringLiteral("Nota"), QStringLiteral("um\rdois\rtres"));
        report->SetUnits(TBRUnit::Native);
        l->Size()->SetHeight(double(c.height));
        report->SetUnits(TBRUnit::MM);
        l->BeginOutput();
        l->PrintAt(OX, OY);
        EXPECT_EQ(l->NextLine(), c.printed) << double(c.height);
        EXPECT_TRUE(l->OutputComplete());
        l->EndOutput();
        delete l;
    }
}

TEST_F(LabelPrint, StretchingLabelContinuesOnTheNextPassAndFramesEachPart)
{
    band->SetHeight(21);
    auto* l = label(QStringLiteral("Nota"), QStringLiteral("um\rdois\rtres\rquatro"));
    l->SetAutoStretch(true);
    l->Frame()->SetColor(clRed);
    l->Frame()->SetDrawBottom(true);
    startRun(0);
    const long double lh = lineHeight();
    leaveRoomFor(1.5L); // one growth of one line, not two
    const long double x = OX + nat(l, TBRPrintableSize::iLeft), y = OY + nat(l, TBRPrintableSize::iTop);
    const long double w = nat(l, TBRPrintableSize::iWidth), h = nat(l, TBRPrintableSize::iHeight);

    l->BeginOutput();
    l->PrintAt(OX, OY);
    EXPECT_FALSE(l->OutputComplete());
    EXPECT_EQ(l->NextLine(), 2);
    EXPECT_EQ(band->Expanded, lh);

    // The next pass, at the top of a new page with room enough.
    target->NewPage();
    band->Expanded = 0;
    report->SetCursorY(100);
    l->PrintAt(OX, 100);
    EXPECT_TRUE(l->OutputComplete());
    // A new record starts again at the first line.
    band->Expanded = 0;
    l->PrintAt(OX, 500);
    l->EndOutput();
    target->FinishJob();

    const RecordedPage first = RecordedPage::Read(target->FetchPage(1)->Data());
    EXPECT_EQ(first.Texts(), QStringList({QStringLiteral("um"), QStringLiteral("dois")}));
    ASSERT_EQ(first.fills.size(), 3); // box, strip, frame bottom
    EXPECT_EQ(first.fills[0].rect, box(x, y, w, h));
    EXPECT_EQ(first.fills[1].rect, box(x, y + h, w, lh));
    EXPECT_EQ(first.fills[2].color, clRed);
    EXPECT_EQ(first.fills[2].rect.Bottom, dy(y + h + lh));

    const RecordedPage second = RecordedPage::Read(target->FetchPage(2)->Data());
    EXPECT_EQ(second.Texts(), QStringList({QStringLiteral("tres"), QStringLiteral("quatro"), QStringLiteral("um"),
                                           QStringLiteral("dois"), QStringLiteral("tres"), QStringLiteral("quatro")}));
    EXPECT_EQ(second.texts[0].y, dy(100 + nat(l, TBRPrintableSize::iTop)));
}

TEST_F(LabelPrint, SecondStretchingLabelAddsItsOwnGrowth)
{
    band->SetHeight(21);
    auto* a = label(QStringLiteral("A"), QStringLiteral("um\rdois"));
    auto* b = label(QStringLiteral("B"), QStringLiteral("tres\rquatro"));
    b->SetLeft(300);
    for (TBRLabel* l : {a, b}) {
        l->SetAutoStretch(true);
        l->Frame()->SetDrawBottom(true);
        l->Frame()->SetColor(clRed);
    }
    startRun(0);
    const long double lh = lineHeight();
    leaveRoomFor(10);
    for (TBRLabel* l : {a, b})
        l->BeginOutput();
    a->PrintAt(OX, OY);
    b->PrintAt(OX, OY);
    EXPECT_EQ(band->Expanded, 2 * lh);
    const RecordedPage page = finishPage();
    const long double bottom = OY + nat(b, TBRPrintableSize::iTop) + nat(b, TBRPrintableSize::iHeight);
    QList<int> frameBottoms;
    for (const RecordedFill& f : page.fills)
        if (f.color == clRed)
            frameBottoms << f.rect.Bottom;
    EXPECT_EQ(frameBottoms, QList<int>({dy(bottom + lh), dy(bottom + 2 * lh)}));
}

TEST_F(LabelPrint, TransparentDisabledAndEmptyLabels)
{
    auto* transparent = label(QStringLiteral("T"), QStringLiteral("um\rdois"), 0);
    transparent->SetTransparent(true);
    transparent->SetAutoStretch(true);
    auto* disabled = label(QStringLiteral("D"), QStringLiteral("nada"), 20);
    disabled->SetEnabled(false);
    auto* hidden = label(QStringLiteral("H"), QStringLiteral("oculto"), 40);
    hidden->SetEnabled(false);
    hidden->SetVisible(false);
    auto* empty = label(QStringLiteral("E"), QString(), 60);
    empty->SetCaption(QString());
    empty->Frame()->SetDrawTop(true);
    empty->Frame()->SetColor(clRed);
    startRun(0);
    leaveRoomFor(10);
    for (TBRLabel* l : {transparent, disabled, hidden, empty})
        printOnce(l, OX, OY);
    const RecordedPage page = finishPage();
    EXPECT_EQ(page.Texts(), QStringList({QStringLiteral("um"), QStringLiteral("dois"), QStringLiteral("oculto")}));
    QList<TColor> colors;
    for (const RecordedFill& f : page.fills)
        colors << f.color;
    // The hidden label's background, then the empty label's and its frame.
    EXPECT_EQ(colors, QList<TColor>({clWhite, clWhite, clRed}));
    EXPECT_EQ(empty->BrokenLines(), QStringList{QString()});
}

TEST_F(LabelPrint, OnPrintReplacesTheTextForOnePrint)
{
    auto* l = label(QStringLiteral("BRLTipo"), QStringLiteral("BRLTipo"));
    int calls = 0;
    l->OnPrint = [&](TBRCustomLabel* sender, QString& text) {
        ++calls;
        EXPECT_EQ(sender, l);
        text = text == QStringLiteral("BRLTipo") ? QStringLiteral("55,56") : text;
    };
    auto* blank = label(QStringLiteral("Vazio"), QString(), 20);
    blank->SetCaption(QString());
    blank->OnPrint = [&](TBRCustomLabel*, QString&) { ++calls; };
    startPage();
    printOnce(l, OX, OY);
    printOnce(blank, OX, OY);
    const RecordedPage page = finishPage();
    EXPECT_EQ(page.Texts(), QStringList{QStringLiteral("55,56")});
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(l->OutputText(), QStringLiteral("BRLTipo"));
}

TEST_F(LabelPrint, WithoutRenderingNothingIsDrawnButLinesAreUsed)
{
    auto* l = label(QStringLiteral("Nota"), QStringLiteral("um\rdois"), 0, 200, 40);
    l->Frame()->SetDrawTop(true);
    startPage();
    report->SetRenderToSurface(false);
    l->BeginOutput();
    l->PrintAt(OX, OY);
    EXPECT_EQ(l->NextLine(), 2);
    l->EndOutput();
    const RecordedPage page = finishPage();
    EXPECT_TRUE(page.texts.isEmpty());
    EXPECT_TRUE(page.fills.isEmpty());
}
