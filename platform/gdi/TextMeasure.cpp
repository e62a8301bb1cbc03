#include "TextMeasure.h"
#include "TGraphics.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

TextMeasure::TextMeasure(const QFont& font) : m_font(font), m_raw(QRawFont::fromFont(font))
{
    if (m_raw.isValid()) {
        m_ascent = int(std::lround(m_raw.ascent()));
        m_descent = int(std::lround(m_raw.descent()));
    } else {
        QFontMetricsF fm(font);
        m_ascent = int(std::lround(fm.ascent()));
        m_descent = int(std::lround(fm.descent()));
    }
}

bool TextMeasure::Latin1Glyph(char16_t unit) const
{
    if (m_latin1Known[unit])
        return true;
    const QVector<quint32> g = m_raw.glyphIndexesForString(QString(QChar(unit)));
    const QVector<QPointF> adv = m_raw.advancesForGlyphIndexes(g, QRawFont::SeparateAdvances);
    if (g.size() != 1 || adv.size() != 1)
        return false;
    m_latin1Glyph[unit] = g[0];
    m_latin1Advance[unit] = adv[0].x();
    m_latin1Known[unit] = true;
    return true;
}

int TextMeasure::Measure(const QString& text, QVector<quint32>* glyphs, QVector<int>* dx) const
{
    const int n = int(text.size());
    // Glyphs and separate advances do not depend on the neighbours, so those
    // of single-byte characters are looked up once per font.
    bool cached = m_raw.isValid();
    for (int i = 0; cached && i < n; ++i)
        cached = text.at(i).unicode() < 256 && Latin1Glyph(text.at(i).unicode());
    if (cached) {
        if (glyphs) {
            glyphs->resize(n);
            for (int i = 0; i < n; ++i)
                (*glyphs)[i] = m_latin1Glyph[text.at(i).unicode()];
        }
        if (dx)
            dx->resize(n);
        double pos = 0;
        int prev = 0;
        for (int i = 0; i < n; ++i) {
            pos += m_latin1Advance[text.at(i).unicode()];
            const int next = int(std::lround(pos));
            if (dx)
                (*dx)[i] = next - prev;
            prev = next;
        }
        return prev;
    }
    QVector<quint32> g;
    QVector<QPointF> adv;
    if (m_raw.isValid()) {
        g = m_raw.glyphIndexesForString(text);
        adv = m_raw.advancesForGlyphIndexes(g, QRawFont::SeparateAdvances);
    }
    // glyphIndexesForString gives one glyph per code point; spread them back
    // over UTF-16 units.
    QVector<double> unitAdvance(n, 0.0);
    QVector<quint32> unitGlyph(n, 0);
    const bool rawOk = m_raw.isValid() && adv.size() == g.size();
    QFontMetricsF fm(m_font);
    int gi = 0;
    for (int i = 0; i < n; ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate();
        if (rawOk && gi < g.size()) {
            unitGlyph[i] = g[gi];
            unitAdvance[i] = adv[gi].x();
            ++gi;
        } else {
            unitAdvance[i] = fm.horizontalAdvance(text.mid(i, pair ? 2 : 1));
        }
        if (pair)
            ++i;  // second unit: glyph 0, advance 0
    }
    if (glyphs)
        *glyphs = unitGlyph;
    if (dx)
        dx->resize(n);
    double pos = 0;
    int prev = 0;
    for (int i = 0; i < n; ++i) {
        pos += unitAdvance[i];
        const int next = int(std::lround(pos));
        if (dx)
            (*dx)[i] = next - prev;
        prev = next;
    }
    return prev;
}

const TextMeasure& TextMeasureCache::For(const QFont& font)
{
    if (!m_measure || !(m_key == font) || m_key.pixelSize() != font.pixelSize()) {
        m_measure = std::make_unique<TextMeasure>(font);
        m_key = font;
    }
    return *m_measure;
}

void TextMeasure::DrawDecorations(QPainter* painter, double x, double baseline, double width, bool underline,
                                  bool strikeOut, const QColor& color) const
{
    if ((!underline && !strikeOut) || width <= 0)
        return;
    QFontMetricsF fm(m_font);
    const double thickness = std::max(1.0, std::round(fm.lineWidth()));
    if (underline)
        painter->fillRect(QRectF(x, baseline + std::max(1.0, std::round(fm.underlinePos())), width, thickness), color);
    if (strikeOut)
        painter->fillRect(QRectF(x, baseline - std::round(fm.strikeOutPos()), width, thickness), color);
}

QPoint TextMeasure::Anchor(unsigned textAlign, int x, int y, int width) const
{
    int left = x;
    if ((textAlign & TA_CENTER) == TA_CENTER)
        left = x - width / 2;
    else if (textAlign & TA_RIGHT)
        left = x - width;
    int top = y;
    if ((textAlign & TA_BASELINE) == TA_BASELINE)
        top = y - Ascent();
    else if (textAlign & TA_BOTTOM)
        top = y - Height();
    return QPoint(left, top);
}
