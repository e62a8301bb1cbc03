#pragma once
// Stopping the program from outside: SIGTERM (a session ending), SIGINT
// (Ctrl+C), SIGHUP (its terminal gone) and the loss of the display
// connection. A stop ends every event loop, the main one and the nested ones
// (modal boxes, the preview's wait, a print run's), by closing every window:
// the preview gives its pages back and deletes its spilled store, a run under
// way is cancelled. The program then returns from its message loop.

namespace ProgramStop {

// Handles the three signals and watches the display connection from now on.
// Needs the application object. Called again, it takes the signals back from
// whatever handler was installed since.
void Install();

// Stops as a signal does; exitCode is what the message loop returns.
void Stop(int exitCode);

bool Requested();
// 128 + the signal's number, 1 for a lost display; 0 while not stopped.
int ExitCode();

} // namespace ProgramStop
