#pragma once
// What the standard preview window reads from the report that owns the target
// it shows. The report model implements it beside BRPrintHost; a target whose
// owner does not is shown with the window's own defaults.

class TBRPrinter;

class BRPreviewHost {
public:
    virtual ~BRPreviewHost() = default;
    BRPreviewHost() = default;
    BRPreviewHost(const BRPreviewHost&) = delete;
    BRPreviewHost& operator=(const BRPreviewHost&) = delete;
    // The report's PrevFormStyle as its ordinal: 0 fsNormal, 1 fsMDIChild,
    // 2 fsMDIForm, 3 fsStayOnTop.
    virtual int PreviewFormStyleOrdinal() const = 0;
    // The stored sizes (500 when stored as 0 or less).
    virtual int PreviewWindowWidth() const = 0;
    virtual int PreviewWindowHeight() const = 0;
    // The report's PreviewInitialState as its ordinal: 0 wsNormal,
    // 1 wsMinimized, 2 wsMaximized.
    virtual int PreviewInitialStateOrdinal() const = 0;
    // The report's current output target, none between runs. The preview's
    // print button does nothing while that target is generating.
    virtual TBRPrinter* CurrentOutputTarget() const = 0;
};
