#pragma once
// Stopping the program from outside: SIGTERM (a session ending), SIGINT
// (Ctrl+C), SIGHUP (its terminal gone) and the loss of the display
// connection. A stop ends every event loop, the main one and the nested ones
// (modal boxes, the preview's wait, a print run's), by closing every window:
// the preview gives its pages back and deletes its spilled store, a run under
// way is cancelled. The program then returns from its message loop.

#include <functional>

class QObject;

namespace ProgramStop {

// Handles the three signals and watches the display connection from now on.
// Needs the application object. Called again, it takes the signals back from
// whatever handler was installed since.
void Install();

// Stops as a signal does; exitCode is what the message loop returns.
void Stop(int exitCode);

// Work that must be done even when the process ends without a stop: when
// the display goes, Qt may end the process at once (with exit()), before the
// stop could close the windows. Only what is safe while the process exits,
// such as removing a file; withdrawn when `owner` is destroyed.
void AtHardExit(QObject* owner, std::function<void()> work);

bool Requested();
// 128 + the signal's number, 1 for a lost display; 0 while not stopped.
int ExitCode();

} // namespace ProgramStop
