#pragma once
// Stand-in for the report model: answers what the geometry holders ask and
// counts what they ask it to do.

#include "BRReportHost.h"

struct FakeReportHost : BRReportHost {
    double fontSize = 10;
    int panelWidth = 0, panelHeight = 0;
    int layOuts = 0, repaints = 0, reapplies = 0, resizes = 0;

    double FontSize() const override { return fontSize; }
    void SetPanelSize(int w, int h) override
    {
        panelWidth = w;
        panelHeight = h;
        ++resizes;
    }
    void LayOutBands() override { ++layOuts; }
    void RepaintPanel() override { ++repaints; }
    void ReapplyUnits() override { ++reapplies; }
};

struct FakeBandHost : BRBandHost {
    BRReportHost* report = nullptr;
    QRect bounds{5, 7, 0, 0};
    BRReportHost* Report() const override { return report; }
    QRect PanelBounds() const override { return bounds; }
    void SetPanelBounds(const QRect& b) override { bounds = b; }
};
