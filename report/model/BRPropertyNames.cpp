#include "BRPropertyNames.h"
#include "TBRPaperSize.h"

#include <QMetaClassInfo>
#include <QObject>

namespace {
QStringList classInfoList(const QObject& object, const QString& key)
{
    const QMetaObject* meta = object.metaObject();
    for (int i = meta->classInfoCount() - 1; i >= 0; --i) {
        const QMetaClassInfo info = meta->classInfo(i);
        if (QString::fromLatin1(info.name()).compare(key, Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(info.value()).split(u',');
    }
    return {};
}

QStringList paperNames()
{
    QStringList names;
    for (int i = 0; i < BRPaperSizeCount; ++i)
        names << QString::fromLatin1(brp::PaperSizeName(static_cast<TBRPaperSize>(i)));
    return names;
}

struct Named {
    const char* name;
    unsigned value;
};

constexpr Named kColors[] = {
    {"clBlack", 0x000000},       {"clMaroon", 0x000080},      {"clGreen", 0x008000},
    {"clOlive", 0x008080},       {"clNavy", 0x800000},        {"clPurple", 0x800080},
    {"clTeal", 0x808000},        {"clGray", 0x808080},        {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},         {"clLime", 0x00FF00},        {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},        {"clFuchsia", 0xFF00FF},     {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},       {"clScrollBar", 0x80000000}, {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002}, {"clInactiveCaption", 0x80000003}, {"clMenu", 0x80000004},
    {"clWindow", 0x80000005},    {"clWindowFrame", 0x80000006}, {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008}, {"clCaptionText", 0x80000009}, {"clActiveBorder", 0x8000000A},
    {"clInactiveBorder", 0x8000000B}, {"clAppWorkSpace", 0x8000000C}, {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E}, {"clBtnFace", 0x8000000F}, {"clBtnShadow", 0x80000010},
    {"clGrayText", 0x80000011},  {"clBtnText", 0x80000012},   {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014}, {"clInfoText", 0x80000017}, {"clInfoBk", 0x80000018},
    {"clNone", 0x1FFFFFFF},      {"clDefault", 0x20000000},
};

constexpr Named kCharsets[] = {
    {"ANSI_CHARSET", 0},      {"DEFAULT_CHARSET", 1},   {"SYMBOL_CHARSET", 2},  {"MAC_CHARSET", 77},
    {"SHIFTJIS_CHARSET", 128}, {"HANGEUL_CHARSET", 129}, {"JOHAB_CHARSET", 130}, {"GB2312_CHARSET", 134},
    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162},
    {"VIETNAMESE_CHARSET", 163}, {"HEBREW_CHARSET", 177}, {"ARABIC_CHARSET", 178},
    {"BALTIC_CHARSET", 186},  {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222},  {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

template <std::size_t N>
bool fromName(const Named (&table)[N], const QString& name, unsigned& value)
{
    for (const Named& n : table)
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            value = n.value;
            return true;
        }
    return false;
}

template <std::size_t N>
QString toName(const Named (&table)[N], unsigned value)
{
    for (const Named& n : table)
        if (n.value == value)
            return QString::fromLatin1(n.name);
    return {};
}
} // namespace

namespace brp {

QStringList EnumNames(const QObject& object, const QString& property)
{
    QStringList names = classInfoList(object, QStringLiteral("BREnum:") + property);
    if (!names.isEmpty())
        return names;
    auto is = [&](const char* p) { return property.compare(QLatin1String(p), Qt::CaseInsensitive) == 0; };
    if (object.inherits("TBRPage")) {
        if (is("PaperSize"))
            return paperNames();
        if (is("Orientation"))
            return {QStringLiteral("poPortrait"), QStringLiteral("poLandscape")};
    } else if (object.inherits("TBRFrame") && is("Style")) {
        return {QStringLiteral("psSolid"), QStringLiteral("psDash"), QStringLiteral("psDot"),
                QStringLiteral("psDashDot"), QStringLiteral("psDashDotDot"), QStringLiteral("psClear"),
                QStringLiteral("psInsideFrame")};
    } else if (object.inherits("TBRPrinterSettings") && is("OutputBin")) {
        return QStringLiteral("First,Upper,Lower,Middle,Manual,Envelope,EnvManual,Auto,Tractor,SmallFormat,"
                              "LargeFormat,LargeCapacity,Cassette,Last")
            .split(u',');
    }
    return {};
}

QStringList SetNames(const QObject& object, const QString& property)
{
    return classInfoList(object, QStringLiteral("BRSet:") + property);
}

bool ColorFromName(const QString& name, unsigned& color)
{
    return fromName(kColors, name, color);
}

QString ColorName(unsigned color)
{
    return toName(kColors, color);
}

bool CharsetFromName(const QString& name, int& charset)
{
    unsigned v = 0;
    if (!fromName(kCharsets, name, v))
        return false;
    charset = static_cast<int>(v);
    return true;
}

QString CharsetName(int charset)
{
    return toName(kCharsets, static_cast<unsigned>(charset));
}

} // namespace brp
