// The text-mode printer component: values at creation, the line byte, the
// translation table, property access by name, and what destruction removes.
#include "printfast.h"

#include <QFile>
#include <QMetaProperty>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(TPrintFast, ValuesAtCreation)
{
    TComponent owner;
    auto* pf = new TPrintFast(&owner);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_TRUE(pf->PageHeader());
    EXPECT_EQ(pf->PageNumber(), 0);
    EXPECT_EQ(pf->LineNumber(), 0);
    EXPECT_EQ(pf->PrinterName(), TPrintFast::pfEpson9pinos);
    EXPECT_EQ(static_cast<int>(pf->PrinterName()), 4);
    EXPECT_FALSE(pf->Preview());
    EXPECT_FALSE(pf->ForcarGuardarConteudo());
    EXPECT_FALSE(pf->UtilizarGeradorRelatorios());
    EXPECT_FALSE(pf->GerarRelatorioMemoria());
    EXPECT_EQ(pf->QtLines(), 60);
    EXPECT_EQ(pf->LinesHeader(), 0);
    EXPECT_EQ(pf->LinesFooter(), 0);
    EXPECT_EQ(pf->PageWidth(), 80);
    EXPECT_EQ(pf->PrinterPort(), QString());
    EXPECT_EQ(pf->PCol(), 0);
    EXPECT_FALSE(pf->PrinterTermic());
    EXPECT_FALSE(pf->Paisagem());
    EXPECT_EQ(pf->Zoom(), 0);
    EXPECT_FALSE(pf->OnBeforeNewPage);
    EXPECT_FALSE(TPrintFast::SharedFlag());
    EXPECT_TRUE(pf->Lines().isEmpty());
    EXPECT_TRUE(pf->WorkingFileName().endsWith(QStringLiteral("/filepage1.txt")));

    const THeaderData* h = pf->HeaderData();
    EXPECT_EQ(h->FirstPage(), 1);
    EXPECT_TRUE(h->PrintDateTime());
    EXPECT_TRUE(h->PrintPageNumber());
    for (const char* name : {"Title1", "Title4", "Right2", "Left4", "ColHeader1", "ColHeader3"})
        EXPECT_EQ(h->property(name).toString(), QString()) << name;

    const TPrintWin* win = pf->Windows();
    EXPECT_FALSE(win->PrintForWindows());
    EXPECT_EQ(win->Font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(win->LineSpace(), 20);
    EXPECT_EQ(win->Orientation(), TPrintWin::poPortrait);
}

TEST(TPrintFast, PRowIsTheLowByteOfTheLineNumber)
{
    TPrintFast pf;
    const struct {
        int line;
        int row;
    } cases[] = {{0, 0}, {44, 44}, {255, 255}, {256, 0}, {300, 44}, {-1, 255}, {65536 + 7, 7}};
    for (const auto& c : cases) {
        pf.SetLineNumber(c.line);
        EXPECT_EQ(pf.PRow(), c.row) << c.line;
        EXPECT_EQ(pf.property("PRow").toInt(), c.row);
    }
}

TEST(TPrintFast, TranslationTableMapsToCodePage850)
{
    TPrintFast pf;
    const auto& src = pf.TranslationSources();
    const auto& dst = pf.TranslationTargets();
    ASSERT_EQ(src.size(), 43);
    ASSERT_EQ(dst.size(), 43);
    const QString sources = QStringLiteral("áÁãÃâÂäÄàÀéÉêÊëËíÍîÎïÏóÓõÕôÔöÖúÚûÛüÜçÇºñÑªº");
    ASSERT_EQ(sources.size(), 43);
    for (int i = 0; i < 43; ++i) {
        ASSERT_EQ(src[i].size(), 1);
        ASSERT_EQ(dst[i].size(), 1);
        EXPECT_EQ(static_cast<uchar>(src[i][0]), sources[i].unicode()) << i; // Latin-1 range: same code
    }
    // Spot checks against code page 850, including both ordinal rows.
    const struct {
        int row;
        int code;
    } targets[] = {{0, 160}, {1, 181}, {2, 198}, {3, 199}, {10, 130}, {36, 135}, {37, 128},
                   {38, 248}, {39, 164}, {41, 166}, {42, 167}};
    for (const auto& t : targets)
        EXPECT_EQ(static_cast<uchar>(dst[t.row][0]), t.code) << t.row;
}

TEST(TPrintFast, PublishedPropertiesBySettableName)
{
    TPrintFast pf;
    EXPECT_TRUE(pf.setProperty("PrinterName", QStringLiteral("pfBematech")));
    EXPECT_EQ(pf.PrinterName(), TPrintFast::pfBematech);
    EXPECT_TRUE(pf.setProperty("QtLines", 66));
    EXPECT_EQ(pf.QtLines(), 66);
    EXPECT_TRUE(pf.setProperty("PrinterPort", QStringLiteral("LPT1")));
    EXPECT_EQ(pf.PrinterPort(), QStringLiteral("LPT1"));
    EXPECT_TRUE(pf.Windows()->setProperty("Orientation", QStringLiteral("poLandscape")));
    EXPECT_EQ(pf.Windows()->Orientation(), TPrintWin::poLandscape);
    EXPECT_TRUE(pf.HeaderData()->setProperty("Title1", QStringLiteral("Título")));
    EXPECT_EQ(pf.HeaderData()->Title1(), QStringLiteral("Título"));
    EXPECT_FALSE(pf.setProperty("PRow", 3)); // read-only

    // Assigning another header or options object copies its values.
    THeaderData other;
    other.SetFirstPage(5);
    other.setProperty("ColHeader2", QStringLiteral("Cliente"));
    THeaderData* own = pf.HeaderData();
    pf.SetHeaderData(&other);
    EXPECT_EQ(pf.HeaderData(), own);
    EXPECT_EQ(own->FirstPage(), 5);
    EXPECT_EQ(own->ColHeader2(), QStringLiteral("Cliente"));
    TPrintWin win;
    win.SetLineSpace(12);
    win.SetFont(QFont(QStringLiteral("Liberation Mono")));
    pf.SetWindows(&win);
    EXPECT_EQ(pf.Windows()->LineSpace(), 12);
    EXPECT_EQ(pf.Windows()->Font().family(), QStringLiteral("Liberation Mono"));
}

TEST(TPrintFast, DestructionRemovesTheOutputFileOnlyWhenPreviewingOrPrintingGraphically)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("saida.txt"));
    const struct {
        bool preview;
        bool forWindows;
        bool removed;
    } cases[] = {{false, false, false}, {true, false, true}, {false, true, true}, {true, true, true}};
    for (const auto& c : cases) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        TPrintFast::SetOutputFileName(file);
        {
            TPrintFast pf;
            pf.SetPreview(c.preview);
            pf.Windows()->SetPrintForWindows(c.forWindows);
        }
        EXPECT_EQ(!QFile::exists(file), c.removed) << c.preview << c.forWindows;
    }
    TPrintFast::SetOutputFileName(QString());
    TPrintFast previewWithoutFile; // nothing to remove, nothing fails
    previewWithoutFile.SetPreview(true);
}

} // namespace
