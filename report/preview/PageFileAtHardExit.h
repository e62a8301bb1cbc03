#pragma once
// The temporary page file of a run's output target must not outlive the
// process, even when the process ends without closing its windows (Qt ends it
// at once when the display goes).

class QObject;
class TBRPrinter;

// While `owner` (the window showing the target) lives, a hard exit removes
// the target's temporary page file, if it has one.
void RemovePageFileAtHardExit(QObject* owner, TBRPrinter* target);
