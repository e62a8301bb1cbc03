// Line breaking of labels: words against the pixel width at the report's
// zoom, auto-size with frame sides, minimum height, word wrap off, and the
// caption that follows the control's name.
#include "ControlsFixture.h"

namespace {

class LabelLines : public ControlsTest {
protected:
    TBRLabel* label(const QString& caption, int width, bool autoSize = false)
    {
        auto* l = place<TBRLabel>(QStringLiteral("BRLabel1"), 8, 8, width, 17);
        l->SetAutoSize(autoSize);
        l->SetCaption(caption);
        return l;
    }
    // The pixel width of a text as the labels measure it.
    int w(const QString& text) const { return report->MeasureTextWidth(report->Font(), text); }
};

} // namespace

TEST_F(LabelLines, AutoSizeTakesTheWidestLinePlusDrawnSides)
{
    const QString first = QStringLiteral("Primeira linha"), second = QStringLiteral("Segunda linha, mais longa");
    const struct {
        bool left, right;
        int frameWidth;
        int extra;
    } cases[] = {{false, false, 1, 0}, {true, false, 2, 2}, {true, true, 2, 4}, {false, true, 3, 3}};
    for (const auto& c : cases) {
        auto* l = label(QString(), 10, true);
        l->Frame()->SetDrawLeft(c.left);
        l->Frame()->SetDrawRight(c.right);
        l->Frame()->SetWidth(c.frameWidth);
        l->SetCaption(first + QStringLiteral("\r\n") + second);
        EXPECT_EQ(l->BrokenLines(), QStringList({first, second}));
        EXPECT_EQ(l->Width(), w(second) + c.extra) << c.left << c.right;
        delete l;
    }
}

TEST_F(LabelLines, AutoSizeKeepsTheRightEdgeOrCentreOfAlignedLabels)
{
    const struct {
        TAlignment alignment;
        int left; // expected, from a label at 100 that is 200 wide
    } cases[] = {{taLeftJustify, 100}, {taRightJustify, 300}, {taCenter, 200}};
    for (const auto& c : cases) {
        auto* l = label(QString(), 200);
        l->SetLeft(100);
        l->SetAlignment(c.alignment);
        l->SetAutoSize(true);
        l->SetCaption(QStringLiteral("Período:"));
        const int width = w(QStringLiteral("Período:"));
        EXPECT_EQ(l->Width(), width);
        const int expected = c.alignment == taLeftJustify ? 100
                           : c.alignment == taRightJustify ? 300 - width
                                                           : 100 + (200 - width) / 2;
        EXPECT_EQ(l->Left(), expected) << c.alignment;
        delete l;
    }
}

TEST_F(LabelLines, WordsWrapAfterTheLastSpaceOrHyphenThatFits)
{
    const struct {
        const char* text;
        const char* fits; // the label is exactly as wide as this text
        QStringList lines;
    } cases[] = {
        {"alpha beta gamma", "alpha beta ", {"alpha beta ", "gamma"}},
        {"alpha beta-gamma", "alpha beta-", {"alpha beta-", "gamma"}},
        {"alpha beta-gamma", "alpha beta", {"alpha ", "beta-", "gamma"}},
        // too wide at the start of a line: the front that stays below the width
        {"abcdefghijklmnopqrstuvwxyz ok", "abcdefghij", {"abcdefghi", "ok"}},
        // too wide after other words: a line of its own, cut from its end
        {"ok abcdefghijklmnopqrstuvwxyz", "abcdefghij", {"ok ", "abcdefghij", ""}},
        {"", "abc", {""}},
        {"um\r\ndois\r", "um dois tres", {"um", "dois", ""}},
        {"um\n\ndois", "um dois tres", {"umdois"}},
    };
    for (const auto& c : cases) {
        auto* l = label(QString(), w(QString::fromUtf8(c.fits)));
        l->SetCaption(QString::fromUtf8(c.text));
        EXPECT_EQ(l->BrokenLines(), c.lines) << c.text;
        delete l;
    }
}

