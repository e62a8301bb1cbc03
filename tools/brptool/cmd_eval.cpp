// brptool eval: evaluate an expression, optionally over sample data, so that a
// report author can try it before putting it in a report.
#include "BrpCommand.h"
#include "BRExpr.h"
#include "CsvDataSet.h"

#include <QLocale>

#include <cstdio>
#include <memory>
#include <new>
#include <vector>

namespace {

void printValue(const QString& prefix, const TBREvValue& v)
{
    const QString text = v.ValueKind == evError ? v.TextValue : ValueToText(v);
    std::printf("%s%s %s\n", qPrintable(prefix), qPrintable(brp::ValueKindName(v.ValueKind)), text.toUtf8().constData());
}

int usageError(const char* message)
{
    std::fprintf(stderr, "brptool eval: %s\nusage: brptool eval [--locale NAME] [--data NAME=FILE.csv]... 'EXPR'\n",
                 message);
    return 2;
}

int runEval(const QStringList& args)
{
    QString expression;
    bool haveExpression = false;
    std::vector<std::unique_ptr<TMemDataSet>> dataSets;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == u"--data" || a == u"--locale") {
            if (i + 1 >= args.size())
                return usageError("option needs a value");
            const QString value = args[++i];
            if (a == u"--locale") {
                // An unknown name gives the C locale: refuse it rather than
                // format every value in a locale nobody asked for.
                const QLocale locale(value);
                if (locale == QLocale::c() && value.compare(u"C", Qt::CaseInsensitive) != 0 && value != u"POSIX")
                    return usageError("unknown locale name");
                brp::SetExpressionLocale(locale);
                continue;
            }
            const qsizetype eq = value.indexOf(u'=');
            if (eq <= 0)
                return usageError("--data wants NAME=FILE.csv");
            auto ds = std::make_unique<TMemDataSet>();
            ds->SetName(value.left(eq));
            QString error;
            try {
                error = brp::LoadCsvDataSet(value.mid(eq + 1), *ds);
            } catch (const std::bad_alloc&) {
                error = QStringLiteral("out of memory loading \"%1\"").arg(value.mid(eq + 1));
            }
            if (!error.isEmpty()) {
                std::fprintf(stderr, "brptool eval: %s\n", error.toUtf8().constData());
                return 1;
            }
            dataSets.push_back(std::move(ds));
        } else if (!haveExpression) {
            expression = a;
            haveExpression = true;
        } else {
            return usageError("more than one expression given");
        }
    }
    if (!haveExpression)
        return usageError("no expression given");

    // Started again so that AppStartDate and AppStartTime read in the locale
    // chosen above, not in the one the tool started with.
    brp::StopExpressionEngine();
    brp::StartExpressionEngine(QStringLiteral("brptool"));
    // The names every report has, at their values before the first page.
    TBREvEnvironment report;
    report.Define(QStringLiteral("PAGENUMBER"), QStringLiteral("0"));
    report.Define(QStringLiteral("COLUMNNUMBER"), QStringLiteral("0"));
    report.Define(QStringLiteral("REPORTTITLE"), QStringLiteral("''"));

    TBRDataSetList list;
    for (const auto& ds : dataSets)
        list << ds.get();
    report.UseDataSets(&list);

    int rc = 0;
    try {
        report.CompileAll();
        TBREvaluator evaluator;
        evaluator.UseDataSets(dataSets.empty() ? nullptr : &list);
        evaluator.SetScope(&report);
        evaluator.Compile(expression);
        if (dataSets.empty()) {
            printValue(QString(), evaluator.CurrentValue());
        } else {
            // Walk the first data set's rows; the others stay on their first row.
            TMemDataSet& walked = *dataSets.front();
            int row = 0;
            for (walked.First(); !walked.Eof(); walked.Next()) {
                evaluator.Accumulate();
                printValue(QStringLiteral("row %1: ").arg(++row), evaluator.CurrentValue());
            }
            if (row == 0)
                printValue(QStringLiteral("no rows: "), evaluator.CurrentValue());
        }
        evaluator.Release();
        report.ReleaseAll();
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "brptool eval: %s\n", e.Message().toUtf8().constData());
        rc = 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "brptool eval: out of memory\n");
        rc = 1;
    }
    return rc;
}

BrpCommandRegistrar reg("eval", "eval [--locale L] [--data NAME=FILE.csv]... EXPR   evaluate, per row of the first data set", runEval);

} // namespace
