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

std::map<QString, BrpCommand>& brpCommands();

struct BrpCommandRegistrar {
    BrpCommandRegistrar(const QString& name, const QString& usage, std::function<int(const QStringList&)> run)
    {
        brpCommands()[name] = BrpCommand{usage, std::move(run)};
    }
};
