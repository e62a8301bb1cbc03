#include "TBRUnitBase.h"
#include "BRReportHost.h"
#include "PlatformError.h"
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <optional>

namespace {
// Definitions are written with a dot whatever the process locale says.
class CNumericScope {
public:
    CNumericScope() : m_c(newlocale(LC_ALL_MASK, "C", nullptr)), m_old(m_c ? uselocale(m_c) : nullptr) {}
    ~CNumericScope()
    {
        if (m_c) {
            uselocale(m_old);
            freelocale(m_c);
        }
    }
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    locale_t m_c;
    locale_t m_old;
};

std::optional<TBRUnit>& defaultUnitsSlot()
{
    static std::optional<TBRUnit> slot;
    return slot;
}

// Report font size, by its absolute value; the report's default (10) stands in
// when there is no report or its size is 0, so that no length becomes infinite.
BRNative fontSizeOf(const BRReportHost* report)
{
    const BRNative s = report ? std::fabs(static_cast<BRNative>(report->FontSize())) : 0.0L;
    return s > 0 ? s : 10.0L;
}
} // namespace

namespace brp {

int ScreenPixelsPerInch()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            return qRound(screen->logicalDotsPerInchY());
    }
    return 96;
}

} // namespace brp

void TBRUnitBase::InitDefaultUnits(const QLocale& locale)
{
    defaultUnitsSlot() =
        locale.measurementSystem() == QLocale::ImperialUSSystem ? TBRUnit::Inches : TBRUnit::MM;
}

TBRUnit TBRUnitBase::DefaultUnits()
{
    if (!defaultUnitsSlot())
        InitDefaultUnits(QLocale::system());
    return *defaultUnitsSlot();
}

TBRUnitBase::TBRUnitBase(BRReportHost* parentReport)
    : m_resolution(brp::ScreenPixelsPerInch()), m_units(DefaultUnits()), m_savedUnits(m_units),
      m_parentReport(parentReport)
{
}

BRNative TBRUnitBase::NativeToUnits(TBRUnit unit, bool horizontal, BRNative v) const
{
    switch (unit) {
    case TBRUnit::MM:
        return v / 10;
    case TBRUnit::Inches:
        return v / 254;
    case TBRUnit::Pixels:
        return v / (254.0L / m_resolution) * m_zoom / 100;
    case TBRUnit::Characters: {
        const BRNative s = fontSizeOf(m_parentReport);
        const BRNative cell = horizontal ? 80 / s / 2.54L : 145.3L / s / 2.54L;
        return v / cell / 10;
    }
    case TBRUnit::Native:
        break;
    }
    return v;
}

BRNative TBRUnitBase::UnitsToNative(TBRUnit unit, bool horizontal, BRNative x) const
{
    switch (unit) {
    case TBRUnit::MM:
        return x * 10;
    case TBRUnit::Inches:
        return x * 254;
    case TBRUnit::Pixels:
        return x * (254.0L / m_resolution) / m_zoom * 100;
    case TBRUnit::Characters: {
        const BRNative s = fontSizeOf(m_parentReport);
        const BRNative cell = horizontal ? 80 / s / 2.54L : 145.3L / s / 2.54L;
        return x * cell * 10;
    }
    case TBRUnit::Native:
        break;
    }
    return x;
}

void TBRUnitBase::UsePixelUnits()
{
    m_savedUnits = Units();
    SetUnits(TBRUnit::Pixels);
}

void TBRUnitBase::RestoreUnits()
{
    SetUnits(m_savedUnits);
}

QString TBRUnitBase::ValuesText() const
{
    return FormatValues(StoreValues());
}

void TBRUnitBase::SetValuesText(const QString& text)
{
    LoadValues(ParseValues(text));
}

QString TBRUnitBase::FormatValues(const QList<BRNative>& values)
{
    CNumericScope cScope;
    QString out = QStringLiteral("(");
    for (int i = 0; i < values.size(); ++i) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.16Lg", values[i]);
        QString item = QString::fromLatin1(buf);
        if (!item.contains(u'.') && !item.contains(u'e') && !item.contains(u"n"))
            item += QStringLiteral(".0");
        if (i)
            out += u' ';
        out += item;
    }
    out += u')';
    return out;
}

QList<BRNative> TBRUnitBase::ParseValues(const QString& text)
{
    const QString t = text.trimmed();
    if (!t.startsWith(u'(') || !t.endsWith(u')'))
        throw PlatformError(QStringLiteral("Invalid property value: %1").arg(text));
    CNumericScope cScope;
    QList<BRNative> values;
    const QStringList items = t.mid(1, t.size() - 2).split(QRegularExpression(QStringLiteral("\\s+")),
                                                           Qt::SkipEmptyParts);
    for (const QString& item : items) {
        const QByteArray bytes = item.toLatin1();
        char* end = nullptr;
        const BRNative v = std::strtold(bytes.constData(), &end);
        if (end == bytes.constData() || *end != '\0' || !std::isfinite(v))
            throw PlatformError(QStringLiteral("Invalid floating point value: %1").arg(item));
        values.append(v);
    }
    return values;
}
