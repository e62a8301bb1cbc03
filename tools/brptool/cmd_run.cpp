// brptool run: generates a report from its definition over CSV data and saves
// the pages (a saved-report file), or writes them through the export filter
// of the output's extension (.pdf, .csv, .txt).
#include "BRControlClasses.h"
#include "BRReportReader.h"
#include "BrpOutput.h"
#include "BrpCommand.h"
#include "CsvDataSet.h"
#include "EBRError.h"
#include "TBRExportFilter.h"
#include "TBRPageList.h"
#include "TBRPrinter.h"
#include "TComponent.h"
#include "TCustomBandReport.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

int usageError(const char* message)
{
    std::fprintf(stderr,
                 "brptool run: %s\nusage: brptool run FILE [--report NAME] [--data NAME=FILE.csv]... "
                 "--out OUT.BRP|OUT.pdf|OUT.csv|OUT.txt|- [--compress]\n",
                 message);
    return 2;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "brptool run: %s\n", message.toUtf8().constData());
    return 1;
}

// Before any work: an output that is one of the run's inputs, or a device.
int checkRunOutput(const QString& definition, const QList<QPair<QString, QString>>& data, const QString& out)
{
    QStringList inputs{definition};
    for (const auto& item : data)
        inputs << item.second;
    return brptool::checkOutput("brptool run", out, inputs);
}

int runRun(const QStringList& args)
{
    QString file, reportName, out;
    bool compress = false;
    QList<QPair<QString, QString>> data;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--report" || a == u"--data" || a == u"--out") {
            if (i + 1 >= args.size())
                return usageError("option needs a value");
            const QString value = args[++i];
            if (a == u"--report") {
                reportName = value;
            } else if (a == u"--out") {
                out = value;
            } else {
                const qsizetype eq = value.indexOf(u'=');
                if (eq <= 0 || eq == value.size() - 1)
                    return usageError("--data wants NAME=FILE.csv");
                data.append({value.left(eq), value.mid(eq + 1)});
            }
        } else if (a == u"--compress") {
            compress = true;
        } else if (a.startsWith(u"--")) {
            return usageError("unknown option");
        } else if (file.isEmpty()) {
            file = a;
        } else {
            return usageError("one definition file only");
        }
    }
    if (file.isEmpty() || out.isEmpty())
        return usageError("a definition file and --out are needed");
    if (const int refused = checkRunOutput(file, data, out))
        return refused;
    // Any output but a saved-report file goes through its export filter.
    const TBRExportFilterLibrary::Entry* exporter = ExportFilterLibrary().FindByExtension(QFileInfo(out).suffix());

    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read \"%1\": %2").arg(file, in.errorString()));
    const QString text = DefinitionText(in.readAll());

    // The data sets are components of the form the report is read into, so
    // the definition's references find them by name.
    TComponent form;
    form.SetName(QStringLiteral("Form"));
    for (const auto& [name, csv] : data) {
        auto* ds = new TMemDataSet(&form);
        ds->SetName(name);
        const QString error = LoadCsvDataSet(csv, *ds);
        if (!error.isEmpty())
            return fail(error);
    }
    try {
        RegisterReportControlClasses();
        const DefinitionObject root = ReadDefinition(text);
        const DefinitionObject* definition = BRReportReader::FindReport(root, reportName);
        if (!definition)
            return fail(reportName.isEmpty() ? QStringLiteral("\"%1\" holds no report").arg(file)
                                             : QStringLiteral("\"%1\" holds no report named %2").arg(file, reportName));
        std::unique_ptr<TCustomBandReport> report(BRReportReader::Read(*definition, &form));
        if (compress)
            report->SetOptions(int(report->Options() | Compression));
        report->OnPreview = [](QObject*) {};
        if (isatty(fileno(stderr))) {
            TCustomBandReport* r = report.get();
            report->OnEndPage = [r](QObject*) { std::fprintf(stderr, "\rpages: %d", r->PageNumber); };
        }
        std::unique_ptr<TBRExportFilter> filter;
        if (exporter)
            filter = exporter->FilterClass(out);
        if (filter && !filter->TakesRecordedPages()) {
            // The filter takes the run itself: no pages are kept.
            report->ExportThrough(filter.get());
            if (isatty(fileno(stderr)))
                std::fprintf(stderr, "\n");
            if (!filter->Written())
                return fail(QStringLiteral("the export to \"%1\" did not complete").arg(out));
            brptool::reportWritten(out, QStringLiteral("%1 pages").arg(report->PageNumber));
            return 0;
        }
        report->Preview();
        if (isatty(fileno(stderr)))
            std::fprintf(stderr, "\n");
        TBRPrinter* target = report->OutputTarget();
        if (!target || target->State != jsFinished)
            return fail(QStringLiteral("the report produced no pages"));
        const int pages = target->PageTotal;
        if (!filter) {
            brptool::OutputPath path(out, QStringLiteral("BRP"));
            target->SaveReportFile(path.Path());
            QString error;
            if (!path.Finish(&error))
                return fail(error);
            brptool::reportWritten(out, QStringLiteral("%1 pages").arg(pages));
            return 0;
        }
        target->RunExport(filter.get());
        if (!filter->Written())
            return fail(QStringLiteral("the export to \"%1\" did not complete").arg(out));
        brptool::reportWritten(out, QStringLiteral("%1 pages").arg(pages));
        return 0;
    } catch (const PlatformError& e) {
        return fail(e.Message());
    } catch (const std::exception& e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }
}

BrpCommandRegistrar reg("run", "run FILE [--report NAME] --data NAME=FILE.csv... --out OUT.BRP|OUT.pdf|OUT.csv|OUT.txt|- [--compress]",
                        runRun);

} // namespace
