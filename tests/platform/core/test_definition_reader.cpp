// The definition reader against careless and hostile texts: nesting past any
// sensible depth, line ends of every platform, and files in Windows-1252.
#include "DefinitionReader.h"

#include <gtest/gtest.h>

namespace {

QString repeated(const char* piece, int times)
{
    return QString::fromLatin1(piece).repeated(times);
}

// The line an error names, or 0 when the text was read.
int errorLine(const QString& text, QString* message = nullptr)
{
    try {
        brp::ReadDefinition(text);
    } catch (const EParserError& e) {
        if (message)
            *message = e.Message();
        const QString m = e.Message();
        const qsizetype at = m.indexOf(QLatin1String("line ")) + 5;
        return m.mid(at, m.indexOf(u':', at) - at).toInt();
    }
    return 0;
}

} // namespace

// Deep nesting is refused with the line where it goes too deep, instead of
// overflowing the stack; nesting a window or a report really uses is read.
TEST(DefinitionReader, NestingPastTheLimitIsRefusedWithItsLine)
{
    struct Case {
        const char* name;
        QString text;
        int line; // 0: read
    };
    const Case cases[] = {
        {"30,000 lists", QStringLiteral("object A: TA\n  X = ") + repeated("(", 30000) + QStringLiteral("\nend\n"), 2},
        {"200,000 objects", repeated("object A: TA\n", 200000) + repeated("end\n", 200000), 201},
        {"collections in collections", QStringLiteral("object A: TA\n  X = ") + repeated("<item Y = ", 5000) + QStringLiteral("\nend\n"), 2},
        {"lists 100 deep", QStringLiteral("object A: TA\n  X = ") + repeated("(", 100) + QStringLiteral("1") + repeated(")", 100) + QStringLiteral("\nend\n"), 0},
        {"objects 150 deep", repeated("object A: TA\n", 150) + repeated("end\n", 150), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString message;
        EXPECT_EQ(errorLine(c.text, &message), c.line) << message.toStdString();
        if (c.line) {
            EXPECT_TRUE(message.contains(QLatin1String("nested deeper than"))) << message.toStdString();
        }
    }
}

// Errors name the same line whether lines end with LF, CR LF or CR alone.
TEST(DefinitionReader, EveryLineEndCounts)
{
    const QStringList lines = {QStringLiteral("object A: TA"), QStringLiteral("  Caption = 'um'"), QStringLiteral("  [Top = 1]"), QStringLiteral("  Left = 2"), QStringLiteral("  X = @"), QStringLiteral("end")};
    for (const char* ending : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(QByteArray(ending).toHex().toStdString());
        const QString end = QString::fromLatin1(ending);
        EXPECT_EQ(errorLine(lines.join(end)), 3); // a name was expected at '['
        QStringList creationIndex = lines;
        creationIndex[0] = QStringLiteral("inherited A: TA [") + end + QStringLiteral("0") + end + QStringLiteral("]"); // the index spans lines
        creationIndex[2] = QStringLiteral("  Top = 1");
        EXPECT_EQ(errorLine(creationIndex.join(end)), 7); // the bad value, after the index's two line ends
        // A string may not run over a line end of any kind.
        EXPECT_EQ(errorLine(QStringLiteral("object A: TA") + end + QStringLiteral("  Caption = 'open") + end + QStringLiteral("end")), 2);
    }
}

// A file that is not valid UTF-8 is Windows-1252, the system's own code page.
TEST(DefinitionReader, FilesAreUtf8OrWindows1252)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {"UTF-8", "Rela\xc3\xa7\xc3\xa3o \xc3\x9cn\xc3\xaf" "c\xc3\xb6" "d\xc3\xa9 \xe2\x82\xac", QStringLiteral("Relação Ünïcödé €")},
        {"UTF-8 with a byte order mark", "\xef\xbb\xbfRela\xc3\xa7\xc3\xa3o", QStringLiteral("Relação")},
        {"Windows-1252", "Rela\xe7\xe3o \xdcn\xef" "c\xf6" "d\xe9 \x80 \x93x\x94", QStringLiteral("Relação Ünïcödé € “x”")},
        {"ASCII", "object A: TA\nend\n", QStringLiteral("object A: TA\nend\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(brp::DefinitionText(c.bytes).toStdU16String(), c.text.toStdU16String());
    }
    const DefinitionObject o =
        brp::ReadDefinition(brp::DefinitionText("object Relat\xf3rio: TA\n  Caption = 'Relat\xf3rio de Pedidos'\nend\n"));
    EXPECT_EQ(o.name, QStringLiteral("Relatório"));
    EXPECT_EQ(o.Find(QStringLiteral("Caption"))->text, QStringLiteral("Relatório de Pedidos"));
}
