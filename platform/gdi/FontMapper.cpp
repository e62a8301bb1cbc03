#include "FontMapper.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {
const QString kSans = QStringLiteral("Liberation Sans");
const QString kSerif = QStringLiteral("Liberation Serif");
const QString kMono = QStringLiteral("Liberation Mono");

// Windows faces and their metric-compatible (or closest) installed faces.
struct Substitute {
    const char* name;
    const QString* family;
};
const Substitute kSubstitutes[] = {
    {"arial", &kSans},           {"helvetica", &kSans},       {"ms sans serif", &kSans},
    {"microsoft sans serif", &kSans}, {"ms shell dlg", &kSans}, {"ms shell dlg 2", &kSans},
    {"tahoma", &kSans},          {"verdana", &kSans},         {"segoe ui", &kSans},
    {"system", &kSans},          {"small fonts", &kSans},     {"calibri", &kSans},
    {"arial unicode ms", &kSans}, {"trebuchet ms", &kSans},   {"century gothic", &kSans},
    {"times new roman", &kSerif}, {"times", &kSerif},         {"ms serif", &kSerif},
    {"georgia", &kSerif},        {"cambria", &kSerif},        {"book antiqua", &kSerif},
    {"garamond", &kSerif},       {"roman", &kSerif},
    {"courier new", &kMono},     {"courier", &kMono},         {"lucida console", &kMono},
    {"consolas", &kMono},        {"fixedsys", &kMono},        {"terminal", &kMono},
    {"ocr a extended", &kMono},
};

QString Lookup(const QString& name)
{
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("arial narrow"))
        return QStringLiteral("Liberation Sans Narrow");
    for (const Substitute& s : kSubstitutes)
        if (key == QLatin1String(s.name))
            return *s.family;
    if (!key.isEmpty()) {
        const QStringList families = QFontDatabase::families();
        for (const QString& f : families)
            if (f.compare(name.trimmed(), Qt::CaseInsensitive) == 0)
                return f;
    }
    return QString();
}

// Cell height (ascent + descent) per pixel of em height, for positive heights.
double CellRatio(const QString& family)
{
    QFont f(family);
    f.setPixelSize(100);
    QFontMetricsF fm(f);
    const double r = (fm.ascent() + fm.descent()) / 100.0;
    return r > 0.5 ? r : 1.0;
}
}  // namespace

QString FontMapper::MapFamily(const QString& name)
{
    static QMutex mutex;
    static QHash<QString, QString> cache;
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(name);
    if (it != cache.constEnd())
        return it.value();
    QString family = Lookup(name);
    // Face names come from the pictures played, so a hostile file could
    // otherwise grow the cache without end.
    if (cache.size() >= 1024)
        cache.clear();
    cache.insert(name, family);
    return family;
}

QFont FontMapper::ToQFont(const TFont& font)
{
    unsigned pitchAndFamily = 0;
    if (font.Pitch == TFontPitch::fpFixed)
        pitchAndFamily = 1;
    else if (font.Pitch == TFontPitch::fpVariable)
        pitchAndFamily = 2;
    return ToQFont(font.Name, font.Height, (font.Style & fsBold) ? 700 : 400, font.Style & fsItalic,
                   font.Style & fsUnderline, font.Style & fsStrikeOut, font.Charset,
                   std::uint8_t(pitchAndFamily));
}

QFont FontMapper::ToQFont(const QString& name, int height, int weight, bool italic, bool underline,
                          bool strikeOut, std::uint8_t charset, std::uint8_t pitchAndFamily)
{
    Q_UNUSED(charset);
    QString family = MapFamily(name);
    if (family.isEmpty()) {
        // Unknown face: choose by the requested pitch and family bits.
        if ((pitchAndFamily & 3) == 1 || (pitchAndFamily & 0xF0) == 0x30)
            family = kMono;
        else if ((pitchAndFamily & 0xF0) == 0x10)
            family = kSerif;
        else
            family = kSans;
    }
    QFont f(family);
    f.setStyleStrategy(QFont::PreferOutline);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    int pixels;
    if (height < 0) {
        pixels = height == INT_MIN ? 0x7FFF : -height;
    } else if (height > 0) {
        static QMutex mutex;
        static QHash<QString, double> ratios;
        double ratio;
        {
            QMutexLocker lock(&mutex);
            auto it = ratios.constFind(family);
            if (it == ratios.constEnd())
                it = ratios.insert(family, CellRatio(family));
            ratio = it.value();
        }
        pixels = int(height / ratio + 0.5);
    } else {
        pixels = 13;
    }
    f.setPixelSize(qBound(1, pixels, 0x7FFF));
    f.setWeight(QFont::Weight(weight <= 0 ? 400 : qBound(100, weight, 900)));
    f.setItalic(italic);
    f.setUnderline(underline);
    f.setStrikeOut(strikeOut);
    return f;
}
