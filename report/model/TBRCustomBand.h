#pragma once
// A band of a report: a strip of the page with a height of its own and a
// width from the report's layout, carrying printables.

#include "BRModelTypes.h"
#include "TBRBandSize.h"
#include "TBRBandType.h"
#include "TBRBasePanel.h"

#include <QPointer>

class TBRCustomController;
class TCustomBandReport;

class TBRCustomBand : public TBRBasePanel, public BRBandHost {
    Q_OBJECT
    Q_PROPERTY(bool AlignToBottom READ AlignToBottom WRITE SetAlignToBottom)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool ForceNewColumn READ ForceNewColumn WRITE SetForceNewColumn)
    Q_PROPERTY(bool ForceNewPage READ ForceNewPage WRITE SetForceNewPage)
    Q_PROPERTY(bool HasChild READ HasChild WRITE SetHasChild STORED false)
    Q_PROPERTY(TBRCustomBand* LinkBand READ LinkBand WRITE SetLinkBand)
    Q_PROPERTY(TBRBandSize* Size READ Size)
public:
    explicit TBRCustomBand(TComponent* owner = nullptr);
    ~TBRCustomBand() override;

    // Virtual operations after those of the panel.
    virtual QString GetCaptionText() const { return brp::BandTypeCaption(m_bandType); }
    virtual QString GetBaseName() const { return brp::BandBaseName(m_bandType); }
    virtual void SetParentReport(TCustomBandReport* report);

    TBRBandType BandType() const { return m_bandType; }
    // Re-orders and re-lays the report's bands when the band is on one.
    virtual void SetBandType(TBRBandType type);
    // The type the layout and the run use: a child band takes that of its
    // first ancestor that is not a child band.
    TBRBandType EffectiveBandType() const;

    TCustomBandReport* ParentReport() const;
    // Where the band is placed; a band given as parent stands for its report.
    TBRBasePanel* ParentPanel() const { return m_parentPanel.data(); }
    void SetParentPanel(TBRBasePanel* parent);

    bool AlignToBottom() const { return m_alignToBottom; }
    void SetAlignToBottom(bool v) { m_alignToBottom = v; }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool v) { m_enabled = v; }
    bool ForceNewColumn() const { return m_forceNewColumn; }
    void SetForceNewColumn(bool v) { m_forceNewColumn = v; }
    bool ForceNewPage() const { return m_forceNewPage; }
    void SetForceNewPage(bool v) { m_forceNewPage = v; }

    // The first child band of this band in the report's band list.
    TBRCustomBand* ChildBand() const;
    bool HasChild() const { return ChildBand() != nullptr; }
    void SetHasChild(bool value);

    TBRCustomBand* LinkBand() const { return m_linkBand.data(); }
    // Refused (silently at run time) when it would close a circle of links;
    // while the band is loaded, its reader checks that.
    void SetLinkBand(TBRCustomBand* band);

    TBRBandSize* Size() const { return m_size.get(); }

    // Services for printables that grow while they print. Room comes from
    // the report's AvailableSpace during a run.
    bool CanExpand(BRNative amount) const;
    bool ExpandBand(BRNative amount, BRNative& newExpanded, bool& firstDone);

    // ---- Generation run (TBRCustomBandPrint.cpp) ---------------------------
    // Prints the band at the report's cursor: breaks, background, the
    // controls in passes while any of them has more to print, frame, child.
    virtual void PrintSelf();
    // Native height that must fit on the page: the band's and its link chain's.
    BRNative RequiredHeight() const;

    // Run state.
    BRNative Expanded = 0;
    TRect DeviceRect;
    QPointer<TBRCustomController> PrintingController; // prints it as its detail band
    TBRBandBeforePrintEvent BeforePrint;
    TBRBandAfterPrintEvent AfterPrint;

    bool LayingOut() const { return m_layingOut; }
    void SetLayingOut(bool value) { m_layingOut = value; }
    // Places the band without the designer's rules (the report's layout).
    void MoveTo(int left, int top);

    // Sends a code to every printable on the band aligned to it.
    void NotifyAlignedPrintables(std::uint8_t code);

    void SetZoom(int zoom) override;
    void SetBounds(int left, int top, int width, int height) override;
    const TBRBasePanel* FontParent() const override;

    // BRBandHost
    BRReportHost* Report() const override;
    QRect PanelBounds() const override { return m_bounds; }
    void SetPanelBounds(const QRect& bounds) override;

    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    void WriteProperties(BRDefinitionWriter& writer) const override;

protected:
    // Derived destructors call it first: leaves the report while the whole
    // band can still be seen by it.
    void BeginDestroy();
    // Re-order and re-lay the report's bands, unless it is being read or destroyed.
    void ReorderReport();

    TBRBandType m_bandType = rbDetail;

private:
    std::unique_ptr<TBRBandSize> m_size;
    QPointer<TCustomBandReport> m_report;
    QPointer<TBRBasePanel> m_parentPanel;
    QPointer<TBRCustomBand> m_linkBand;
    int m_loadedHeight = 0; // pixel height read from the definition, other than 40
    bool m_alignToBottom = false;
    bool m_enabled = true;
    bool m_forceNewColumn = false;
    bool m_forceNewPage = false;
    bool m_layingOut = false;
};
