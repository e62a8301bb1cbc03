#pragma once
// A column of small pictures of the pages of an output target, beside the
// preview. Only the pages that come into view are drawn, each once (the
// last hundred or so pictures drawn are kept); the current page is framed,
// a page drawn only in part says so under its picture, and a click on a page
// asks to show it.

#include <QPointer>
#include <QScrollArea>
#include <functional>
#include <memory>

class TBRPrinter;

class TBRThumbnailPanel : public QScrollArea {
    Q_OBJECT
public:
    explicit TBRThumbnailPanel(QWidget* parent = nullptr);
    ~TBRThumbnailPanel() override;

    // Called with the page clicked.
    std::function<void(int page)> OnPageClick;

    void SetBRPrinter(TBRPrinter* printer);
    // Pages to list; the pictures already drawn are kept.
    void SetPageCount(int count);
    int PageCount() const { return m_pageCount; }
    void SetCurrentPage(int page);
    int CurrentPage() const { return m_currentPage; }
    // Drops every picture (the target's pages were replaced).
    void Reset();
    // Paints again: pages not ready before may be now.
    void Refresh();

    // Where page's picture lies in the column's own coordinates.
    QRect PictureRect(int page) const;
    QSize PictureSize() const;
    // Pictures drawn from pages so far, and held now.
    int Renders() const { return m_renders; }
    int Cached() const;
    // Whether page's picture, as held now, is damaged and drawn in part.
    bool DrawnInPart(int page) const;

private:
    class Strip;
    friend class Strip;

    int ItemHeight() const;
    int PageAt(const QPoint& stripPoint) const;
    void PaintStrip(QPainter& painter, const QRect& area);
    // The picture of page, drawn if not held yet; null while the page is not ready.
    const QImage* Picture(int page);

    Strip* m_strip;
    QPointer<TBRPrinter> m_printer;
    int m_pageCount = 0;
    int m_currentPage = 0;
    int m_renders = 0;
    struct Cache;
    std::unique_ptr<Cache> m_cache;
};
