#pragma once
// Everything about how this process reaches the Firebird client library lives
// here: the master interface, the per-user lock directory of the embedded
// engine, and which provider serves a given database location.
//
// Debian's libfbclient2 looks for its configuration, messages and plugins in
// /usr/lib/<arch>/firebird/3.0 (compiled in; the FIREBIRD variable overrides
// it). firebird3.0-server-core puts the embedded engine there as
// plugins/libEngine12.so, and the stock firebird.conf leaves "Providers" at
// its default, Remote,Engine12,Loopback, so the engine loads without a server.
// We do not rely on that order: every attachment names its provider in the
// DPB's configuration item ("Providers=Engine12" for a local file,
// "Providers=Remote" for "host:/path"), so a local file never waits on a
// network attempt and a server path never silently opens a local file.

#include <QString>

namespace Firebird { class IMaster; class IUtil; }

namespace FirebirdEnvironment {

// The client's master interface; prepares the environment on first use.
Firebird::IMaster* master();
Firebird::IUtil* util();

// The embedded engine keeps its lock files in one folder under the system's
// temporary directory, shared by every user; a lock folder left there by
// another user stops us from attaching. Unless FIREBIRD_LOCK is already set,
// point it at a private folder ($XDG_RUNTIME_DIR/firebird, or
// <temp>/firebird-<uid>). Runs once, before the first attachment. Separate
// lock folders are safe: an engine refuses a database file that an engine
// with another lock folder has open ("Database already opened with engine
// instance, incompatible with current").
void prepare();

// True for "host:/path", "host/port:path" and "inet://..." locations; a bare
// path or a drive-letter path ("C:\...") is a local file.
bool isRemoteLocation(const QString& location);

// The DPB configuration text choosing the provider for `location`.
QString providerConfig(const QString& location);

}
