#include "Convert.h"

#include "Clock.h"
#include "EConvertError.h"

#include <QStringList>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Digits only, at most `maxDigits` of them; -1 when not a plain number.
int plainNumber(const QString& part, int maxDigits)
{
    const QString t = part.trimmed();
    if (t.isEmpty() || t.size() > maxDigits)
        return -1;
    int value = 0;
    for (QChar c : t) {
        if (!isAsciiDigit(c))
            return -1;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

} // namespace

namespace brp {

int StrToInt(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    int start = (t.startsWith(u'-') || t.startsWith(u'+')) ? 1 : 0;
    bool digitsOnly = t.size() > start;
    for (int i = start; i < t.size(); ++i)
        if (!isAsciiDigit(t[i]))
            digitsOnly = false;
    if (digitsOnly)
        value = t.toInt(&ok);
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

QDate StrToDate(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'/');
    QDate result;
    if (parts.size() == 3) {
        const int day = plainNumber(parts[0], 2);
        const int month = plainNumber(parts[1], 2);
        const QString yearText = parts[2].trimmed();
        int year = plainNumber(yearText, 4);
        if (year >= 0 && yearText.size() <= 2)
            year += Clock::Today().year() / 100 * 100;
        if (day > 0 && month > 0 && year > 0)
            result = QDate(year, month, day);
    }
    if (!result.isValid())
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return result;
}

} // namespace brp
