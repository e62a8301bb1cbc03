#include "PainterCanvas.h"

#include "EmfPlayer.h"
#include "FontMapper.h"
#include "TextMeasure.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {
QColor ToQColor(TColor c) { return QColor(brp::GetRValue(c), brp::GetGValue(c), brp::GetBValue(c)); }

QPen ToQPen(const TPen& p)
{
    if (p.Style == TPenStyle::psClear)
        return QPen(Qt::NoPen);
    QPen pen(ToQColor(p.Color));
    pen.setWidth(std::clamp(p.Width, 1, 16384));  // QPen refuses wider
    // Thin pens draw one device pixel whatever the transform.
    pen.setCosmetic(p.Width <= 1);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // Dashes only on one-pixel pens; wider dashed pens draw solid.
    if (p.Width <= 1) {
        switch (p.Style) {
        case TPenStyle::psDash: pen.setDashPattern({6, 2}); break;
        case TPenStyle::psDot: pen.setDashPattern({1, 1}); break;
        case TPenStyle::psDashDot: pen.setDashPattern({3, 1, 1, 1}); break;
        case TPenStyle::psDashDotDot: pen.setDashPattern({3, 1, 1, 1, 1, 1}); break;
        default: break;
        }
    }
    return pen;
}

QBrush ToQBrush(const TBrush& b)
{
    if (b.Style == TBrushStyle::bsClear)
        return QBrush(Qt::NoBrush);
    return QBrush(ToQColor(b.Color));
}

QPainter::CompositionMode ToComposition(TPenMode m)
{
    switch (m) {
    case TPenMode::pmXor: return QPainter::RasterOp_SourceXorDestination;
    case TPenMode::pmNot: return QPainter::RasterOp_NotDestination;
    case TPenMode::pmNotCopy: return QPainter::RasterOp_NotSource;
    case TPenMode::pmMask: return QPainter::RasterOp_SourceAndDestination;
    case TPenMode::pmMerge: return QPainter::RasterOp_SourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}
}  // namespace

struct PainterCanvas::Impl {
    QPainter* painter = nullptr;
    int ppiX = 96, ppiY = 96;
    int curX = 0, curY = 0;
    TextMeasureCache measures;

    // Shapes use the platform's geometry: the outline of a w x h rectangle
    // covers pixels x1 .. x2-1; a one-pixel pen is centred on pixel centres.
    void Setup(const TPen& pen, const TBrush& brush, bool withBrush)
    {
        painter->setPen(ToQPen(pen));
        painter->setBrush(withBrush ? ToQBrush(brush) : QBrush(Qt::NoBrush));
        const auto mode = ToComposition(pen.Mode);
        if (painter->compositionMode() != mode && painter->paintEngine()
            && (mode == QPainter::CompositionMode_SourceOver
                || painter->paintEngine()->hasFeature(QPaintEngine::RasterOpModes)))
            painter->setCompositionMode(mode);
    }
    QRectF ShapeRect(int x1, int y1, int x2, int y2, const TPen& pen) const
    {
        const double l = std::min(x1, x2), t = std::min(y1, y2);
        const double r = std::max(x1, x2), b = std::max(y1, y2);
        if (pen.Style == TPenStyle::psClear)
            return QRectF(l, t, r - l, b - t);
        // The pen is centred on the outline through the outer pixel centres.
        return QRectF(l + 0.5, t + 0.5, std::max(0.0, r - l - 1), std::max(0.0, b - t - 1));
    }
};

PainterCanvas::PainterCanvas(QPainter* painter, int pixelsPerInch) : d(std::make_unique<Impl>())
{
    d->painter = painter;
    if (pixelsPerInch > 0) {
        d->ppiX = d->ppiY = pixelsPerInch;
    } else if (painter && painter->device()) {
        d->ppiX = painter->device()->logicalDpiX();
        d->ppiY = painter->device()->logicalDpiY();
    }
    Font.PixelsPerInch = d->ppiY;
    if (painter)
        painter->setRenderHint(QPainter::TextAntialiasing, true);
}

PainterCanvas::~PainterCanvas() = default;

QPainter* PainterCanvas::Painter() const { return d->painter; }
int PainterCanvas::PixelsPerInchX() const { return d->ppiX; }
int PainterCanvas::PixelsPerInchY() const { return d->ppiY; }

