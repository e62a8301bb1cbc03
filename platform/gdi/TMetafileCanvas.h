#pragma once
// Recording canvas: every drawing operation becomes an enhanced metafile
// record. The page is sized in reference pixels (the screen's logical
// resolution, 96 pixels per inch unless told otherwise); Finish() closes the
// recording and returns the metafile bytes.

#include "TCanvas.h"

#include <QByteArray>
#include <memory>

class TMetafile;

class TMetafileCanvas : public TCanvas {
public:
    TMetafileCanvas(int width, int height, int pixelsPerInch = 96,
                    const QString& description = QString());
    // Records into `metafile`, sized by its Width and Height; the recording is
    // stored into it by Finish() or, if not called, by the destructor.
    explicit TMetafileCanvas(TMetafile* metafile, int pixelsPerInch = 96,
                             const QString& description = QString());
    ~TMetafileCanvas() override;

    TMetafileCanvas(const TMetafileCanvas&) = delete;
    TMetafileCanvas& operator=(const TMetafileCanvas&) = delete;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int x1, int y1, int x2, int y2) override;
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void FillRect(const TRect& rect) override;
    void TextOut(int x, int y, const QString& text, unsigned options = 0) override;
    QSize TextExtent(const QString& text) override;
    bool StretchDraw(const TRect& rect, const QByteArray& emf) override;
    void RemoveClipRegion() override;
    void Refresh() override;
    int PixelsPerInchX() const override;
    int PixelsPerInchY() const override;

    // Ends the recording (EMR_EOF, header completed) and returns the bytes.
    // Further drawing is ignored; calling it again returns the same bytes.
    QByteArray Finish();

    // Records into buffer's storage instead of a new one (its bytes are
    // dropped, its capacity kept): pages of one run reuse one allocation.
    // Ignored once something was recorded or when buffer is shared.
    void ReuseBuffer(QByteArray buffer);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
