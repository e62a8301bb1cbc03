#include "DateMask.h"
#include "ExpressionLocale.h"

namespace {

QString firstSeparator(const QString& format, const QString& fallback)
{
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && !c.isLetter() && !c.isSpace())
            return QString(c);
    }
    return fallback;
}

QString pad2(int v)
{
    return QString::number(v).rightJustified(2, u'0');
}

// Number of times the letter at i repeats (case-insensitive).
int runLength(const QString& m, qsizetype i)
{
    const QChar c = m[i].toLower();
    int n = 0;
    while (i + n < m.size() && m[i + n].toLower() == c)
        ++n;
    return n;
}

bool startsWithCI(const QString& m, qsizetype i, const char* word)
{
    return m.mid(i).startsWith(QLatin1String(word), Qt::CaseInsensitive);
}

} // namespace

namespace brp {

QString LocaleDateSeparator(const QLocale& locale)
{
    return firstSeparator(locale.dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
}

QString LocaleTimeSeparator(const QLocale& locale)
{
    return firstSeparator(locale.timeFormat(QLocale::ShortFormat), QStringLiteral(":"));
}

QString FormatDateTimeMask(const QString& mask, const QDateTime& value, const QLocale& locale)
{
    const QDateTime dt = value.isValid() ? value : QDateTime(QDate(1899, 12, 30), QTime(0, 0));
    const QDate date = dt.date();
    const QTime time = dt.time();
    // A marker anywhere in the mask switches the hours to the 12-hour clock.
    const bool twelveHour = mask.contains(QLatin1String("am/pm"), Qt::CaseInsensitive)
                            || mask.contains(QLatin1String("a/p"), Qt::CaseInsensitive)
                            || mask.contains(QLatin1String("ampm"), Qt::CaseInsensitive);
    const bool pm = time.hour() >= 12;

    QString out;
    bool lastWasHour = false;
    for (qsizetype i = 0; i < mask.size();) {
        const QChar c = mask[i];
        const QChar lc = c.toLower();
        bool hour = false;
        if (c == u'"' || c == u'\'') {
            const qsizetype end = mask.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? mask.size() : end;
            out += mask.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (startsWithCI(mask, i, "am/pm")) {
            const QString marker = pm ? QStringLiteral("pm") : QStringLiteral("am");
            const QString written = mask.mid(pm ? i + 3 : i, 2);
            out += written.at(0).isUpper() ? marker.toUpper() : marker;
            i += 5;
            continue;
        }
        if (startsWithCI(mask, i, "a/p")) {
            const QChar written = pm ? mask[i + 2] : mask[i];
            out += written;
            i += 3;
            continue;
        }
        if (startsWithCI(mask, i, "ampm")) {
            out += pm ? locale.pmText() : locale.amText();
            i += 4;
            continue;
        }
        const int n = runLength(mask, i);
        int used = n;
        if (lc == u'd') {
            switch (std::min(n, 6)) {
            case 1: out += QString::number(date.day()); break;
            case 2: out += pad2(date.day()); break;
            case 3: out += locale.dayName(date.dayOfWeek(), QLocale::ShortFormat); break;
            case 4: out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat); break;
            case 5: out += locale.toString(date, QLocale::ShortFormat); break;
            default: out += locale.toString(date, QLocale::LongFormat); break;
            }
            used = std::min(n, 6);
        } else if (lc == u'm') {
            used = std::min(n, 4);
            if (lastWasHour && used <= 2) {
                out += used == 1 ? QString::number(time.minute()) : pad2(time.minute());
            } else {
                switch (used) {
                case 1: out += QString::number(date.month()); break;
                case 2: out += pad2(date.month()); break;
                case 3: out += locale.monthName(date.month(), QLocale::ShortFormat); break;
                default: out += locale.monthName(date.month(), QLocale::LongFormat); break;
                }
            }
        } else if (lc == u'y') {
            used = std::min(n, 4);
            if (used <= 2)
                out += pad2(date.year() % 100);
            else
                out += QString::number(date.year()).rightJustified(4, u'0');
        } else if (lc == u'h') {
            used = std::min(n, 2);
            int h = time.hour();
            if (twelveHour) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            out += used == 1 ? QString::number(h) : pad2(h);
            hour = true;
        } else if (lc == u'n') {
            used = std::min(n, 2);
            out += used == 1 ? QString::number(time.minute()) : pad2(time.minute());
        } else if (lc == u's') {
            used = std::min(n, 2);
            out += used == 1 ? QString::number(time.second()) : pad2(time.second());
        } else if (lc == u'z') {
            used = n >= 3 ? 3 : 1;
            out += used == 1 ? QString::number(time.msec()) : QString::number(time.msec()).rightJustified(3, u'0');
        } else if (lc == u't') {
            used = std::min(n, 2);
            out += used == 1 ? locale.toString(time, QLocale::ShortFormat) : LongTimeText(time, locale);
        } else if (lc == u'c') {
            used = 1;
            out += locale.toString(date, QLocale::ShortFormat);
            if (time != QTime(0, 0))
                out += u' ' + LongTimeText(time, locale);
        } else if (c == u'/') {
            used = 1;
            out += LocaleDateSeparator(locale);
        } else if (c == u':') {
            used = 1;
            out += LocaleTimeSeparator(locale);
            hour = lastWasHour;
        } else {
            used = 1;
            out += c;
            // Blanks and separators keep an hour's claim on a following m.
            if (lastWasHour && !c.isLetterOrNumber())
                hour = true;
        }
        lastWasHour = hour;
        i += used;
    }
    return out;
}

} // namespace brp
