#include "TBRPreviewImage.h"

#include "EmfPlayer.h"
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

void TBRPreviewImage::PaintPage(QPainter& painter) const
{
    if (!m_hasImage || !m_picture)
        return;
    const int w = width(), h = height();
    // Sheet (the rectangle's right and bottom edges are exclusive).
    painter.fillRect(QRect(1, 1, w - 4, h - 4), Qt::white);
    painter.save();
    EmfPlayer::Play(m_picture->Data(), &painter, QRectF(0, 0, w, h));
    painter.restore();
    // Outline from (0, 0) to (w - 3, h - 3), then the shadow.
    painter.fillRect(QRect(0, 0, w - 2, 1), Qt::black);
    painter.fillRect(QRect(0, h - 3, w - 2, 1), Qt::black);
    painter.fillRect(QRect(0, 0, 1, h - 2), Qt::black);
    painter.fillRect(QRect(w - 3, 0, 1, h - 2), Qt::black);
    painter.fillRect(QRect(w - 2, 2, 2, h - 2), Qt::black);
    painter.fillRect(QRect(2, h - 2, w - 2, 2), Qt::black);
}

void TBRPreviewImage::paintEvent(QPaintEvent*)
{
    // A damaged picture shows what could be played; the error surfaced when
    // the page was fetched.
    QPainter painter(this);
    PaintPage(painter);
}
