#pragma once
// The brptool command table. A command file defines a function and registers it:
//
//   static int runInfo(const QStringList& args);   // args after the command name
//   static BrpCommandRegistrar reg("info", "info FILE.BRP   show header and page chain", runInfo);
//
// A command returns the process exit code; it prints errors to stderr itself.

#include <QStringList>
#include <functional>
#include <map>

struct BrpCommand {
    QString usage;
    std::function<int(const QStringList&)> run;
};

namespace brptool {

// Every registered command by name.
std::map<QString, BrpCommand>& commands();

} // namespace brptool

// Name and usage are UTF-8 literals in the command files.
struct BrpCommandRegistrar {
    BrpCommandRegistrar(const char* name, const char* usage, std::function<int(const QStringList&)> run)
    {
        brptool::commands()[QString::fromUtf8(name)] = BrpCommand{QString::fromUtf8(usage), std::move(run)};
    }
};
