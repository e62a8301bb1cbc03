// From "&Imprimir" to the first page of the listing on screen, for a
// one-month period on a 100,000-order demo database, against the listing's
// statement alone run by isql-fb on the same file in the same run.
//
// The window is the program's own, on the offscreen platform: the click runs
// the date checks, opens the statement, starts the report and opens the
// preview; the clock stops when page 1 has been painted in it. isql-fb runs
// the same statement (its parameters written as literals) and prints every
// row to a pipe that is thrown away. Its start-up and connection are measured
// with a statement that reads one row and taken off, so the baseline is the
// statement's own cost; the figure with them left in is reported too.
//
// Both use the embedded engine, which holds the file for one process at a
// time, so the two take turns: isql-fb never runs while the window is open.
// The database is generated once into <temp>/pedidos-bench-<uid>/ and kept.
#include "ConsultaPedidos.h"
#include "DemoDatabase.h"
#include "ReportEngine.h"
#include "StatementText.h"
#include "TBRPrinter.h"
#include "TBRStandardPreview.h"
#include "TMaskEdit.h"
#include "UPrincipal.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

const QString kInicio = QStringLiteral("01/06/2020");
const QString kFim = QStringLiteral("30/06/2020");
constexpr int kPedidos = 100000;

QString database()
{
    const QString dir = QDir::tempPath() + QStringLiteral("/pedidos-bench-%1").arg(getuid());
    QDir().mkpath(dir);
    const QString path = dir + QStringLiteral("/pedidos-%1-idx.fdb").arg(kPedidos);
    if (!QFile::exists(path)) {
        const QString part = path + QStringLiteral(".part");
        QFile::remove(part);
        DemoDatabase::Options o;
        o.orders = kPedidos;
        DemoDatabase::Create(part, o);
        QFile::rename(part, path);
    }
    return path;
}

// The listing's statement with its period as dialect-1 date literals.
QString statementForIsql()
{
    StatementText sql;
    ConsultaPedidos::MontarInstrucao(sql, QString());
    QString text = sql.Lines().join(QLatin1Char('\n'));
    const QDate inicio = ConsultaPedidos::TextoParaData(kInicio);
    const QDate fim = ConsultaPedidos::TextoParaData(kFim);
    const QDate minima = ConsultaPedidos::DataMinima();
    const auto literal = [](const QDate& d) {
        return QLatin1Char('\'') + d.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
    };
    text.replace(QStringLiteral(":DataInicial"), literal(minima > inicio ? minima : inicio));
    text.replace(QStringLiteral(":DataFinal"), literal(fim));
    return text;
}

// Milliseconds for isql-fb to connect and run `statement`, its rows thrown away.
double runIsql(const QString& file, const QString& statement)
{
    QProcess isql;
    isql.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-u"), QStringLiteral("SYSDBA"), file});
    if (!isql.waitForStarted(10000))
        return -1;
    isql.write((QStringLiteral("SET HEADING OFF;\n") + statement + QStringLiteral(";\nQUIT;\n")).toUtf8());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(600000) || isql.exitCode() != 0) {
        std::fprintf(stderr, "isql-fb failed: %s\n", isql.readAllStandardError().constData());
        return -1;
    }
    return static_cast<double>(t.nsecsElapsed()) / 1e6;
}

struct Clique {
    double primeiraPagina = -1; // ms from the click to page 1 painted
    double ate = -1;            // ms from the click to the end of the run (if it ended first)
};

// Opens the window, presses "&Imprimir", and closes the preview once page 1 is painted.
Clique imprimir()
{
    TFPrincipal janela;
    janela.show();
    janela.DataIni->SetText(kInicio);
    janela.DataFim->SetText(kFim);
    Clique c;
    QElapsedTimer relogio;
    QTimer observador;
    observador.setInterval(0);
    QObject::connect(&observador, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* previa = qobject_cast<TBRStandardPreview*>(w);
            if (!previa || !previa->isVisible() || !previa->BRPrinter() || previa->BRPrinter()->PageTotal() < 1)
                continue;
            if (c.primeiraPagina < 0) {
                previa->repaint();
                c.primeiraPagina = static_cast<double>(relogio.nsecsElapsed()) / 1e6;
                if (previa->BRPrinter()->State() == jsFinished)
                    c.ate = c.primeiraPagina;
                previa->ExitClick();
            }
        }
    });
    observador.start();
    relogio.start();
    janela.BtImp->click();
    observador.stop();
    return c;
}

void BM_ImprimirFirstPage(benchmark::State& state)
{
    const QString file = database();
    const QString statement = statementForIsql();
    runIsql(file, statement); // warm the file cache for both
    double total = 0, isqlTotal = 0, isqlStart = 0;
    int runs = 0;
    for (auto _ : state) {
        const double start = runIsql(file, QStringLiteral("select 1 from rdb$database"));
        const double whole = runIsql(file, statement);
        const Clique c = imprimir();
        if (start < 0 || whole < 0 || c.primeiraPagina < 0) {
            state.SkipWithError("isql-fb or the preview failed");
            return;
        }
        state.SetIterationTime(c.primeiraPagina / 1000.0);
        total += c.primeiraPagina;
        isqlTotal += whole;
        isqlStart += start;
        ++runs;
    }
    const double statementOnly = (isqlTotal - isqlStart) / runs;
    state.counters["isql_ms"] = isqlTotal / runs;
    state.counters["isql_startup_ms"] = isqlStart / runs;
    state.counters["statement_ms"] = statementOnly;
    state.counters["x_statement"] = (total / runs) / statementOnly;
    state.counters["x_isql_total"] = total / isqlTotal;
}

}

BENCHMARK(BM_ImprimirFirstPage)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window finds its database through the alias file of a private
    // configuration folder, as the tests do.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QApplication app(argc, argv);
    brp::StartReportEngine(QCoreApplication::applicationName());
    QDir().mkpath(config.path() + QStringLiteral("/pedidos"));
    QFile aliases(config.path() + QStringLiteral("/pedidos/aliases.conf"));
    if (!aliases.open(QIODevice::WriteOnly) ||
        aliases.write(QStringLiteral("[Kavrano]\nDRIVER=INTRBASE\nSERVER NAME=%1\nUSER NAME=SYSDBA\n")
                          .arg(database())
                          .toUtf8()) < 0)
        return 1;
    aliases.close();
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
