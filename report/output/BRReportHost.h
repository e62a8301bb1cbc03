#pragma once
// What the geometry holders need from the report and its bands. The report
// model implements these; the holders never own them.

#include <QRect>

class BRReportHost {
public:
    virtual ~BRReportHost() = default;
    BRReportHost() = default;
    BRReportHost(const BRReportHost&) = delete;
    BRReportHost& operator=(const BRReportHost&) = delete;
    // Point size of the report font (may be negative: a character height).
    virtual double FontSize() const = 0;
    // Resize the design panel that shows the page.
    virtual void SetPanelSize(int width, int height) = 0;
    // Re-lay the bands on the panel (widths follow the page).
    virtual void LayOutBands() = 0;
    virtual void RepaintPanel() = 0;
    // Write the report's current units into every size record again.
    virtual void ReapplyUnits() = 0;
};

class BRBandHost {
public:
    virtual ~BRBandHost() = default;
    BRBandHost() = default;
    BRBandHost(const BRBandHost&) = delete;
    BRBandHost& operator=(const BRBandHost&) = delete;
    virtual BRReportHost* Report() const = 0;
    virtual QRect PanelBounds() const = 0;
    virtual void SetPanelBounds(const QRect& bounds) = 0;
};

// A control that shows a frame and must repaint when the frame changes.
class BRRepaintable {
public:
    virtual ~BRRepaintable() = default;
    BRRepaintable() = default;
    BRRepaintable(const BRRepaintable&) = delete;
    BRRepaintable& operator=(const BRRepaintable&) = delete;
    virtual void Repaint() = 0;
};
