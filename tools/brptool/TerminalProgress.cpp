#include "TerminalProgress.h"

#include <cstdio>
#include <unistd.h>

TerminalProgress::TerminalProgress(bool quiet) : m_enabled(!quiet && isatty(fileno(stderr)) == 1) {}

TerminalProgress::~TerminalProgress()
{
    Done();
}

void TerminalProgress::Show(const QString& text, bool now)
{
    if (!m_enabled)
        return;
    if (!now && m_shown && m_timer.isValid() && m_timer.elapsed() < 100)
        return;
    m_timer.start();
    // Blanks over the rest of a longer line shown before.
    const qsizetype pad = std::max<qsizetype>(0, m_width - text.size());
    std::fprintf(stderr, "\r%s%*s", text.toLocal8Bit().constData(), int(pad), "");
    std::fflush(stderr);
    m_width = text.size();
    m_shown = true;
}

void TerminalProgress::Done()
{
    if (!m_shown)
        return;
    std::fprintf(stderr, "\n");
    m_shown = false;
    m_width = 0;
}
