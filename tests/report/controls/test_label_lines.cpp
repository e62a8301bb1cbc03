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
        {"alpha beta gamma", "alpha beta ", {QStringLiteral("alpha beta "), QStringLiteral("gamma")}},
        {"alpha beta-gamma", "alpha beta-", {QStringLiteral("alpha beta-"), QStringLiteral("gamma")}},
        {"alpha beta-gamma", "alpha beta", {QStringLiteral("alpha "), QStringLiteral("beta-"), QStringLiteral("gamma")}},
        // too wide at the start of a line: the front that stays below the width
        {"abcdefghijklmnopqrstuvwxyz ok", "abcdefghij", {QStringLiteral("abcdefghi"), QStringLiteral("ok")}},
        // too wide after other words: a line of its own, cut from its end
        {"ok abcdefghijklmnopqrstuvwxyz", "abcdefghij", {QStringLiteral("ok "), QStringLiteral("abcdefghij"), QStringLiteral("")}},
        {"", "abc", {QStringLiteral("")}},
        {"um\r\ndois\r", "um dois tres", {QStringLiteral("um"), QStringLiteral("dois"), QStringLiteral("")}},
        {"um\n\ndois", "um dois tres", {QStringLiteral("umdois")}},
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

// A word too wide for its line is cut by bisection over the measured width;
// the cut is the one trying one character at a time gave (both cuts below,
// written out as they were), for words of every kind of character, at any
// width and zoom.
TEST_F(LabelLines, AnOverlongWordIsCutWhereOneCharacterAtATimeCutIt)
{
    // At the start of a line: the front that stays below the width.
    auto frontBelow = [](TBRLabel* l, const QString& word, int width) {
        QString line;
        qsizetype i = 0;
        while (i < word.size() && l->LineWidth(line + word[i]) < width)
            line += word[i++];
        return line;
    };
    // After other words: a line of its own, chopped from the end until it fits.
    auto choppedToFit = [](TBRLabel* l, QString word, int width) {
        while (!word.isEmpty() && l->LineWidth(word) > width)
            word.chop(1);
        return word;
    };
    const QString words[] = {
        QStringLiteral("abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz"),
        QStringLiteral("WWWWWWWWiiiiiiiiWWWWiiiiWiWiWiWi.,;:WWWW"),
        QStringLiteral("ÇÃÕÉÊÍÓÚçãõéêíóúàÀüÜ€ŠšŽžŒœŸ‰•"),
        QStringLiteral("e\u0301a\u0300o\u0302u\u0308c\u0327e\u0301a\u0300o\u0302"), // combining accents
        QStringLiteral("漢字漢字かなカナ한국어漢字漢字かなカナ"),
        QStringLiteral("a😀b😀c😀d😀e😀f😀g😀h😀"), // pairs of UTF-16 units
        QStringLiteral("0123456789").repeated(40),
    };
    for (const int zoom : {100, 37, 250}) {
        report->SetZoom(zoom);
        for (const int width : {1, 2, 7, 23, 60, 151, 400}) {
            for (const QString& word : words) {
                SCOPED_TRACE(QStringLiteral("zoom %1, width %2, %3").arg(zoom).arg(width).arg(word).toStdString());
                auto* l = label(QString(), width);
                l->SetBounds(l->Left(), l->Top(), width, l->Height());
                if (l->LineWidth(word) <= width) {
                    delete l;
                    continue; // fits: nothing to cut
                }
                l->SetCaption(word);
                ASSERT_FALSE(l->BrokenLines().isEmpty());
                EXPECT_EQ(l->BrokenLines().first(), frontBelow(l, word, width));
                const QString lead = QStringLiteral("ok ");
                l->SetCaption(lead + word);
                const QStringList lines = l->BrokenLines();
                if (l->LineWidth(lead) <= width) {
                    ASSERT_GE(lines.size(), 2);
                    EXPECT_EQ(lines[0], lead);
                    EXPECT_EQ(lines[1], choppedToFit(l, word, width));
                }
                delete l;
            }
        }
    }
}
