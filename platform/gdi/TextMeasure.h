#pragma once
// Text metrics shared by every canvas and the player: one advance per UTF-16
// unit, rounded from cumulative positions so that the sum of the advances is
// the rounded width. The recorder stores these advances as the Dx array, the
// painter places glyphs with them, and the player reads them back, so a page
// looks the same recorded, painted or replayed.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRawFont>
#include <QString>
#include <QVector>

#include <array>
#include <memory>

class QPainter;

class TextMeasure {
public:
    explicit TextMeasure(const QFont& font);

    const QFont& Font() const { return m_font; }
    const QRawFont& RawFont() const { return m_raw; }
    int Ascent() const { return m_ascent; }
    int Descent() const { return m_descent; }
    int Height() const { return m_ascent + m_descent; }

    // Glyph indexes (one per UTF-16 unit; 0 for the second unit of a pair)
    // and integer advances; returns the total width.
    int Measure(const QString& text, QVector<quint32>* glyphs, QVector<int>* dx) const;
    int Width(const QString& text) const { return Measure(text, nullptr, nullptr); }

    // Top-left corner of a run `width` wide output at (x, y) under the GDI
    // text-alignment flags (left/centre/right, top/baseline/bottom).
    QPoint Anchor(unsigned textAlign, int x, int y, int width) const;

    // Underline and strike-out lines for a run of `width` starting at x on
    // the baseline y (glyph runs leave them out under some transforms).
    void DrawDecorations(QPainter* painter, double x, double baseline, double width, bool underline,
                         bool strikeOut, const QColor& color) const;

private:
    // Fills the lookup for one character below 256; false when the font
    // does not give it exactly one glyph.
    bool Latin1Glyph(char16_t unit) const;

    QFont m_font;
    QRawFont m_raw;
    int m_ascent = 0;
    int m_descent = 0;
    mutable std::array<bool, 256> m_latin1Known{};
    mutable std::array<quint32, 256> m_latin1Glyph{};
    mutable std::array<double, 256> m_latin1Advance{};
};

// A one-font cache: canvases switch fonts rarely, so keeping the last one
// avoids building raw fonts for every text output.
class TextMeasureCache {
public:
    const TextMeasure& For(const QFont& font);

private:
    QFont m_key;
    std::unique_ptr<TextMeasure> m_measure;
};
