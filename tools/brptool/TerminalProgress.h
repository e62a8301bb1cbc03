#pragma once
// Progress of a long command, on one line of the terminal rewritten in place
// (stderr). Silent when asked to be quiet and whenever stderr is not a
// terminal: progress never ends up in a pipe or a file.

#include <QElapsedTimer>
#include <QString>

class TerminalProgress {
public:
    explicit TerminalProgress(bool quiet);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    bool Enabled() const { return m_enabled; }
    // Shows `text` in place of the line shown before, at most ten times a
    // second unless `now`.
    void Show(const QString& text, bool now = false);
    // Ends the line, if one is shown, so that what follows starts afresh.
    void Done();

private:
    bool m_enabled;
    bool m_shown = false;
    qsizetype m_width = 0;
    QElapsedTimer m_timer;
};
