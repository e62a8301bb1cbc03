#include "PreviewGlyphs.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

struct Colours {
    QColor ink, paper, accent, fill, folder;
};

Colours coloursFor(QIcon::Mode mode)
{
    if (mode == QIcon::Disabled)
        return {QColor(150, 150, 150), QColor(235, 235, 235), QColor(170, 170, 170), QColor(200, 200, 200),
                QColor(215, 215, 215)};
    return {QColor(40, 40, 40), Qt::white, QColor(30, 90, 180), QColor(200, 200, 200), QColor(232, 196, 96)};
}

// Every glyph is drawn on a 16 x 16 grid; the painter is scaled to the size asked.
void page(QPainter& p, const Colours& c, const QRectF& r)
{
    p.setPen(QPen(c.ink, 1));
    p.setBrush(c.paper);
    p.drawRect(r);
}

void lines(QPainter& p, const Colours& c, qreal x1, qreal x2, qreal y, int count, qreal step)
{
    p.setPen(QPen(c.fill.darker(140), 1));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(x1, y + i * step), QPointF(x2, y + i * step));
}

void triangle(QPainter& p, const QColor& colour, bool right, qreal x, qreal cy, qreal w, qreal h)
{
    QPainterPath path;
    if (right) {
        path.moveTo(x, cy - h / 2);
        path.lineTo(x + w, cy);
        path.lineTo(x, cy + h / 2);
    } else {
        path.moveTo(x + w, cy - h / 2);
        path.lineTo(x, cy);
        path.lineTo(x + w, cy + h / 2);
    }
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

void magnifier(QPainter& p, const Colours& c, qreal cx, qreal cy, qreal radius)
{
    p.setPen(QPen(c.ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx + radius * 0.7, cy + radius * 0.7), QPointF(cx + radius * 1.9, cy + radius * 1.9));
    p.setPen(QPen(c.ink, 1.2));
    p.setBrush(QColor(c.paper.red(), c.paper.green(), c.paper.blue(), 220));
    p.drawEllipse(QPointF(cx, cy), radius, radius);
}

void printer(QPainter& p, const Colours& c)
{
    page(p, c, QRectF(4.5, 1.5, 7, 5));
    p.setPen(QPen(c.ink, 1));
    p.setBrush(c.fill);
    p.drawRoundedRect(QRectF(1.5, 5.5, 13, 6.5), 1, 1);
    page(p, c, QRectF(3.5, 9.5, 9, 5));
    lines(p, c, 5, 11, 11.5, 2, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(c.accent);
    p.drawEllipse(QPointF(12.5, 7.5), 0.9, 0.9);
}

void drawGlyph(QPainter& p, int index, const Colours& c)
{
    switch (index) {
    case 0: // zoom to fit: the whole sheet inside a frame of corners
        page(p, c, QRectF(4.5, 2.5, 7, 11));
        lines(p, c, 6, 10, 5, 4, 2);
        p.setPen(QPen(c.accent, 1.2));
        p.setBrush(Qt::NoBrush);
        for (const auto& corner : {QPointF(1, 1), QPointF(15, 1), QPointF(1, 15), QPointF(15, 15)}) {
            const qreal dx = corner.x() < 8 ? 3 : -3, dy = corner.y() < 8 ? 3 : -3;
            p.drawLine(corner, corner + QPointF(dx, 0));
            p.drawLine(corner, corner + QPointF(0, dy));
        }
        break;
    case 1: // 100 %: a magnifier over a line of text at full size
        page(p, c, QRectF(1.5, 1.5, 10, 12));
        lines(p, c, 3, 10, 4, 4, 2);
        magnifier(p, c, 9, 8.5, 3.5);
        p.setPen(QPen(c.accent, 1.2));
        p.drawLine(QPointF(9, 6.5), QPointF(9, 10.5));
        break;
    case 2: // zoom to width: a two-headed arrow across a sheet
        page(p, c, QRectF(3.5, 1.5, 9, 13));
        lines(p, c, 5, 11, 4, 2, 2);
        p.setPen(QPen(c.accent, 1.4));
        p.drawLine(QPointF(2, 10), QPointF(14, 10));
        triangle(p, c.accent, false, 0.5, 10, 3, 5);
        triangle(p, c.accent, true, 12.5, 10, 3, 5);
        break;
    case 3: // first page
        p.fillRect(QRectF(3, 3, 2, 10), c.ink);
        triangle(p, c.ink, false, 5.5, 8, 7, 10);
        break;
    case 4: // previous page
        triangle(p, c.ink, false, 4.5, 8, 7, 10);
        break;
    case 5: // next page
        triangle(p, c.ink, true, 4.5, 8, 7, 10);
        break;
    case 6: // last page
        triangle(p, c.ink, true, 3.5, 8, 7, 10);
        p.fillRect(QRectF(11, 3, 2, 10), c.ink);
        break;
    case 7: // printer setup: a printer with a dial
        printer(p, c);
        p.setPen(QPen(c.accent, 1.3));
        p.setBrush(c.paper);
        p.drawEllipse(QPointF(12, 12), 3, 3);
        p.drawLine(QPointF(12, 12), QPointF(13.6, 10.6));
        break;
    case 8: // print
        printer(p, c);
        break;
    case 9: { // load: an open folder
        p.setPen(QPen(c.ink, 1));
        p.setBrush(c.folder);
        QPainterPath back;
        back.moveTo(1.5, 13.5);
        back.lineTo(1.5, 3.5);
        back.lineTo(5.5, 3.5);
        back.lineTo(6.5, 5);
        back.lineTo(12.5, 5);
        back.lineTo(12.5, 13.5);
        back.closeSubpath();
        p.drawPath(back);
        QPainterPath front;
        front.moveTo(1.5, 13.5);
        front.lineTo(4, 7.5);
        front.lineTo(15, 7.5);
        front.lineTo(12.5, 13.5);
        front.closeSubpath();
        p.setBrush(c.folder.lighter(112));
        p.drawPath(front);
        break;
    }
    case 10: // save: a diskette
        p.setPen(QPen(c.ink, 1));
        p.setBrush(c.accent);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(c.paper);
        p.drawRect(QRectF(3.5, 1.5, 9, 5));
        p.setBrush(c.fill);
        p.drawRect(QRectF(4.5, 9.5, 7, 5));
        p.fillRect(QRectF(9, 2.5, 2, 3), c.ink);
        break;
    case 11: // go to page: an arrow into a sheet
        page(p, c, QRectF(6.5, 1.5, 8, 13));
        lines(p, c, 8, 13, 4, 2, 2);
        p.setPen(QPen(c.accent, 1.6));
        p.drawLine(QPointF(1, 10), QPointF(8, 10));
        triangle(p, c.accent, true, 8, 10, 4, 6);
        break;
    case 14: // page thumbnails: a column of small sheets beside a large one
        for (int i = 0; i < 3; ++i)
            page(p, c, QRectF(1.5, 1.5 + i * 4.5, 3.5, 3.5));
        p.setPen(QPen(c.accent, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1, 1, 4.5, 4.5));
        page(p, c, QRectF(7.5, 1.5, 7, 13));
        lines(p, c, 9, 13, 4, 5, 2);
        break;
    case 15: // find: a magnifier over lines of text
        page(p, c, QRectF(1.5, 1.5, 10, 12));
        lines(p, c, 3, 10, 4, 4, 2);
        p.fillRect(QRectF(3, 5.5, 5, 1.5), c.accent.lighter(150));
        magnifier(p, c, 9, 8.5, 3.5);
        break;
    default:
        break;
    }
}

class GlyphEngine : public QIconEngine {
public:
    explicit GlyphEngine(int index) : m_index(index) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        const qreal side = std::min(rect.width(), rect.height());
        painter->translate((rect.width() - side) / 2, (rect.height() - side) / 2);
        painter->scale(side / 16.0, side / 16.0);
        drawGlyph(*painter, m_index, coloursFor(mode));
        painter->restore();
    }

    // Asked for in device pixels; the icon sets the density on the result.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pix(size);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pix;
    }

    QIconEngine* clone() const override { return new GlyphEngine(m_index); }
    QString key() const override { return QStringLiteral("PreviewGlyph"); }

private:
    int m_index;
};

} // namespace

namespace PreviewGlyphs {

QIcon Glyph(int index)
{
    return QIcon(new GlyphEngine(index >= 0 && index < Count ? index : -1));
}

} // namespace PreviewGlyphs
