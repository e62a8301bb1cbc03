#include "NumericMask.h"

#include <QStringList>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Decimal digits of |value| rounded to 15 significant digits: value is
// 0.DIGITS x 10^exponent. Zero gives empty digits.
struct DecimalDigits {
    QString digits;
    int exponent = 0;
};

DecimalDigits toDecimal(double value)
{
    DecimalDigits d;
    if (value == 0.0)
        return d;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    // buf: D.DDDDDDDDDDDDDDe[+-]XX
    QString mantissa;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            mantissa += QLatin1Char(*p);
    const int exp10 = *p == 'e' ? std::atoi(p + 1) : 0;
    while (mantissa.endsWith(u'0'))
        mantissa.chop(1);
    d.digits = mantissa;
    d.exponent = exp10 + 1;
    return d;
}

// Rounds to `decimals` places after the point, halves away from zero.
void roundDecimal(DecimalDigits& d, int decimals)
{
    if (d.digits.isEmpty())
        return;
    const int keep = d.exponent + decimals;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    if (keep >= d.digits.size())
        return;
    const bool up = d.digits[keep] >= u'5';
    QString kept = d.digits.left(keep);
    if (up) {
        int i = kept.size() - 1;
        while (i >= 0 && kept[i] == u'9') {
            kept[i] = u'0';
            --i;
        }
        if (i < 0) {
            kept.prepend(u'1');
            ++d.exponent;
        } else {
            kept[i] = QChar(kept[i].unicode() + 1);
        }
    }
    while (kept.endsWith(u'0'))
        kept.chop(1);
    d.digits = kept;
    if (d.digits.isEmpty())
        d.exponent = 0;
}

// One mask section, analysed.
struct Section {
    QString text;
    int intPlaceholders = 0;
    int intZeroFrom = -1;     // index (among integer placeholders) of the first '0'
    int decPlaceholders = 0;
    int decZeros = 0;         // placeholders after the point up to the last '0'
    bool thousands = false;
    bool scientific = false;
    int expDigits = 0;
};

bool isSciAt(const QString& s, int i)
{
    return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

Section analyse(const QString& text)
{
    Section s;
    s.text = text;
    bool afterPoint = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"' || c == u'\'') {
            const int end = text.indexOf(c, i + 1);
            i = end < 0 ? text.size() : end;
            continue;
        }
        if (s.scientific)
            continue;
        if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++s.decPlaceholders;
                if (c == u'0')
                    s.decZeros = s.decPlaceholders;
            } else {
                if (c == u'0' && s.intZeroFrom < 0)
                    s.intZeroFrom = s.intPlaceholders;
                ++s.intPlaceholders;
            }
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u',') {
            if (!afterPoint)
                s.thousands = true;
        } else if (isSciAt(text, i)) {
            s.scientific = true;
            int j = i + 2;
            while (j < text.size() && text[j] == u'0') {
                ++s.expDigits;
                ++j;
            }
        }
    }
    return s;
}

// Splits at ';' outside quotes; at most three sections.
QStringList sections(const QString& mask)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : mask) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u';') {
            out << cur;
            cur.clear();
            continue;
        }
        cur += c;
    }
    out << cur;
    while (out.size() > 3)
        out.removeLast();
    return out;
}

