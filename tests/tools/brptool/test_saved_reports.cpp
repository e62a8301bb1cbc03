// brptool info, extract, render, pdf and print on small files written by the
// page store.
#include "EmfSample.h"
#include "SavedReportFile.h"
#include "TBRPageList.h"

#include <QImage>
#include <QImageReader>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include "BrptoolRun.h"

namespace {

ToolRun brptool(const QStringList& args)
{
    const ToolRun r = brp::runBrptool(args);
    EXPECT_NE(r.exitCode, -1) << r.err.toStdString();
    return r;
}

class BrpTool : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("BRP_BINARY_DIR"))
            GTEST_SKIP() << "BRP_BINARY_DIR not set";
        pages = {emfsample::page(700, 1), brp::listingPage(QStringLiteral("Página dois")), emfsample::page(900, 3)};
        file = dir.filePath(QStringLiteral("r.BRP"));
        brp::writeSavedReport(file, pages, true);
    }
    QTemporaryDir dir;
    QString file;
    std::vector<QByteArray> pages;
};

} // namespace

TEST_F(BrpTool, InfoShowsHeaderRecordsAndChain)
{
    const ToolRun r = brptool({QStringLiteral("info"), file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("pages\\s+3\\n")))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("compressed\\s+yes")))) << r.out.toStdString();
    // Record 1 at 128, page 1; its metafile size is the page's.
    EXPECT_TRUE(r.out.contains(QRegularExpression(QStringLiteral("\\s1\\s+128\\s+1\\s+\\d+\\s+\\d+\\s+128\\s+%1\\n")
                                                      .arg(pages[0].size()))))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("consistent: 3 records"))) << r.out.toStdString();
}

TEST_F(BrpTool, ExtractWritesThePage)
{
    const QString out = dir.filePath(QStringLiteral("p2.emf"));
    const ToolRun r = brptool({QStringLiteral("extract"), file, QStringLiteral("2"), out});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), pages[1]);
}

