// brptool view on saved reports: a good file opens in the standard preview (a
// screenshot of it is taken and the window closed), a damaged one is refused
// with the loader's message.
#include "BrptoolRun.h"
#include "PlatformError.h"
#include "SavedReportFile.h"
#include "TBRPageList.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

namespace {

class BrptoolView : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("BRP_BINARY_DIR"))
            GTEST_SKIP() << "BRP_BINARY_DIR not set";
        good = dir.filePath(QStringLiteral("listagem.BRP"));
        std::vector<QByteArray> pages;
        for (int i = 1; i <= 3; ++i)
            pages.push_back(brp::listingPage(QStringLiteral("Listagem página %1").arg(i)));
        brp::writeSavedReport(good, pages, false);
    }

    // A copy of the good file with `edit` applied to its bytes.
    QString damaged(const char* name, const std::function<void(QByteArray&)>& edit)
    {
        QFile in(good);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        QByteArray bytes = in.readAll();
        edit(bytes);
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }

    QTemporaryDir dir;
    QString good;
};

TEST_F(BrptoolView, OpensTheFileInThePreview)
{
    const QString png = dir.filePath(QStringLiteral("view.png"));
    const ToolRun r = brp::runBrptool({QStringLiteral("view"), good, QStringLiteral("--page"), QStringLiteral("2"), QStringLiteral("--screenshot"), png, QStringLiteral("--size"), QStringLiteral("700x800")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("page 2 of 3"))) << r.out.toStdString();
    QImage shot(png);
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size() / shot.devicePixelRatio(), QSize(700, 800));
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            dark += qGray(shot.pixel(x, y)) < 100;
    EXPECT_GT(dark, 1000); // the page's text and frame, the tool bar's glyphs
}

TEST_F(BrptoolView, RefusesBadInput)
{
    // Page 2's record claims a next record beyond the end of the file.
    const QString brokenChain = damaged("chain.BRP", [](QByteArray& b) {
        const qint32 page2 = qFromLittleEndian<qint32>(b.constData() + 128 + 4);
        qToLittleEndian<qint32>(b.size() + 1000, b.data() + page2 + 4);
    });
    const QString cut = damaged("cut.BRP", [](QByteArray& b) { b.truncate(b.size() / 2); });
    const QString notAReport = damaged("text.BRP", [](QByteArray& b) { b = "not a saved report\n"; });
    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{QStringLiteral("view"), brokenChain}, 1, brokenChain + QStringLiteral(": ")},
        {{QStringLiteral("view"), cut}, 1, cut + QStringLiteral(": ")},
        {{QStringLiteral("view"), notAReport}, 1, notAReport + QStringLiteral(": ")},
        {{QStringLiteral("view"), dir.filePath(QStringLiteral("none.BRP"))}, 1, QStringLiteral("no such file")},
        {{QStringLiteral("view"), good, QStringLiteral("--page"), QStringLiteral("4")}, 1, QStringLiteral("has no page 4")},
        {{QStringLiteral("view")}, 2, QStringLiteral("no file given")},
        {{QStringLiteral("view"), good, QStringLiteral("--page"), QStringLiteral("x")}, 2, QStringLiteral("bad value")},
        {{QStringLiteral("view"), good, QStringLiteral("--zoom"), QStringLiteral("2")}, 2, QStringLiteral("unexpected argument")},
    };
    for (const Case& c : cases) {
        const ToolRun r = brp::runBrptool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(QLatin1Char(' ')).toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
    // The damaged files' messages are the loader's own, after the file name.
    const ToolRun r = brp::runBrptool({QStringLiteral("view"), brokenChain});
    try {
        TBRPageList list;
        list.OpenFile(brokenChain);
        for (int i = 1; i <= list.Count(); ++i)
            list.FetchPage(i);
        ADD_FAILURE() << "the damaged file was read";
    } catch (const PlatformError& e) {
        EXPECT_TRUE(r.err.contains(e.Message())) << r.err.toStdString() << " / " << e.Message().toStdString();
    }
}

} // namespace
