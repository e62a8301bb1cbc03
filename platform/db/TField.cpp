#include "TField.h"
#include "TDataSet.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <iterator>

TField::TField(TDataSet* dataSet, QString name, TFieldType type, int index, int size)
    : m_dataSet(dataSet), m_name(std::move(name)), m_type(type), m_index(index), m_size(size)
{
}

QVariant TField::Value() const
{
    return m_dataSet ? m_dataSet->FieldValue(m_index) : QVariant();
}

bool TField::IsNull() const
{
    const QVariant v = Value();
    return !v.isValid() || v.isNull();
}

namespace {
// The platform's float to text: general format with up to 15 significant
// digits and the locale's decimal separator, no thousands separators
// ("1234.5", "1234,5", "1.5E20").
QString FloatText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0.0)
        return QStringLiteral("0");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    QString text = QString::fromLatin1(buffer);
    const qsizetype e = text.indexOf(u'E');
    if (e >= 0) {
        // "1.5E+20" -> "1.5E20", "1E-05" -> "1E-5"
        QString exponent = text.mid(e + 1);
        const bool negative = exponent.startsWith(u'-');
        if (negative || exponent.startsWith(u'+'))
            exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(u'0'))
            exponent.remove(0, 1);
        text = text.left(e) + u'E' + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    text.replace(u'.', QLocale().decimalPoint());
    return text;
}
} // namespace

QString TField::AsString() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return QString();
    switch (m_type) {
    case TFieldType::ftBoolean:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case TFieldType::ftDate:
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    case TFieldType::ftTime:
        return QLocale().toString(v.toTime(), QLocale::ShortFormat);
    case TFieldType::ftDateTime:
        return QLocale().toString(v.toDateTime(), QLocale::ShortFormat);
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
        return FloatText(v.toDouble());
    default:
        return v.toString();
    }
}

QString TField::DisplayText() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return QString();
    if (m_type == TFieldType::ftDate || m_type == TFieldType::ftDateTime)
        return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    return AsString();
}

qint32 TField::AsInteger() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return 0;
    if (IsFloatType(m_type))
        return static_cast<qint32>(std::nearbyint(v.toDouble()));
    return v.toInt();
}

double TField::AsFloat() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return 0.0;
    return v.toDouble();
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return false;
    return v.toBool();
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    if (!v.isValid() || v.isNull())
        return QDateTime();
    if (m_type == TFieldType::ftDate)
        return QDateTime(v.toDate(), QTime(0, 0));
    if (m_type == TFieldType::ftTime)
        return QDateTime(QDate(1899, 12, 30), v.toTime());
    return v.toDateTime();
}

namespace {
const char* const kTypeNames[] = {"ftUnknown", "ftString", "ftMemo", "ftBlob", "ftInteger", "ftSmallint", "ftWord",
                                  "ftFloat", "ftCurrency", "ftBCD", "ftBoolean", "ftDate", "ftTime", "ftDateTime"};
static_assert(std::size(kTypeNames) == static_cast<size_t>(TFieldType::ftDateTime) + 1);
} // namespace

QString TField::TypeName(TFieldType t)
{
    return QString::fromLatin1(kTypeNames[static_cast<int>(t)]);
}

TFieldType TField::TypeFromName(const QString& name, bool* ok)
{
    for (size_t i = 0; i < std::size(kTypeNames); ++i)
        if (name.compare(QLatin1String(kTypeNames[i]), Qt::CaseInsensitive) == 0) {
            *ok = true;
            return static_cast<TFieldType>(i);
        }
    *ok = false;
    return TFieldType::ftUnknown;
}
