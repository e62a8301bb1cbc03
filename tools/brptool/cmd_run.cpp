// brptool run: generates a report from its definition over CSV data and saves
// the pages (a saved-report file), or writes them through the export filter
// of the output's extension (.pdf, .csv, .txt).
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
#include "TerminalProgress.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <new>

namespace {

int usageError(const char* message)
{
    std::fprintf(stderr,
                 "brptool run: %s\nusage: brptool run FILE [--report NAME] [--data NAME=FILE.csv]... "
                 "--out OUT.BRP|OUT.pdf|OUT.csv|OUT.txt|- [--compress] [--quiet]\n",
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
    bool compress = false, quiet = false;
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
        } else if (a == u"--quiet") {
            quiet = true;
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
    const QString text = brp::DefinitionText(in.readAll());

    TerminalProgress progress(quiet);
    // What is being done, for a failure that does not say.
    QString doing = QStringLiteral("making the report");
    try {
        // The data sets are components of the form the report is read into,
        // so the definition's references find them by name. Every file is
        // read, and refused at its first bad line, before any output is made.
        TComponent form;
        form.SetName(QStringLiteral("Form"));
        for (const auto& [name, csv] : data) {
            doing = QStringLiteral("loading \"%1\"").arg(csv);
            auto* ds = new TMemDataSet(&form);
            ds->SetName(name);
            const QString label = QFileInfo(csv).fileName();
            const QString error = brp::LoadCsvDataSet(csv, *ds, [&](qint64 done, qint64 total) {
                const double mb = double(done) / (1 << 20);
                progress.Show(total > 0 ? QStringLiteral("loading %1: %2 %").arg(label).arg(done * 100 / total)
                                        : QStringLiteral("loading %1: %2 MB").arg(label).arg(mb, 0, 'f', 1));
            });
            if (!error.isEmpty()) {
                progress.Done();
                return fail(error);
            }
            progress.Show(QStringLiteral("loading %1: %2 rows").arg(label).arg(ds->RecordCount()), true);
            progress.Done();
        }
        doing = QStringLiteral("making the report");
        const DefinitionObject root = brp::ReadDefinition(text);
        const DefinitionObject* definition = BRReportReader::FindReport(root, reportName);
        if (!definition)
            return fail(reportName.isEmpty() ? QStringLiteral("\"%1\" holds no report").arg(file)
                                             : QStringLiteral("\"%1\" holds no report named %2").arg(file, reportName));
        std::unique_ptr<TCustomBandReport> report(BRReportReader::Read(*definition, &form));
        if (compress)
            report->SetOptions(int(report->Options() | Compression));
        // Pages go to a file, not to a preview: nobody searches their text.
        report->OnPreview = [](QObject* sender) {
            if (auto* target = qobject_cast<TBRPrinter*>(sender))
                target->PageList().SetIndexOnAppend(false);
        };
        if (progress.Enabled()) {
            TCustomBandReport* r = report.get();
            report->OnEndPage = [r, &progress](QObject*) { progress.Show(QStringLiteral("pages: %1").arg(r->PageNumber())); };
        }
        std::unique_ptr<TBRExportFilter> filter;
        if (exporter)
            filter = exporter->FilterClass(out);
        if (filter && !filter->TakesRecordedPages()) {
            // The filter takes the run itself: no pages are kept.
            report->ExportThrough(filter.get());
            progress.Show(QStringLiteral("pages: %1").arg(report->PageNumber()), true);
            progress.Done();
            if (!filter->Written())
                return fail(QStringLiteral("the export to \"%1\" did not complete").arg(out));
            brptool::reportWritten(out, QStringLiteral("%1 pages").arg(report->PageNumber()));
            return 0;
        }
        report->Preview();
        TBRPrinter* target = report->OutputTarget();
        if (!target || target->State() != jsFinished) {
            progress.Done();
            return fail(QStringLiteral("the report produced no pages"));
        }
        const int pages = target->PageTotal();
        progress.Show(QStringLiteral("pages: %1").arg(pages), true);
        progress.Done();
        if (!filter) {
            brptool::OutputPath path(out, QStringLiteral("BRP"));
            target->SaveReportFile(path.Path());
            QString error;
            if (!path.Finish(&error))
                return fail(error);
            brptool::reportWritten(out, QStringLiteral("%1 pages").arg(pages));
            return 0;
        }
        doing = QStringLiteral("writing \"%1\"").arg(out);
        const QString label = QFileInfo(out).fileName();
        filter->ExportPages(target->PageList(), [&](int page, int total) {
            progress.Show(QStringLiteral("writing %1: page %2 of %3").arg(label).arg(page).arg(total), page == total);
            return true;
        });
        progress.Done();
        if (!filter->Written())
            return fail(QStringLiteral("the export to \"%1\" did not complete").arg(out));
        brptool::reportWritten(out, QStringLiteral("%1 pages").arg(pages));
        return 0;
    } catch (const PlatformError& e) {
        progress.Done();
        return fail(e.Message());
    } catch (const std::bad_alloc&) {
        progress.Done();
        return fail(QStringLiteral("out of memory %1").arg(doing));
    } catch (const std::exception& e) {
        progress.Done();
        return fail(QString::fromLocal8Bit(e.what()));
    }
}

BrpCommandRegistrar reg("run",
                        "run FILE [--report NAME] --data NAME=FILE.csv... --out OUT.BRP|OUT.pdf|OUT.csv|OUT.txt|- "
                        "[--compress] [--quiet]",
                        runRun);

} // namespace