QString render(const Section& s, DecimalDigits d, const QLocale& locale, bool minus)
{
    int exponentValue = 0;
    if (s.scientific) {
        const int intDigits = std::max(s.intPlaceholders, 1);
        if (!d.digits.isEmpty()) {
            exponentValue = d.exponent - intDigits;
            d.exponent = intDigits;
        }
    }
    roundDecimal(d, s.decPlaceholders);
    if (s.scientific && !d.digits.isEmpty() && d.exponent > std::max(s.intPlaceholders, 1)) {
        // Rounding carried into a new digit: renormalise.
        ++exponentValue;
        --d.exponent;
    }

    QString intDigits = d.exponent > 0 ? d.digits.left(d.exponent) : QString();
    while (intDigits.size() < d.exponent)
        intDigits += u'0';
    QString fraction;
    for (int k = 0; k < s.decPlaceholders; ++k) {
        const int idx = d.exponent + k;
        fraction += (idx >= 0 && idx < d.digits.size()) ? d.digits[idx] : QChar(u'0');
    }
    int fracLen = fraction.size();
    while (fracLen > s.decZeros && fraction[fracLen - 1] == u'0')
        --fracLen;
    fraction.truncate(fracLen);

    const QString groupSep = locale.groupSeparator();
    const QString decimalSep = locale.decimalPoint();
    const int minInt = s.intZeroFrom < 0 ? 0 : s.intPlaceholders - s.intZeroFrom;

    QString out;
    if (minus)
        out += u'-';
    const QString& t = s.text;
    int intSeen = 0, decSeen = 0;
    bool pointDone = false, afterPoint = false, sciDone = false;
    const int extra = intDigits.size() > s.intPlaceholders ? intDigits.size() - s.intPlaceholders : 0;
    auto putIntDigit = [&](int posFromRight, QChar digit) {
        out += digit;
        if (s.thousands && posFromRight > 0 && posFromRight % 3 == 0)
            out += groupSep;
    };
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == u'"' || c == u'\'') {
            const int end = t.indexOf(c, i + 1);
            out += t.mid(i + 1, (end < 0 ? t.size() : end) - i - 1);
            i = end < 0 ? t.size() : end;
            continue;
        }
        if (sciDone) {
            out += c;
            continue;
        }
        if ((c == u'0' || c == u'#') && !afterPoint) {
            const int k = intSeen++;
            const int posFromRight = s.intPlaceholders - 1 - k;
            if (k == 0)
                for (int e = 0; e < extra; ++e)
                    putIntDigit(posFromRight + extra - e, intDigits[e]);
            const int idx = intDigits.size() - 1 - posFromRight;
            if (idx >= 0)
                putIntDigit(posFromRight, intDigits[idx]);
            else if (posFromRight < minInt)
                putIntDigit(posFromRight, u'0');
        } else if ((c == u'0' || c == u'#') && afterPoint) {
            if (decSeen < fraction.size())
                out += fraction[decSeen];
            ++decSeen;
        } else if (c == u'.') {
            // No integer placeholder before the point: the integer digits still show.
            if (!pointDone && intSeen == 0)
                for (int e = 0; e < intDigits.size(); ++e)
                    putIntDigit(intDigits.size() - 1 - e, intDigits[e]);
            if (!pointDone && !fraction.isEmpty())
                out += decimalSep;
            pointDone = true;
            afterPoint = true;
        } else if (c == u',') {
            // grouping flag only
        } else if (s.scientific && isSciAt(t, i)) {
            out += c;
            const bool negExp = exponentValue < 0;
            if (negExp)
                out += u'-';
            else if (t[i + 1] == u'+')
                out += u'+';
            i += 2;
            while (i < t.size() && t[i] == u'0')
                ++i;
            --i;
            QString digits = QString::number(std::abs(exponentValue));
            while (digits.size() < s.expDigits)
                digits.prepend(u'0');
            out += digits;
            sciDone = true;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

namespace brp {

QString FormatGeneralFloat(double value, const QLocale& locale)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0");   // no "-0"
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    QString text = QString::fromLatin1(buf);
    // "1.5E+20" -> "1.5E20", "1E-05" -> "1E-5"
    const int e = text.indexOf(u'E');
    if (e >= 0) {
        QString mant = text.left(e);
        QString exp = text.mid(e + 1);
        const bool neg = exp.startsWith(u'-');
        exp.remove(0, exp.startsWith(u'-') || exp.startsWith(u'+') ? 1 : 0);
        while (exp.size() > 1 && exp.startsWith(u'0'))
            exp.remove(0, 1);
        text = mant + u'E' + (neg ? QStringLiteral("-") : QString()) + exp;
    }
    text.replace(u'.', locale.decimalPoint());
    return text;
}

QString FormatNumericMask(const QString& mask, double value, const QLocale& locale, bool* ok)
{
    if (ok)
        *ok = true;
    if (!std::isfinite(value)) {
        if (ok)
            *ok = false;
        return QString();
    }
    if (mask.isEmpty())
        return FormatGeneralFloat(value, locale);

    const QStringList parts = sections(mask);
    const Section positive = analyse(parts[0]);
    // Too large for a fixed mask: the general format, as the platform does.
    if (!positive.scientific && std::fabs(value) >= 1e18)
        return FormatGeneralFloat(value, locale);

    DecimalDigits d = toDecimal(value);
    const bool negative = value < 0;

    const Section* chosen = &positive;
    Section negSection, zeroSection;
    bool useMinus = negative;
    if (negative && parts.size() >= 2 && !parts[1].isEmpty()) {
        negSection = analyse(parts[1]);
        chosen = &negSection;
        useMinus = false;
    }
    // A value that shows as zero under the chosen section takes the zero section.
    DecimalDigits probe = d;
    if (!chosen->scientific)
        roundDecimal(probe, chosen->decPlaceholders);
    if (probe.digits.isEmpty()) {
        useMinus = false;
        if (parts.size() >= 3 && !parts[2].isEmpty()) {
            zeroSection = analyse(parts[2]);
            chosen = &zeroSection;
        }
    }
    return render(*chosen, d, locale, useMinus);
}

} // namespace brp
