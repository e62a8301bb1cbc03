#pragma once
// What a fresh installation lacks on its first start: the demo database in
// $XDG_DATA_HOME/pedidos and the alias file in $XDG_CONFIG_HOME/pedidos that
// names it. Made only when the program starts with neither an alias file nor
// a location file in its working directory; an alias file that exists, even
// one naming a missing database, is left to the usual start-up and its
// fallback.
//
// Only the program itself enables this (main): tests and benchmarks that build
// the window never make a database behind their own back.

#include <QString>

class QWidget;
class TStatusBar;

namespace FirstStartSetup {

// Orders in the demo database, as `pedidos-demo-db` makes it by default.
constexpr int DemoOrders = 2000;

void Enable(bool enabled = true);
bool Enabled();

QString DemoDatabasePath();
QString AliasFilePath();

// Whether a start from `workingDir` finds nothing to connect to.
bool Needed(const QString& workingDir);

// The alias file's text for a demo database in `dataDir` (absolute, no
// trailing slash).
QString AliasFileText(const QString& dataDir);

// Makes what is missing (an existing database file is kept). Raises
// PlatformError with the reason when it cannot; then nothing is left behind.
void Run();

// The window's hook: when enabled and needed, shows `window` with a message in
// the status bar's first panel while the set-up runs (the window repaints and
// ignores input meanwhile), and reports a failure in a message box. Start-up
// then goes on as usual.
void RunIfNeeded(QWidget* window, TStatusBar* statusBar);

}
