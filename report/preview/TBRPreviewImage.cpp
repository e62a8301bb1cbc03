#include "TBRPreviewImage.h"

#include "TBRPrinter.h"
#include "TMetafile.h"

#include <QPaintEvent>
#include <QPainter>

TBRPreviewImage::TBRPreviewImage(QWidget* parent) : QWidget(parent)
{
    resize(100, 50);
}

TBRPreviewImage::~TBRPreviewImage() = default;

void TBRPreviewImage::SetImagePage(int page)
{
    m_imagePage = page;
    m_picture.reset();
    m_hasImage = false;
    if (m_printer) {
        m_picture = m_printer->FetchPage(page);
        m_hasImage = m_picture != nullptr;
    }
    repaint();
}

void TBRPreviewImage::SetHighlight(int page, const QRect& pageRect)
{
    m_highlightPage = page;
    m_highlight = pageRect;
    update();
}

void TBRPreviewImage::ClearHighlight()
{
    SetHighlight(0, QRect());
}

QRect TBRPreviewImage::HighlightArea() const
{
    if (!m_hasImage || !m_picture || m_highlightPage != m_imagePage || m_highlight.isEmpty() ||
        m_picture->Width() <= 0 || m_picture->Height() <= 0)
        return {};
    // The picture is played over the whole image.
    const double sx = double(width()) / m_picture->Width(), sy = double(height()) / m_picture->Height();
    const QRectF r(m_highlight.left() * sx, m_highlight.top() * sy, m_highlight.width() * sx,
                   m_highlight.height() * sy);
    return r.toAlignedRect().adjusted(-1, -1, 1, 1);
}

PagePaintResult TBRPreviewImage::PaintPage(QPainter& painter) const
{
    if (!m_hasImage || !m_picture)
        return {};
    const int w = width(), h = height();
    // Sheet (the rectangle's right and bottom edges are exclusive).
    painter.fillRect(QRect(1, 1, w - 4, h - 4), Qt::white);
    const PagePaintResult result = brp::PaintRecordedPage(m_picture->Data(), painter, QRectF(0, 0, w, h));
    if (const QRect mark = HighlightArea(); !mark.isEmpty()) {
        // Multiplied, so the text under the mark stays as dark as it was.
        painter.save();
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.fillRect(mark, QColor(255, 226, 64));
        painter.restore();
        painter.setPen(QColor(214, 120, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(mark.adjusted(0, 0, -1, -1));
    }
    // Outline from (0, 0) to (w - 3, h - 3), then the shadow.
    painter.fillRect(QRect(0, 0, w - 2, 1), Qt::black);
    painter.fillRect(QRect(0, h - 3, w - 2, 1), Qt::black);
    painter.fillRect(QRect(0, 0, 1, h - 2), Qt::black);
    painter.fillRect(QRect(w - 3, 0, 1, h - 2), Qt::black);
    painter.fillRect(QRect(w - 2, 2, 2, h - 2), Qt::black);
    painter.fillRect(QRect(2, h - 2, w - 2, 2), Qt::black);
    return result;
}

void TBRPreviewImage::paintEvent(QPaintEvent*)
{
    // A damaged picture shows what could be played, and the note says so; a
    // page that cannot be read at all is reported when it is fetched.
    QPainter painter(this);
    const PagePaintResult result = PaintPage(painter);
    const QString note = result.Partial() ? result.PartialNote(m_imagePage) : QString();
    if (note != m_pageNote) {
        m_pageNote = note;
        Q_EMIT PageNoteChanged(note);
    }
}
