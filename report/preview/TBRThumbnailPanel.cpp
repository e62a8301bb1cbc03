#include "TBRThumbnailPanel.h"

#include "Application.h"
#include "RecordedPagePainter.h"
#include "TBRPrinter.h"

#include <QHash>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <algorithm>
#include <deque>

namespace {
constexpr int kPictureWidth = 110;
constexpr int kMargin = 10;
constexpr int kLabelHeight = 16;
// Pictures held: a few screens of them.
constexpr int kMaxCached = 96;
const QColor kCurrent(30, 90, 180);
const QColor kDamaged(160, 40, 40);
} // namespace

struct TBRThumbnailPanel::Cache {
    QHash<int, QImage> pictures; // a null image: the page could not be read
    QSet<int> partial;           // pages whose picture is damaged and drawn in part
    std::deque<int> order;       // oldest first
};

class TBRThumbnailPanel::Strip : public QWidget {
public:
    explicit Strip(TBRThumbnailPanel* panel) : QWidget(panel), m_panel(panel) {}

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        m_panel->PaintStrip(painter, event->rect());
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        const int page = m_panel->PageAt(event->position().toPoint());
        if (page > 0 && m_panel->OnPageClick)
            Application::Guard([&] { m_panel->OnPageClick(page); });
    }

private:
    TBRThumbnailPanel* m_panel;
};

TBRThumbnailPanel::TBRThumbnailPanel(QWidget* parent)
    : QScrollArea(parent), m_strip(new Strip(this)), m_cache(std::make_unique<Cache>())
{
    setWidget(m_strip);
    setWidgetResizable(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    setBackgroundRole(QPalette::Dark);
    const int width = kPictureWidth + 2 * kMargin;
    m_strip->resize(width, kMargin);
    setFixedWidth(width + verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
}

TBRThumbnailPanel::~TBRThumbnailPanel() = default;

void TBRThumbnailPanel::SetBRPrinter(TBRPrinter* printer)
{
    m_printer = printer;
    Reset();
}

QSize TBRThumbnailPanel::PictureSize() const
{
    double ratio = 297.0 / 210.0;
    if (m_printer && m_printer->OrientedPaperWidth() > 0 && m_printer->OrientedPaperLength() > 0)
        ratio = double(m_printer->OrientedPaperLength()) / m_printer->OrientedPaperWidth();
    return QSize(kPictureWidth, std::clamp(int(kPictureWidth * ratio + 0.5), 8, 4 * kPictureWidth));
}

int TBRThumbnailPanel::ItemHeight() const
{
    return PictureSize().height() + kLabelHeight + kMargin;
}

QRect TBRThumbnailPanel::PictureRect(int page) const
{
    if (page < 1 || page > m_pageCount)
        return {};
    return QRect(QPoint(kMargin, kMargin + (page - 1) * ItemHeight()), PictureSize());
}

int TBRThumbnailPanel::PageAt(const QPoint& p) const
{
    if (p.y() < kMargin)
        return 0;
    const int page = (p.y() - kMargin) / ItemHeight() + 1;
    // The picture or its number below it.
    const QRect item = PictureRect(page).adjusted(-kMargin / 2, 0, kMargin / 2, kLabelHeight);
    return item.contains(p) ? page : 0;
}

void TBRThumbnailPanel::SetPageCount(int count)
{
    count = std::max(count, 0);
    if (count == m_pageCount)
        return;
    m_pageCount = count;
    m_strip->resize(kPictureWidth + 2 * kMargin, kMargin + count * ItemHeight());
    m_strip->update();
}

void TBRThumbnailPanel::SetCurrentPage(int page)
{
    if (page == m_currentPage)
        return;
    const QRect before = PictureRect(m_currentPage), after = PictureRect(page);
    m_currentPage = page;
    m_strip->update(before.adjusted(-4, -4, 4, 4 + kLabelHeight));
    m_strip->update(after.adjusted(-4, -4, 4, 4 + kLabelHeight));
    if (!after.isEmpty())
        ensureVisible(after.center().x(), after.center().y(), 0, after.height() / 2 + kMargin);
}

void TBRThumbnailPanel::Reset()
{
    m_cache->pictures.clear();
    m_cache->partial.clear();
    m_cache->order.clear();
    m_strip->update();
}

void TBRThumbnailPanel::Refresh()
{
    m_strip->update();
}

bool TBRThumbnailPanel::DrawnInPart(int page) const
{
    return m_cache->partial.contains(page);
}

int TBRThumbnailPanel::Cached() const
{
    return int(m_cache->pictures.size());
}

const QImage* TBRThumbnailPanel::Picture(int page)
{
    if (auto it = m_cache->pictures.constFind(page); it != m_cache->pictures.constEnd())
        return &*it;
    if (!m_printer)
        return nullptr;
    QImage image;
    bool partial = false;
    try {
        const qreal dpr = devicePixelRatioF();
        const QSize size = PictureSize() * dpr;
        image = QImage(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        const PagePaintResult result = brp::PaintRecordedPage(*m_printer, page, p, QRectF(QPointF(0, 0), QSizeF(size)));
        p.end();
        if (result.outcome == PagePaintResult::Outcome::NotRecorded)
            return nullptr; // asked again on the next paint
        partial = result.Partial();
        image.setDevicePixelRatio(dpr);
        ++m_renders;
    } catch (...) {
        // A damaged page shows as such; the preview reports it when shown.
        image = QImage();
    }
    if (int(m_cache->order.size()) >= kMaxCached) {
        m_cache->pictures.remove(m_cache->order.front());
        m_cache->partial.remove(m_cache->order.front());
        m_cache->order.pop_front();
    }
    if (partial)
        m_cache->partial.insert(page);
    m_cache->order.push_back(page);
    return &*m_cache->pictures.insert(page, image);
}

void TBRThumbnailPanel::PaintStrip(QPainter& painter, const QRect& area)
{
    painter.fillRect(area, palette().color(QPalette::Dark));
    if (m_pageCount <= 0)
        return;
    const int h = ItemHeight();
    const int first = std::max(1, (area.top() - kMargin) / h + 1);
    const int last = std::min(m_pageCount, (area.bottom() - kMargin) / h + 1);
    for (int page = first; page <= last; ++page) {
        const QRect r = PictureRect(page);
        const QImage* image = Picture(page);
        if (image && !image->isNull()) {
            painter.drawImage(r, *image);
        } else {
            painter.fillRect(r, QColor(235, 235, 235));
            if (image) { // damaged: crossed out
                painter.setPen(kDamaged);
                painter.drawLine(r.topLeft(), r.bottomRight());
                painter.drawLine(r.topRight(), r.bottomLeft());
            }
        }
        const bool current = page == m_currentPage;
        painter.setBrush(Qt::NoBrush);
        painter.setPen(current ? QPen(kCurrent, 3) : QPen(Qt::black, 1));
        painter.drawRect(current ? r.adjusted(-2, -2, 1, 1) : r.adjusted(0, 0, -1, -1));
        QFont font = painter.font();
        font.setBold(current);
        painter.setFont(font);
        const bool inPart = m_cache->partial.contains(page);
        painter.setPen(inPart ? kDamaged : current ? kCurrent : palette().color(QPalette::BrightText));
        painter.drawText(QRect(r.left(), r.bottom() + 2, r.width(), kLabelHeight), Qt::AlignCenter,
                         inPart ? QStringLiteral("%1 (in part)").arg(page) : QString::number(page));
    }
}
