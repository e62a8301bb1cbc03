// The masked date field keeps one character per position, blanks included.
#include "TMaskEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct DateEdit {
    TMaskEdit edit;
    DateEdit()
    {
        edit.SetEditMask(QStringLiteral("!99/99/9999;1;_"));
        edit.setMaxLength(10);
    }
};

TEST(TMaskEdit, EmptyFieldReadsTenCharactersWithBlanks)
{
    DateEdit d;
    EXPECT_EQ(d.edit.Text(), QStringLiteral("  /  /    "));
    EXPECT_EQ(d.edit.displayText(), QStringLiteral("__/__/____"));
}

TEST(TMaskEdit, SetTextPlacesEachCharacterAtItsPosition)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  /  /    ", "  /  /    "},
        {"15/03/2026", "15/03/2026"},
        {"15/  /    ", "15/  /    "},
        {" 5/ 3/  85", " 5/ 3/  85"},
        {"15/03/201", "15/03/201 "},
        {"15/  /2085", "15/  /2085"},
        {"ab/cd/efgh", "  /  /    "},
        {"1x/0y/2z2w", "1 /0 /2 2 "},
        {"", "  /  /    "},
        {"15/03/2026999", "15/03/2026"},
    };
    for (const auto& c : cases) {
        DateEdit d;
        d.edit.SetText(QString::fromUtf8(c.in));
        EXPECT_EQ(d.edit.Text(), QString::fromUtf8(c.out)) << c.in;
    }
}

TEST(TMaskEdit, TypedDigitsFillPositionsAndSkipSlashes)
{
    const struct {
        const char* typed;
        const char* text;
    } cases[] = {
        {"15", "15/  /    "},
        {"1503", "15/03/    "},
        {"15032026", "15/03/2026"},
        {"15abc03", "15/03/    "},
    };
    for (const auto& c : cases) {
        DateEdit d;
        d.edit.setFocus();
        d.edit.setCursorPosition(0);
        QTest::keyClicks(&d.edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(d.edit.Text(), QString::fromUtf8(c.text)) << c.typed;
    }
}

TEST(TMaskEdit, PastedLettersAreRefused)
{
    DateEdit d;
    QApplication::clipboard()->setText(QStringLiteral("ab/cd/efgh"));
    d.edit.setCursorPosition(0);
    d.edit.paste();
    EXPECT_EQ(d.edit.Text().size(), 10);
    EXPECT_EQ(d.edit.Text(), QStringLiteral("  /  /    "));
}

} // namespace
