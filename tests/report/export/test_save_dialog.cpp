// The preview's save dialog offers the filters after the saved-report file;
// each choice writes its file, and a failed export says so.
#include "ListingFixture.h"
#include "RecordingDialogService.h"
#include "RecordingMessageService.h"
#include "TBRStandardPreview.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

namespace {
// Runs `act` on the preview window once the report's pages are all there,
// then closes the window (Preview returns then).
void inThePreview(TCustomBandReport& report, const std::function<void(TBRStandardPreview&)>& act)
{
    bool done = false;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<TBRStandardPreview*>(w);
            if (done || !window || !window->isVisible() || !window->BRPrinter() ||
                window->BRPrinter()->State() != jsFinished || !report.Available())
                continue;
            done = true;
            act(*window);
            window->ExitClick();
        }
    });
    timer.start();
    report.Preview();
    EXPECT_TRUE(done);
}
} // namespace

TEST_F(ListingTest, SaveDialogExportsThroughEachFilter)
{
    RecordingDialogService dialogs;
    RecordingMessageService messages;
    const QList<Pedido> rows = pedidos(60);
    TCustomBandReport& r = listing(rows);
    r.OnPreview = nullptr;
    const QStringList names{path(QStringLiteral("a.pdf")), path(QStringLiteral("a.csv")), path(QStringLiteral("a.txt"))};
    inThePreview(r, [&](TBRStandardPreview& window) {
        for (int k = 0; k < names.size(); ++k) {
            dialogs.QueueAnswer(names[k], 2 + k);
            window.SaveClick();
        }
        dialogs.QueueAnswer(path(QStringLiteral("missing/b.csv")), 3);
        window.SaveClick();
    });
    ASSERT_EQ(dialogs.Requests().size(), 4);
    EXPECT_EQ(dialogs.Requests()[0].filter,
              QStringLiteral("Report file(*.BRP)|*.BRP|PDF document (*.pdf)|*.pdf|Comma-separated values (*.csv)|*.csv|"
                             "Plain text (*.txt)|*.txt"));
    EXPECT_TRUE(readAll(names[0]).startsWith("%PDF-"));
    EXPECT_TRUE(readAll(names[1]).contains(rows.last().nome.toUtf8()));
    EXPECT_EQ(readAll(names[2]).count('\f') + 1, 2) << "two pages";
    ASSERT_EQ(messages.Messages().size(), 1) << "only the failure is reported";
    EXPECT_TRUE(messages.Messages()[0].text.contains(QStringLiteral("was not exported"))) << messages.Messages()[0].text.toStdString();
    EXPECT_TRUE(messages.Messages()[0].text.contains(QStringLiteral("Cannot create")));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("missing"))));
}