void PainterCanvas::MoveTo(int x, int y)
{
    d->curX = x;
    d->curY = y;
}

void PainterCanvas::LineTo(int x, int y)
{
    d->Setup(Pen, Brush, false);
    if (Pen.Style != TPenStyle::psClear) {
        QPainterPath path;
        path.moveTo(d->curX, d->curY);
        path.lineTo(x, y);
        d->painter->drawPath(path);
    }
    d->curX = x;
    d->curY = y;
}

void PainterCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    d->Setup(Pen, Brush, true);
    QPainterPath path;
    path.addRect(d->ShapeRect(x1, y1, x2, y2, Pen));
    d->painter->drawPath(path);
}

void PainterCanvas::RoundRect(int x1, int y1, int x2, int y2, int cw, int ch)
{
    d->Setup(Pen, Brush, true);
    QPainterPath path;
    path.addRoundedRect(d->ShapeRect(x1, y1, x2, y2, Pen), cw / 2.0, ch / 2.0);
    d->painter->drawPath(path);
}

void PainterCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    d->Setup(Pen, Brush, true);
    QPainterPath path;
    path.addEllipse(d->ShapeRect(x1, y1, x2, y2, Pen));
    d->painter->drawPath(path);
}

void PainterCanvas::FillRect(const TRect& rc)
{
    if (Brush.Style == TBrushStyle::bsClear)
        return;
    d->painter->fillRect(QRectF(std::min(rc.Left, rc.Right), std::min(rc.Top, rc.Bottom),
                                std::abs(rc.Width()), std::abs(rc.Height())),
                         ToQColor(Brush.Color));
}

QSize PainterCanvas::TextExtent(const QString& text)
{
    const TextMeasure& m = d->measures.For(FontMapper::ToQFont(Font));
    return QSize(m.Width(text), m.Height());
}

void PainterCanvas::TextOut(int x, int y, const QString& text, unsigned options)
{
    Q_UNUSED(options);
    if (text.isEmpty())
        return;
    const QFont font = FontMapper::ToQFont(Font);
    const TextMeasure& m = d->measures.For(font);
    QVector<quint32> glyphs;
    QVector<int> dx;
    const int width = m.Measure(text, &glyphs, &dx);
    const QPoint anchor = m.Anchor(m_textAlign, x, y, width);
    const int left = anchor.x();
    const int top = anchor.y();
    if (m_bkMode == OPAQUE)
        d->painter->fillRect(QRect(left, top, width, m.Height()), ToQColor(Brush.Color));

    d->painter->setPen(ToQColor(Font.Color));
    if (!m.RawFont().isValid()) {
        d->painter->setFont(font);
        d->painter->drawText(QPointF(left, top + m.Ascent()), text);
        return;
    }
    QVector<quint32> runGlyphs;
    QVector<QPointF> positions;
    runGlyphs.reserve(glyphs.size());
    positions.reserve(glyphs.size());
    int pos = 0;
    for (int i = 0; i < glyphs.size(); ++i) {
        if (glyphs[i] != 0 || !text.at(i).isLowSurrogate()) {
            runGlyphs.append(glyphs[i]);
            positions.append(QPointF(pos, m.Ascent()));
        }
        pos += dx[i];
    }
    QGlyphRun run;
    run.setRawFont(m.RawFont());
    run.setGlyphIndexes(runGlyphs);
    run.setPositions(positions);
    d->painter->drawGlyphRun(QPointF(left, top), run);
    m.DrawDecorations(d->painter, left, top + m.Ascent(), width, Font.Style & fsUnderline,
                      Font.Style & fsStrikeOut, ToQColor(Font.Color));
}

bool PainterCanvas::StretchDraw(const TRect& rc, const QByteArray& emf)
{
    d->painter->save();
    const EmfPlayResult r = EmfPlayer::Play(
        emf, d->painter,
        QRectF(std::min(rc.Left, rc.Right), std::min(rc.Top, rc.Bottom), std::abs(rc.Width()), std::abs(rc.Height())));
    d->painter->restore();
    return r.Ok();
}

void PainterCanvas::RemoveClipRegion()
{
    d->painter->setClipping(false);
}

void PainterCanvas::Refresh()
{
    // Objects are applied at every operation; nothing is cached on the device.
}
