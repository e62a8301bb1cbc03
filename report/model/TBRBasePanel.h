#pragma once
// Base of the report and its bands: a light panel with pixel bounds, a frame,
// a zoom, a font and the printables placed on it. Never shown as a widget.

#include "BRReportHost.h"
#include "InheritableFont.h"
#include "TBRFrame.h"
#include "TComponent.h"
#include "TGraphics.h"

#include <QList>
#include <QRect>
#include <memory>

class BRDefinitionWriter;

// Pixel bounds are kept within this many pixels of the origin, so that sums
// of them stay within an int whatever lengths a definition holds.
constexpr int BRMaxPixels = 1 << 24;

namespace brp {

// Bounds with each value brought within BRMaxPixels.
QRect SafeRect(qint64 left, qint64 top, qint64 width, qint64 height);

} // namespace brp

class TBRPrintable;

class TBRBasePanel : public TComponent, public BRRepaintable {
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(TBRFrame* Frame READ Frame)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
public:
    explicit TBRBasePanel(TComponent* owner = nullptr);
    ~TBRBasePanel() override;

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // Pixel bounds on the report's design surface.
    QRect Bounds() const { return m_bounds; }
    int Left() const { return m_bounds.left(); }
    int Top() const { return m_bounds.top(); }
    int Width() const { return m_bounds.width(); }
    int Height() const { return m_bounds.height(); }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    // A resize request; subclasses decide what they accept.
    virtual void SetBounds(int left, int top, int width, int height);

    TBRFrame* Frame() const { return m_frame.get(); }

    // Percent, 100 by default; passed on to the printables on the panel.
    int Zoom() const { return m_zoom; }
    virtual void SetZoom(int zoom);
    int RulerFontSize() const { return m_rulerFontSize; }

    TColor Color() const { return m_color; }
    void SetColor(TColor color);

    // The panel's own font; with ParentFont the report's is used.
    const TFont& Font() const;
    void SetFont(const TFont& font);
    // For definitions: the stored font, edited field by field.
    TFont& StoredFont() { return m_font.Own(); }
    bool ParentFont() const { return m_font.Inherits(); }
    void SetParentFont(bool value);
    virtual const TBRBasePanel* FontParent() const { return nullptr; }

    // Printables placed on this panel, in placement order.
    const QList<TBRPrintable*>& Printables() const { return m_printables; }
    // Called by a printable when it is placed on or leaves this panel.
    void InsertPrintable(TBRPrintable* printable);
    void RemovePrintable(TBRPrintable* printable);

    void Repaint() override {}

    // Definition writing: the panel's properties after its name and class.
    virtual void WriteProperties(BRDefinitionWriter& writer) const;

protected:
    // Frees the printables placed here; derived destructors call it first.
    void DestroyPrintables();
    void SetBoundsRaw(const QRect& bounds) { m_bounds = bounds; }

    QRect m_bounds;

private:
    std::unique_ptr<TBRFrame> m_frame;
    QList<TBRPrintable*> m_printables;
    InheritableFont m_font;
    int m_tag = 0;
    int m_zoom = 100;
    int m_rulerFontSize = 12;
    TColor m_color = clWhite;
};