TEST_F(LabelLines, TheSummaryNoteBreaksWithoutLosingText)
{
    const QString note = QStringLiteral(
        "Observação: Somente são listados os pedidos que possuem prazo de pagamento \"à prazo\" e que o tipo de "
        "operação dos mesmos estejam configurados para gerar contas a receber e não tenham gerado notas fiscais "
        "que não estejam canceladas  e pedidos que tenham sido reagrupados .");
    auto* l = label(note, 698);
    const QStringList lines = l->BrokenLines();
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines.join(QString()), note);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_LE(l->LineWidth(lines[i]), 698) << i;
        // The next line's first word would not have fitted.
        if (i + 1 < lines.size()) {
            const QString next = lines[i + 1].section(u' ', 0, 0) + u' ';
            EXPECT_GT(l->LineWidth(lines[i] + next), 698) << i;
        }
    }
}

TEST_F(LabelLines, WithoutWordWrapOneLineHoldsTheWordsThatFit)
{
    const QString fits = QStringLiteral("alpha beta ");
    for (const char* text : {"alpha beta gamma delta", "alpha beta gamma delta epsilon zeta eta theta iota kappa",
                             "alpha beta gammadeltaepsilonzetaetathetaiotakappa"}) {
        auto* l = label(QString(), w(fits));
        l->SetWordWrap(false);
        l->SetCaption(QString::fromUtf8(text));
        EXPECT_EQ(l->BrokenLines(), QStringList{fits}) << text;
        delete l;
    }
}

TEST_F(LabelLines, HeightIsRaisedToOneLineNeverLowered)
{
    const int line = report->MeasureTextHeight(report->Font(), QStringLiteral("W")) + 1;
    auto* small = place<TBRLabel>(QStringLiteral("Small"), 0, 0, 100, 5);
    auto* tall = place<TBRLabel>(QStringLiteral("Tall"), 0, 0, 100, 40);
    small->SetAutoSize(false);
    small->SetCaption(QStringLiteral("x"));
    tall->SetCaption(QStringLiteral("x"));
    EXPECT_EQ(small->Height(), line);
    EXPECT_EQ(tall->Height(), 40);

    // At 200 % the measure doubles, in widths and heights.
    report->SetZoom(200);
    small->SetCaption(QStringLiteral("abc"));
    tall->SetCaption(QStringLiteral("abc"));
    EXPECT_EQ(tall->Width(), 2 * w(QStringLiteral("abc")));
    EXPECT_GE(small->Height(), 2 * (line - 1) + 1);
}

TEST_F(LabelLines, CaptionFollowsTheNameOnlyWhileItIsEmptyOrTheName)
{
    auto* l = place<TBRLabel>(QStringLiteral("BRLabel1"), 0, 0, 100, 17);
    EXPECT_EQ(l->Caption(), QStringLiteral("BRLabel1"));
    l->SetName(QStringLiteral("BRTitulo"));
    EXPECT_EQ(l->Caption(), QStringLiteral("BRTitulo"));
    l->SetCaption(QString());
    l->SetName(QStringLiteral("BRVazio"));
    EXPECT_EQ(l->Caption(), QStringLiteral("BRVazio"));
    l->SetCaption(QStringLiteral("Filial"));
    l->SetName(QStringLiteral("BRFilial"));
    EXPECT_EQ(l->Caption(), QStringLiteral("Filial"));
    EXPECT_EQ(l->OutputText(), QStringLiteral("Filial"));
}

TEST_F(LabelLines, ALabelWithoutParentKeepsItsLines)
{
    auto* l = label(QStringLiteral("um dois"), 500);
    l->SetParentPanel(nullptr);
    l->SetCaption(QStringLiteral("tres"));
    EXPECT_EQ(l->BrokenLines(), QStringList{QStringLiteral("um dois")});
    delete l;
}
