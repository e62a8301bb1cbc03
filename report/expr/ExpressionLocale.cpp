#include "ExpressionLocale.h"

namespace {
std::optional<QLocale>& pinnedLocale()
{
    static std::optional<QLocale> locale;
    return locale;
}
std::function<QDateTime()>& clockFunction()
{
    static std::function<QDateTime()> clock;
    return clock;
}
} // namespace

namespace brp {

QLocale ExpressionLocale()
{
    return pinnedLocale() ? *pinnedLocale() : QLocale();
}

void SetExpressionLocale(std::optional<QLocale> locale)
{
    pinnedLocale() = std::move(locale);
}

} // namespace brp

std::optional<QLocale> ScopedExpressionLocale::CurrentOverride()
{
    return pinnedLocale();
}

namespace brp {

QDateTime ExpressionNow()
{
    return clockFunction() ? clockFunction()() : QDateTime::currentDateTime();
}

void SetExpressionClock(std::function<QDateTime()> clock)
{
    clockFunction() = std::move(clock);
}

QString LongTimeText(const QTime& time, const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    // Drop the time-zone letters and the blanks around them.
    QString cleaned;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        cleaned += c;
    }
    return locale.toString(time, cleaned.trimmed());
}

QString ShortDateText(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

} // namespace brp
