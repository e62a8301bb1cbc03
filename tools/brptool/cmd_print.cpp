// brptool print: replays a saved-report file onto a printer through the
// report engine's output target, as the preview's print button does.
#include "BrpCommand.h"
#include "BRPrntr.h"
#include "PlatformError.h"
#include "PrinterService.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace {
int fail(const QString& text, int code = 1)
{
    std::fprintf(stderr, "brptool print: %s\n", qPrintable(text));
    return code;
}

// "A-B", "A-", "-B" or "A"; 0 stands for no bound.
bool parseRange(const QString& text, int& first, int& last)
{
    static const QRegularExpression re(QStringLiteral("^(\\d*)(-?)(\\d*)$"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch() || (m.captured(1).isEmpty() && m.captured(3).isEmpty()))
        return false;
    bool ok = true;
    first = m.captured(1).isEmpty() ? 0 : m.captured(1).toInt(&ok);
    if (!ok || (!m.captured(1).isEmpty() && first < 1))
        return false;
    last = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt(&ok);
    if (!ok || (!m.captured(3).isEmpty() && last < 1))
        return false;
    if (m.captured(2).isEmpty())
        last = first; // a single page
    return !(first && last && first > last);
}

int runPrint(const QStringList& args)
{
    QString file, printerName;
    int first = 0, last = 0, copies = 0;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--printer") && hasValue) {
            printerName = args[++i];
        } else if (a == QLatin1String("--pages") && hasValue) {
            if (!parseRange(args[++i], first, last))
                return fail(QStringLiteral("bad page range '%1' (use A-B, A-, -B or A)").arg(args[i]), 2);
        } else if (a == QLatin1String("--copies") && hasValue) {
            bool ok = false;
            copies = args[++i].toInt(&ok);
            if (!ok || copies < 1 || copies > 999)
                return fail(QStringLiteral("bad number of copies '%1'").arg(args[i]), 2);
        } else if (!a.startsWith(QLatin1String("--")) && file.isEmpty()) {
            file = a;
        } else {
            return fail(QStringLiteral("unexpected argument '%1'\nusage: brptool print FILE.BRP [--printer NAME] "
                                       "[--pages A-B] [--copies N]").arg(a), 2);
        }
    }
    if (file.isEmpty())
        return fail(QStringLiteral("no file given\nusage: brptool print FILE.BRP [--printer NAME] [--pages A-B] "
                                   "[--copies N]"), 2);
    if (!QFileInfo(file).isFile())
        return fail(QStringLiteral("%1: no such file").arg(file));

    try {
        TBRPrinter target(nullptr);
        if (!target.HasPrinters())
            return fail(QStringLiteral("no printer is installed"));
        const QStringList names = target.Printer()->Printers();
        if (!printerName.isEmpty()) {
            const int index = names.indexOf(printerName);
            if (index < 0)
                return fail(QStringLiteral("printer '%1' not found (printers: %2)").arg(printerName, names.join(u", ")));
            target.SetPrinterIndex(index);
        }
        // The printer is chosen first: choosing it re-reads its settings.
        target.LoadReportFile(file);
        // Pages past the end would come out as blank sheets, or nothing at all
        // would be printed while the command says it was.
        if (first > target.PageTotal() || last > target.PageTotal())
            return fail(QStringLiteral("pages %1-%2 are not all in %3 (it has %4 pages)")
                            .arg(first ? first : 1).arg(last ? last : target.PageTotal())
                            .arg(file).arg(target.PageTotal()));
        if (copies > 0) {
            target.SetCopies(copies);
            if (target.Copies() != copies)
                std::fprintf(stderr, "brptool print: the printer takes no copy count; printing once\n");
        }
        target.SetFirstPage(first);
        target.SetLastPage(last);
        target.SetJobTitle(QFileInfo(file).completeBaseName());
        target.PrintReport();
        const int from = first ? first : 1;
        const int to = last ? last : target.PageTotal();
        std::printf("printed pages %d-%d of %d from %s on %s\n", from, to, target.PageTotal(), qPrintable(file),
                    qPrintable(names.value(target.PrinterIndex())));
    } catch (const PlatformError& e) {
        return fail(e.Message());
    }
    return 0;
}
} // namespace

static BrpCommandRegistrar reg("print",
                               "print FILE.BRP [--printer NAME] [--pages A-B] [--copies N]   print a saved report",
                               runPrint);
