// brptool view: opens the standard preview on a saved report, so that it can be
// looked at, printed (with the printer set-up), saved again or swapped for
// another file without the program or its database.
#include "BrpCommand.h"
#include "BrpOutput.h"
#include "BRPrntr.h"
#include "PlatformError.h"
#include "PrinterService.h"
#include "TBRPreview.h"
#include "TBRPrintDialog.h"
#include "TBRStandardPreview.h"
#include "TMetafile.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <cstdio>

namespace {

const char* const kUsage = "usage: brptool view FILE.BRP [--page N] [--screenshot OUT.png|- [--size WxH]]";

int fail(const QString& text, int code = 1)
{
    std::fprintf(stderr, "brptool view: %s\n", qPrintable(text));
    return code;
}

// The printer set-up the report would run: the print dialog on the
// application-wide printer, its choices copied into the target.
void printSetup(TBRPrinter& target)
{
    PrinterService& app = brp::ApplicationPrinter();
    if (target.PrinterIndex() >= 0)
        app.SetPrinterIndex(target.PrinterIndex());
    QString device, driver, port;
    DeviceModeHandle mode;
    app.GetPrinter(device, driver, port, mode);
    if (mode) {
        mode->dmOrientation = target.Orientation() == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
        app.SetPrinter(device, driver, port, mode);
    }
    TBRPrintDialog dialog;
    dialog.SetMinPage(1);
    dialog.SetMaxPage(target.PageTotal());
    dialog.SetFromPage(1);
    dialog.SetToPage(target.PageTotal());
    dialog.SetOptions(poPageNums | poWarning);
    dialog.SetCopies(target.Copies());
    if (!dialog.Execute())
        return;
    app.GetPrinter(device, driver, port, mode);
    const TBRPaperSize paper = target.PaperSize();
    if (app.PrinterIndex() != target.PrinterIndex()) {
        // Choosing a printer re-reads its defaults; the file keeps its paper.
        target.SetPrinterIndex(app.PrinterIndex());
        target.SetPaperSize(paper);
    }
    if (mode)
        target.SetOrientation(mode->dmOrientation == DMORIENT_LANDSCAPE ? poLandscape : poPortrait);
    target.SetCopies(dialog.Copies());
    const bool range = dialog.PrintRange() == prPageNums;
    target.SetFirstPage(range ? dialog.FromPage() : 0);
    target.SetLastPage(range ? dialog.ToPage() : 0);
}

int runView(const QStringList& args)
{
    QString file, screenshot;
    int page = 1;
    QSize size(900, 1000);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--page") && hasValue) {
            page = args[++i].toInt(&ok);
            ok = ok && page >= 1;
        } else if (a == QLatin1String("--screenshot") && hasValue) {
            screenshot = args[++i];
        } else if (a == QLatin1String("--size") && hasValue) {
            const QStringList wh = args[++i].split(u'x');
            ok = wh.size() == 2;
            if (ok)
                size = QSize(wh[0].toInt(&ok), wh[1].toInt());
            ok = ok && size.width() >= 200 && size.height() >= 150 && size.width() <= 8000 && size.height() <= 8000;
        } else if (!a.startsWith(QLatin1String("--")) && file.isEmpty()) {
            file = a;
        } else {
            return fail(QStringLiteral("unexpected argument '%1'\n%2").arg(a, QLatin1String(kUsage)), 2);
        }
        if (!ok)
            return fail(QStringLiteral("bad value '%1' for %2\n%3").arg(args[i], a, QLatin1String(kUsage)), 2);
    }
    if (file.isEmpty())
        return fail(QStringLiteral("no file given\n%1").arg(QLatin1String(kUsage)), 2);
    if (!QFileInfo(file).isFile())
        return fail(QStringLiteral("%1: no such file").arg(file));
    if (!screenshot.isEmpty())
        if (const int refused = brptool::checkOutput("brptool view", screenshot, {file}))
            return refused;

    TBRPrinter target(nullptr);
    try {
        target.LoadReportFile(file);
        // Every page is read now, so that a damaged one is refused here
        // rather than met while paging.
        for (int i = 1; i <= target.PageTotal(); ++i)
            target.FetchPage(i);
    } catch (const PlatformError& e) {
        return fail(QStringLiteral("%1: %2").arg(file, e.Message()));
    }
    if (page > target.PageTotal())
        return fail(QStringLiteral("%1 has no page %2 (it has %3)").arg(file).arg(page).arg(target.PageTotal()));
    target.SetJobTitle(QFileInfo(file).fileName());
    target.SetOnPrintSetup([&target](QObject*) { printSetup(target); });

    QPointer<TBRStandardPreview> window = TBRStandardPreview::CreatePreview(qApp, &target);
    window->resize(size);
    window->PrintSetup->setEnabled(target.HasPrinters());
    window->show();
    window->ZoomToWidthClick();
    window->GotoPage(page);

    if (!screenshot.isEmpty()) {
        QApplication::processEvents();
        const QPixmap picture = window->grab();
        delete window.data();
        QString error;
        if (!brptool::writePng(screenshot, picture.toImage(), &error))
            return fail(error);
        brptool::reportWritten(screenshot, QStringLiteral("page %1 of %2").arg(page).arg(target.PageTotal()));
        return 0;
    }
    QObject::connect(window, &QObject::destroyed, qApp, &QCoreApplication::quit);
    QApplication::exec();
    return 0;
}

} // namespace

static BrpCommandRegistrar reg("view",
                               "view FILE.BRP [--page N] [--screenshot OUT.png|- [--size WxH]]   show a saved report",
                               runView);
