#pragma once
// Base of every printable control: geometry in native units (Size) with pixel
// bounds derived from it, a frame, and the operations a report run calls.
// Labels, data fields, expressions and shapes override the virtual ones.

#include "BRModelTypes.h"
#include "BRReportHost.h"
#include "InheritableFont.h"
#include "TBRFrame.h"
#include "TBRPrintableSize.h"
#include "TComponent.h"
#include "TGraphics.h"

#include <QPointer>
#include <QRect>
#include <memory>

class BRDefinitionWriter;
class TBRBasePanel;
class TBRCustomBand;
#include "TBRPrinter.h"
class TCustomBandReport;

class TBRPrintable : public TComponent, public BRRepaintable {
    Q_OBJECT
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(TBRFrame* Frame READ Frame)
    Q_PROPERTY(TBRPrintableSize* Size READ Size)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
public:
    explicit TBRPrintable(TComponent* owner = nullptr);
    ~TBRPrintable() override;

    // The engine's operations, in this order of declaration.
    // False only for a visible printable that is not enabled.
    virtual bool CanOutput() const;
    // Moves the printable to its band's left, right or centre (AlignToBand).
    virtual void AlignInBand();
    // Before a run: InOutput set, the report's output target taken.
    virtual void BeginOutput();
    // Draws at the band's top-left corner (native units) plus Size.Left/Top.
    virtual void PrintAt(int offsetX, int offsetY);
    // Codes from the report's controllers and bands (BRModelTypes.h).
    virtual void EngineNotify(QObject* sender, std::uint8_t code);
    virtual void SetAlignment(TAlignment alignment);
    // After a run: InOutput cleared.
    virtual void EndOutput();
    // The text of its last PrintAt, as an export filter writes it (lines
    // joined by "\n"); empty for what prints no text.
    virtual QString PrintedText() const { return {}; }

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    // Pixel bounds on the design surface.
    QRect Bounds() const { return m_bounds; }
    int Left() const { return m_bounds.left(); }
    int Top() const { return m_bounds.top(); }
    int Width() const { return m_bounds.width(); }
    int Height() const { return m_bounds.height(); }
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    // From Size (while it resizes), while loading (kept as pending bounds),
    // or from the designer (converted into Size).
    virtual void SetBounds(int left, int top, int width, int height);

    TBRFrame* Frame() const { return m_frame.get(); }
    TBRPrintableSize* Size() const { return m_size.get(); }

    TAlignment Alignment() const { return m_alignment; }
    bool AlignToBand() const { return m_alignToBand; }
    void SetAlignToBand(bool value);
    bool Aligning() const { return m_aligning; }

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    // The control's visibility; not published.
    bool Visible() const { return m_visible; }
    void SetVisible(bool value) { m_visible = value; }
    bool Transparent() const { return !m_opaque; }
    void SetTransparent(bool value);
    TColor Color() const { return m_color; }
    void SetColor(TColor color);

    // The printable's own font; with ParentFont the parent panel's.
    const TFont& Font() const;
    virtual void SetFont(const TFont& font);
    TFont& StoredFont() { return m_font.Own(); }
    bool ParentFont() const { return m_font.Inherits(); }
    void SetParentFont(bool value);

    // Where it is placed: a band or the report itself.
    TBRBasePanel* ParentPanel() const;
    virtual void SetParentPanel(TBRBasePanel* parent);
    TBRCustomBand* Band() const;
    TCustomBandReport* OwnerReport() const;
    void SetOwnerReport(TCustomBandReport* report);

    // Zoom of Size; changing it re-derives the pixel bounds.
    int Zoom() const;
    void SetZoom(int zoom);

    bool InOutput() const { return m_inOutput; }
    bool OutputComplete() const { return m_outputComplete; }
    void SetOutputComplete(bool value) { m_outputComplete = value; }
    TBRPrinter* OutputTarget() const { return m_outputTarget.data(); }

    int PendingLeft() const { return m_pendingLeft; }
    int PendingTop() const { return m_pendingTop; }
    int PendingWidth() const { return m_pendingWidth; }
    int PendingHeight() const { return m_pendingHeight; }

    void Loaded() override;
    void Repaint() override {}

    // Definition writing: the printable's properties after its name and class.
    virtual void WriteProperties(BRDefinitionWriter& writer) const;

protected:
    // Hook after the printable was placed on a new parent (labels re-break).
    virtual void ParentChanged() {}
    // Base output: the frame around Size, when the report draws on the page.
    void PaintOwnFrame(int offsetX, int offsetY) const;
    bool RenderToSurface() const;

    bool m_aligning = false;
    TAlignment m_alignment = taLeftJustify;
    bool m_alignToBand = false;
    bool m_inOutput = false;
    bool m_outputComplete = true;

private:
    std::unique_ptr<TBRFrame> m_frame;
    std::unique_ptr<TBRPrintableSize> m_size;
    QPointer<TBRBasePanel> m_parent;
    QPointer<TCustomBandReport> m_ownerReport;
    QPointer<TBRPrinter> m_outputTarget;
    QRect m_bounds{0, 0, 10, 10};
    InheritableFont m_font;
    int m_tag = 0;
    int m_pendingLeft = 0;
    int m_pendingTop = 0;
    int m_pendingWidth = 0;
    int m_pendingHeight = 0;
    TColor m_color = clWhite;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_opaque = true;
};
