#pragma once
// The demo database in a private database folder, where the program looks on
// its first start: dados/Kavrano.gdb, and the alias Kavrano naming it.

#include "DemoDatabase.h"
#include "TempFirebird.h"

#include <QDir>

namespace brp {

inline QString DemoDatabasePath(const TempFirebirdDir& dir)
{
    return dir.path(QStringLiteral("dados/Kavrano.gdb"));
}

inline void CreateDemoDatabase(const TempFirebirdDir& dir, const DemoDatabase::Options& options, bool withAlias = true)
{
    QDir().mkpath(dir.path(QStringLiteral("dados")));
    DemoDatabase::Create(DemoDatabasePath(dir), options);
    if (withAlias)
        dir.writeAliases(QStringLiteral("[Kavrano]\nDRIVER=INTRBASE\nSERVER NAME=%1\nUSER NAME=SYSDBA\n")
                             .arg(DemoDatabasePath(dir)));
}

} // namespace brp
