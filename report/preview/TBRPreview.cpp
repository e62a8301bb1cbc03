#include "TBRPreview.h"

#include "Application.h"
#include "BRMessages.h"
#include "BRRound.h"
#include "TBRPreviewImage.h"

#include <QResizeEvent>
#include <algorithm>
#include <QScrollBar>

namespace {
// Letter in millimetres, taken as native numbers, when no target is attached.
constexpr long double kLetterWidth = 215.9L;
constexpr long double kLetterLength = 279.4L;
} // namespace

TBRPreview::TBRPreview(QWidget* parent)
    : QScrollArea(parent), m_content(new QWidget), m_image(new TBRPreviewImage(m_content))
{
    setWidget(m_content);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_image->move(0, 0);
    m_content->resize(m_image->size());
    // The window's keys page through the report; the box itself takes none.
    setFocusPolicy(Qt::NoFocus);
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
    resize(250, 250);
}

TBRPreview::~TBRPreview()
{
    Detach();
}

void TBRPreview::Detach()
{
    if (m_printer && m_printer->StatusClient() == this) {
        TBRPrinter* const printer = m_printer;
        // The event may raise; the target lets go of this preview whatever happens.
        struct Release {
            TBRPrinter* p;
            QObject* self;
            ~Release()
            {
                if (p->StatusClient() == self)
                    p->SetStatusClient(nullptr);
            }
        } release{printer, this};
        printer->SetPreviewOpen(false);
    }
}

void TBRPreview::SetBRPrinter(TBRPrinter* printer)
{
    Detach();
    m_printer = printer;
    m_image->SetBRPrinter(printer);
    if (printer) {
        printer->SetStatusClient(this);
        printer->SetPreviewOpen(true);
    }
    SetPageNumber(1);
    m_image->SetImagePage(1);
    viewport()->update();
}

void TBRPreview::DetachPrinter(TBRPrinter* printer)
{
    if (printer == m_printer)
        SetBRPrinter(nullptr);
}

void TBRPreview::SetPageNumber(int value)
{
    if ((value == m_pageNumber && m_image->HasImage()) || value <= 0 || !m_printer || value > m_printer->PageTotal())
        return;
    m_image->SetImagePage(value);
    m_pageNumber = value;
    ScrollHome();
}

void TBRPreview::ScrollHome()
{
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void TBRPreview::ShowImageArea(const QRect& area)
{
    if (area.isEmpty())
        return;
    const QPoint centre = m_image->pos() + area.center();
    // Some room around the area, as long as the area fits.
    const int xMargin = std::min(area.width() / 2 + 40, std::max(viewport()->width() / 2, area.width() / 2));
    const int yMargin = std::min(area.height() / 2 + 40, std::max(viewport()->height() / 2, area.height() / 2));
    ensureVisible(centre.x(), centre.y(), xMargin, yMargin);
}

long double TBRPreview::PaperWidth() const
{
    return m_printer ? static_cast<long double>(m_printer->OrientedPaperWidth()) : kLetterWidth;
}

long double TBRPreview::PaperLength() const
{
    return m_printer ? static_cast<long double>(m_printer->OrientedPaperLength()) : kLetterLength;
}

void TBRPreview::SetZoom(int value)
{
    if (value < 2 || value > 2000)
        return;
    m_zoomMode = zmFree;
    m_zoom = value;
    LayoutImage();
}

void TBRPreview::FitPage()
{
    const long double W = width(), H = height();
    int a, b;
    if (m_printer) {
        a = brp::Round(W / m_printer->DeviceWidth(PaperWidth()) * 95);
        b = brp::Round(H / m_printer->DeviceHeight(PaperLength()) * 95);
    } else {
        a = brp::Round(W / kLetterWidth * 95);
        b = brp::Round(H / kLetterLength * 95);
    }
    SetZoom(std::min(a, b));
    m_zoomMode = zmFit;
}

void TBRPreview::FitWidth()
{
    const long double W = width();
    if (m_printer)
        SetZoom(brp::Round(W / m_printer->DeviceWidth(PaperWidth()) * 90));
    else
        SetZoom(brp::Round(W / kLetterWidth * 95));
    LayoutImage();
    m_zoomMode = zmWidth;
}

void TBRPreview::LayoutImage()
{
    int w, h;
    if (m_printer) {
        w = m_printer->DeviceWidth(PaperWidth() / 100 * m_zoom) + 4;
        h = m_printer->DeviceHeight(PaperLength() / 100 * m_zoom) + 4;
    } else {
        w = brp::Round(kLetterWidth / 100 * m_zoom) + 4;
        h = brp::Round(kLetterLength / 100 * m_zoom) + 4;
    }
    // A nonsensical paper size must not ask for an impossible widget.
    w = std::clamp(w, 1, QWIDGETSIZE_MAX / 2);
    h = std::clamp(h, 1, QWIDGETSIZE_MAX / 2);
    const int left = w < width() ? (width() - w) / 2 : 0;
    const int top = h < height() ? (height() - h) / 2 : 0;
    m_image->setGeometry(left, top, w, h);
    m_content->resize(left + w, top + h);
    ScrollHome();
    m_image->SetZoom(m_zoom);
}

void TBRPreview::resizeEvent(QResizeEvent* event)
{
    QScrollArea::resizeEvent(event);
    Application::Guard([this] {
        if (m_zoomMode == zmFit)
            FitPage();
        else if (m_zoomMode == zmWidth)
            FitWidth();
        LayoutImage();
    });
}

void TBRPreview::PagesReady(int pages)
{
    if (pages == m_pageNumber && m_printer && !m_image->HasImage() && m_image->ImagePage() <= m_printer->PagesReady()) {
        FitWidth();
        m_image->SetImagePage(m_image->ImagePage());
    }
    if (OnPageAvailable)
        OnPageAvailable(this, pages);
}

bool TBRPreview::event(QEvent* event)
{
    if (BRMessageEvent::Is(event, BRM_PAGESREADY)) {
        const int pages = static_cast<quint16>(static_cast<BRMessageEvent*>(event)->WParam);
        Application::Guard([&] { PagesReady(pages); });
        return true;
    }
    if (BRMessageEvent::Is(event, BRM_PROGRESS)) {
        const int progress = static_cast<quint16>(static_cast<BRMessageEvent*>(event)->WParam);
        Application::Guard([&] {
            if (OnProgressUpdate)
                OnProgressUpdate(this, progress);
        });
        return true;
    }
    return QScrollArea::event(event);
}
