#pragma once
// The database engine's configuration file: named aliases with their driver
// and parameters, plus a map that turns Windows drive paths into local ones.
//
// Location: $XDG_CONFIG_HOME/pedidos/aliases.conf (~/.config/pedidos/...).
// Format: "[Alias]" sections of NAME=value lines; names are matched without
// regard to case; lines starting with '#' or ';' are comments. The section
// "[Path map]" holds "drive path prefix=local path prefix" lines, e.g.
//
//   [Kavrano]
//   DRIVER=INTRBASE
//   SERVER NAME=/home/ana/.local/share/pedidos/kavrano.fdb
//   USER NAME=SYSDBA
//
//   [Path map]
//   C:\=/home/ana/.local/share/pedidos/
//
// The file is read at every use, so edits take effect on the next connect.

#include "ParameterList.h"

#include <QString>
#include <optional>

namespace AliasConfig {

QString FilePath();

// The alias's parameters (without the section line); none when unknown or
// when the file is missing.
std::optional<ParameterList> AliasParams(const QString& alias);

// A location as the client library should see it: a path that starts with a
// mapped prefix (compared without regard to case) gets the local prefix and
// forward slashes; anything else is returned unchanged.
QString MapLocation(const QString& location);

// MapLocation, failing with a DatabaseError that says so when a drive path
// ("C:\...") has no entry in the map: such a path names no file here.
QString ResolveLocation(const QString& location);

}
