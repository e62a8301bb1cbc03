#pragma once
// The scroll box that shows one page of an output target: holds the image,
// computes zoom and placement, pages through the target and passes on the
// target's pages-ready and progress messages.

#include "TBRPrinter.h"

#include <QPointer>
#include <QScrollArea>
#include <functional>

class TBRPreviewImage;

enum TBRZoomMode { zmFit = 0, zmWidth = 1, zmFree = 2 };

using TBRPageAvailableEvent = std::function<void(QObject* sender, int PageNum)>;
using TBRProgressUpdateEvent = std::function<void(QObject* sender, int Progress)>;

class TBRPreview : public QScrollArea, public BRPrinterClient {
    Q_OBJECT
    Q_PROPERTY(int PageNumber READ PageNumber WRITE SetPageNumber)
    Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom)
public:
    explicit TBRPreview(QWidget* parent = nullptr);
    ~TBRPreview() override;

    TBRPageAvailableEvent OnPageAvailable;
    TBRProgressUpdateEvent OnProgressUpdate;

    TBRPreviewImage* PreviewImage() const { return m_image; }

    // Attaches a target, or with none detaches the current one.
    TBRPrinter* BRPrinter() const { return m_printer; }
    void SetBRPrinter(TBRPrinter* printer);
    void DetachPrinter(TBRPrinter* printer) override;

    int PageNumber() const { return m_pageNumber; }
    // Ignored outside 1..PageTotal, without a target, and for the page already shown.
    void SetPageNumber(int value);

    int Zoom() const { return m_zoom; }
    // Percent; ignored outside 2..2000.
    void SetZoom(int value);
    TBRZoomMode ZoomMode() const { return m_zoomMode; }

    // Scrolls so that `area` of the image (its pixels) is in view.
    void ShowImageArea(const QRect& area);

    void FitPage();
    void FitWidth();
    void LayoutImage();

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Detach();
    void PagesReady(int pages);
    void ScrollHome();
    // Oriented paper in native units; Letter without a target.
    long double PaperWidth() const;
    long double PaperLength() const;

    QWidget* m_content;
    TBRPreviewImage* m_image;
    int m_pageNumber = 1;
    QPointer<TBRPrinter> m_printer;
    int m_zoom = 100;
    TBRZoomMode m_zoomMode = zmFree;
};
