#pragma once
// Paints one recorded page of an output target: white sheet, the page's
// picture played at the image's size, a black outline and a shadow on the
// right and at the bottom. The picture is replayed from its records on every
// paint, so the page stays sharp at any zoom and screen density. A page drawn
// only in part is said in a note the window shows.

#include "RecordedPagePainter.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <memory>

class TBRPrinter;
class TMetafile;

class TBRPreviewImage : public QWidget {
    Q_OBJECT
public:
    explicit TBRPreviewImage(QWidget* parent = nullptr);
    ~TBRPreviewImage() override;

    // Fetches page `page` from the target (none without a target or while the
    // page is not ready) and paints at once.
    void SetImagePage(int page);
    int ImagePage() const { return m_imagePage; }
    bool HasImage() const { return m_hasImage; }
    const TMetafile* Picture() const { return m_picture.get(); }

    TBRPrinter* BRPrinter() const { return m_printer; }
    void SetBRPrinter(TBRPrinter* printer) { m_printer = printer; }

    // A copy of the preview's zoom; painting uses the image's size.
    int Zoom() const { return m_zoom; }
    void SetZoom(int zoom) { m_zoom = zoom; }

    // Marks a box of page `page` (its reference pixels, as recorded); the mark
    // shows whenever that page does.
    void SetHighlight(int page, const QRect& pageRect);
    void ClearHighlight();
    // The mark in the image's pixels; empty when it does not show.
    QRect HighlightArea() const;

    // Paints the image as it shows on screen, at (0, 0) of `painter`.
    PagePaintResult PaintPage(QPainter& painter) const;
    // Empty, or what is wrong with the page last painted.
    const QString& PageNote() const { return m_pageNote; }

Q_SIGNALS:
    void PageNoteChanged(const QString& note);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<TBRPrinter> m_printer;
    int m_imagePage = 1;
    std::unique_ptr<TMetafile> m_picture;
    bool m_hasImage = false;
    int m_zoom = 100;
    int m_highlightPage = 0;
    QRect m_highlight;
    QString m_pageNote;
};
