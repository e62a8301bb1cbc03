// brptool: inspect, extract, render and print saved-report files; evaluate
// expressions. Dispatches to the commands that registered themselves.
#include "BrpCommand.h"
#include "PlatformError.h"
#include "ReportEngine.h"

#include <QApplication>
#include <cstdio>
#include <exception>
#include <new>

namespace brptool {

std::map<QString, BrpCommand>& commands()
{
    static std::map<QString, BrpCommand> table;
    return table;
}

} // namespace brptool

static int usage()
{
    std::fprintf(stderr, "usage: brptool COMMAND [ARGS...]\ncommands:\n");
    for (const auto& [name, cmd] : brptool::commands())
        std::fprintf(stderr, "  %s\n", qPrintable(cmd.usage));
    return 2;
}

int main(int argc, char** argv)
{
    // Rendering and printing need a GUI application; without a display the
    // offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Report definitions may name any printable control; view opens the
    // standard preview.
    brp::StartReportEngine(QStringLiteral("brptool"));
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return usage();
    const QString name = args.takeFirst();
    auto it = brptool::commands().find(name);
    if (it == brptool::commands().end()) {
        std::fprintf(stderr, "brptool: unknown command '%s'\n", qPrintable(name));
        return usage();
    }
    // Whatever a command lets escape (out of memory included) is reported,
    // never an abort.
    const QByteArray command = name.toUtf8();
    try {
        return it->second.run(args);
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "brptool %s: %s\n", command.constData(), e.Message().toUtf8().constData());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "brptool %s: out of memory\n", command.constData());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "brptool %s: %s\n", command.constData(), e.what());
    } catch (...) {
        std::fprintf(stderr, "brptool %s: failed with an unexpected error\n", command.constData());
    }
    return 1;
}
