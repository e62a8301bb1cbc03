#pragma once
// Where the expression engine gets "the locale" (separators, date and time
// formats, letter case) and the current time. Both default to the system's and
// can be pinned, which tests and tools do.

#include <QDateTime>
#include <QLocale>
#include <functional>
#include <optional>

namespace brp {

// The locale in force: the pinned one, else QLocale() (the system locale unless
// the application set a default).
QLocale ExpressionLocale();
void SetExpressionLocale(std::optional<QLocale> locale);

// Current date and time; a null function restores the system clock.
QDateTime ExpressionNow();
void SetExpressionClock(std::function<QDateTime()> clock);

// The locale's long time format without its time-zone part: report times
// print as 14:05:09 or 2:05:09 PM, never with a zone name.
QString LongTimeText(const QTime& time, const QLocale& locale);
QString ShortDateText(const QDate& date, const QLocale& locale);

} // namespace brp

// Pins a locale for the lifetime of the object (tests).
class ScopedExpressionLocale {
public:
    explicit ScopedExpressionLocale(const QLocale& locale) : m_saved(CurrentOverride()) { brp::SetExpressionLocale(locale); }
    ~ScopedExpressionLocale() { brp::SetExpressionLocale(m_saved); }
    ScopedExpressionLocale(const ScopedExpressionLocale&) = delete;
    ScopedExpressionLocale& operator=(const ScopedExpressionLocale&) = delete;

private:
    static std::optional<QLocale> CurrentOverride();
    std::optional<QLocale> m_saved;
};