TEST_F(BrpTool, BadFilesFailWithAMessage)
{
    QByteArray bytes;
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }
    QByteArray broken = bytes;
    qToLittleEndian<qint32>(broken.size() + 1000, broken.data() + 132); // page 1's next offset
    const QString brokenName = dir.filePath(QStringLiteral("broken.BRP"));
    {
        QFile f(brokenName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(broken);
    }
    // Page 2's next offset pointing back to page 1: inside the file, the wrong way.
    const QString backwardsName = dir.filePath(QStringLiteral("backwards.BRP"));
    {
        QByteArray b = bytes;
        qToLittleEndian<qint32>(128, b.data() + qFromLittleEndian<qint32>(b.constData() + 132) + 4);
        QFile f(backwardsName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    // A sparse file that starts like a metafile but is far too large for one.
    const QString hugeName = dir.filePath(QStringLiteral("huge.emf"));
    {
        QFile f(hugeName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(pages[0].left(88));
        ASSERT_TRUE(f.resize(300 * 1024 * 1024));
    }
    // A header whose first words are not 3 and 362.
    const QString wordsName = dir.filePath(QStringLiteral("words.BRP"));
    {
        QByteArray b = bytes;
        qToLittleEndian<quint16>(363, b.data() + 2);
        QFile f(wordsName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    // A one-page file whose compressed record holds bytes after the code.
    const QString paddedName = dir.filePath(QStringLiteral("padded.BRP"));
    {
        TBRPageList one;
        one.SetCompressed(true);
        one.SetStore(std::make_unique<TBRStream>(100000));
        one.AppendPage(pages[0]);
        one.WriteHeader();
        const QString oneName = dir.filePath(QStringLiteral("one.BRP"));
        one.WriteToFile(oneName);
        QFile in(oneName);
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        QByteArray b = in.readAll();
        b.insert(b.size() - 4, QByteArray(64, '\0'));
        qToLittleEndian<qint32>(b.size(), b.data() + 132); // page 1's next offset
        QFile f(paddedName);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    struct Case {
        QStringList args;
        const char* expected; // in stdout or stderr
    };
    const Case cases[] = {
        {{QStringLiteral("info"), brokenName}, "NOT consistent"},
        {{QStringLiteral("info"), wordsName}, "are 3 and 363, not 3 and 362"},
        {{QStringLiteral("info"), paddedName}, "the coder used"},
        {{QStringLiteral("info"), backwardsName}, "next offset 128 points backwards"},
        {{QStringLiteral("render"), backwardsName, dir.filePath(QStringLiteral("x.png")), QStringLiteral("--page"), QStringLiteral("2")}, "points backwards"},
        {{QStringLiteral("info"), dir.filePath(QStringLiteral("missing.BRP"))}, "cannot open"},
        {{QStringLiteral("extract"), brokenName, QStringLiteral("1"), dir.filePath(QStringLiteral("x.emf"))}, "Damaged"},
        {{QStringLiteral("extract"), file, QStringLiteral("4"), dir.filePath(QStringLiteral("x.emf"))}, "has no page 4"},
        {{QStringLiteral("render"), brokenName, dir.filePath(QStringLiteral("x.png"))}, "Damaged"},
        {{QStringLiteral("render"), file, dir.filePath(QStringLiteral("x.png")), QStringLiteral("--page"), QStringLiteral("9")}, "has no page 9"},
        {{QStringLiteral("render"), hugeName, dir.filePath(QStringLiteral("x.png"))}, "larger than"},
        {{QStringLiteral("pdf"), brokenName, dir.filePath(QStringLiteral("x.pdf"))}, "Damaged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ToolRun r = brptool(c.args);
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE((r.out + r.err).contains(QString::fromUtf8(c.expected))) << (r.out + r.err).toStdString();
    }
    for (const char* out : {"x.emf", "x.png", "x.pdf"})
        EXPECT_FALSE(QFile::exists(dir.filePath(QString::fromUtf8(out)))) << out;
}

TEST_F(BrpTool, RenderPaintsAPageOfAReportOrAnEmf)
{
    const QString emf = dir.filePath(QStringLiteral("p2.emf"));
    ASSERT_EQ(brptool({QStringLiteral("extract"), file, QStringLiteral("2"), emf}).exitCode, 0);
    struct Case {
        QStringList args;
        QSize size;
    };
    const Case cases[] = {
        {{QStringLiteral("render"), file, dir.filePath(QStringLiteral("a.png")), QStringLiteral("--page"), QStringLiteral("2")}, {794, 1123}},
        {{QStringLiteral("render"), emf, dir.filePath(QStringLiteral("b.png")), QStringLiteral("--zoom"), QStringLiteral("0.5")}, {397, 562}},
        // 7940 x 11230 is past the area cap: drawn smaller, in proportion.
        {{QStringLiteral("render"), emf, dir.filePath(QStringLiteral("c.png")), QStringLiteral("--zoom"), QStringLiteral("10")}, {6726, 9513}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ToolRun r = brptool(c.args);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.err.contains(QStringLiteral("too large")), c.size.width() > 794) << r.err.toStdString();
        const QSize size = QImageReader(c.args[2]).size();
        EXPECT_NEAR(size.width(), c.size.width(), 1);
        EXPECT_NEAR(size.height(), c.size.height(), 1);
        if (size.width() > 794)
            continue; // larger than Qt reads back by default
        const QImage image(c.args[2]);
        ASSERT_FALSE(image.isNull());
        EXPECT_NEAR(image.width(), c.size.width(), 1);
        EXPECT_NEAR(image.height(), c.size.height(), 1);
        // The title's ink lies in the top band; the bottom of the page stays white.
        int dark = 0;
        for (int y = 0; y < image.height() / 10; ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        EXPECT_GT(dark, 50);
        EXPECT_EQ(image.pixel(image.width() / 2, image.height() - 5), qRgb(255, 255, 255));
    }
}

TEST_F(BrpTool, PdfKeepsTheText)
{
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    const ToolRun r = brptool({QStringLiteral("pdf"), file, pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(30000) || text.exitCode() != 0)
        GTEST_SKIP() << "pdftotext not available";
    const QString out = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("Página dois"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Pedido 5"))) << out.toStdString();
    EXPECT_EQ(out.count(QLatin1Char('\f')), 3) << "one PDF page per report page";
}

TEST_F(BrpTool, PrintRefusesPagesPastTheEnd)
{
    for (const char* range : {"4-5", "2-9", "7"}) {
        SCOPED_TRACE(range);
        const ToolRun r = brptool({QStringLiteral("print"), file, QStringLiteral("--pages"), QString::fromUtf8(range)});
        if (r.err.contains(QStringLiteral("no printer is installed")))
            GTEST_SKIP() << "no printer";
        EXPECT_EQ(r.exitCode, 1) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("it has 3 pages"))) << r.err.toStdString();
        EXPECT_FALSE(r.out.contains(QStringLiteral("printed"))) << r.out.toStdString();
    }
}
