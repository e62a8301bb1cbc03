#pragma once
// The report: page, bands, functions, options and run state. Implements what
// the page, the band size records and the output target call back into.

#include "BRModelTypes.h"
#include "BRPreviewHost.h"
#include "BRPrintHost.h"
#include "DataSetListSlot.h"
#include "TBRBandType.h"
#include "TBRBasePanel.h"
#include "TBRPage.h"
#include "TBandReportBands.h"
#include "TBandReportPrinterSettings.h"
#include "TBRPrinter.h"
#include "TextMeasure.h"

#include <QHash>
#include <QSet>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TBRCustomBand;
class TBRBand;
class TBRCustomController;
class TBREvEnvironment;
class TBREvElement;
class TBRPrintable;
class TBRExportFilter;
class TMetafile;

class TCustomBandReport : public TBRBasePanel, public BRReportHost, public BRPrintHost, public BRPreviewHost {
    Q_OBJECT
    Q_PROPERTY(TBandReportBands* Bands READ Bands)
    Q_PROPERTY(QStringList Description READ Description WRITE SetDescription)
    Q_PROPERTY(int Options READ Options WRITE SetOptions)
    Q_PROPERTY(TBRPage* Page READ Page)
    Q_PROPERTY(TBandReportPrinterSettings* PrinterSettings READ PrinterSettings)
    Q_PROPERTY(bool PrintIfEmpty READ PrintIfEmpty WRITE SetPrintIfEmpty)
    Q_PROPERTY(QString ReportTitle READ ReportTitle WRITE SetReportTitle)
    Q_PROPERTY(bool ShowProgress READ ShowProgress WRITE SetShowProgress)
    Q_PROPERTY(bool SnapToGrid READ SnapToGrid WRITE SetSnapToGrid)
    Q_PROPERTY(int Units READ UnitsValue WRITE SetUnitsValue)
    Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom)
    Q_PROPERTY(int PrevFormStyle READ PrevFormStyleValue WRITE SetPrevFormStyleValue)
    Q_PROPERTY(int PreviewInitialState READ PreviewInitialStateValue WRITE SetPreviewInitialStateValue)
    Q_PROPERTY(int PreviewWidth READ PreviewWidth WRITE SetPreviewWidth)
    Q_PROPERTY(int PreviewHeight READ PreviewHeight WRITE SetPreviewHeight)
    Q_CLASSINFO("BRSet:Options", "FirstPageHeader,LastPageFooter,Compression")
    Q_CLASSINFO("BREnum:Units", "MM,Inches,Pixels,Characters,Native")
    Q_CLASSINFO("BREnum:PrevFormStyle", "fsNormal,fsMDIChild,fsMDIForm,fsStayOnTop")
    Q_CLASSINFO("BREnum:PreviewInitialState", "wsNormal,wsMinimized,wsMaximized")
public:
    explicit TCustomBandReport(TComponent* owner = nullptr);
    ~TCustomBandReport() override;

    // Virtual operations after those of the panel.
    virtual void SetUnits(TBRUnit units);
    // Asks the main controller to run (the data walk).
    virtual void RunReport();
    // One generation run (TCustomBandReportRun.cpp).
    virtual void Generate();
    virtual void AssignControllerBands() {}
    virtual void SetPrintIfEmpty(bool value);
    virtual void RegisterNotifyClient(TBRPrintable* client);

    // Bands.
    // A new band of that type, owned by the report's owner (or the report),
    // placed on the report and named after its type.
    TBRBand* NewBand(TBRBandType type);
    void AttachBand(TBRCustomBand* band);
    void DetachBand(TBRCustomBand* band);
    TBRCustomBand* FindBand(TBRBandType type) const;
    // The bands in print order, as RebuildBandOrder left them.
    const QList<TBRCustomBand*>& BandList() const { return m_bandList; }
    void RebuildBandOrder();
    // The first band of the band list that is a child band of parent, or none
    // (TBRCustomBand::ChildBand), from an index of the list.
    TBRCustomBand* FirstChildBand(const TBRCustomBand* parent) const;
    // A band's type or parent band, or the band list, changed: the index is
    // made again when next asked.
    void BandLinksChanged() { m_childIndexValid = false; }
    void LayOutBands() override;

    // Text measured with the metrics every canvas shares, at screen resolution.
    int MeasureTextWidth(const TFont& font, const QString& text) const;
    int MeasureTextHeight(const TFont& font, const QString& text) const;

    TBRCustomController* MainController() const { return m_controller; }
    TBandReportBands* Bands() const { return m_bands.get(); }
    TBRPage* Page() const { return m_page.get(); }
    TBandReportPrinterSettings* PrinterSettings() const { return m_printerSettings.get(); }
    TBREvEnvironment* Functions() const { return m_functions.get(); }
    QStringList Description() const { return m_description; }
    void SetDescription(const QStringList& lines) { m_description = lines; }
    TBRReportOptions Options() const { return m_options; }
    void SetOptions(int options) { m_options = TBRReportOptions(options) & 7u; }
    bool PrintIfEmpty() const;
    QString ReportTitle() const { return m_reportTitle; }
    void SetReportTitle(const QString& title) { m_reportTitle = title; }
    bool ShowProgress() const { return m_showProgress; }
    void SetShowProgress(bool v) { m_showProgress = v; }
    bool SnapToGrid() const { return m_snapToGrid; }
    void SetSnapToGrid(bool v) { m_snapToGrid = v; }
    TBRUnit Units() const;
    // Values outside 1-300 are ignored.
    void SetZoom(int zoom) override;
    TBRFormStyle PrevFormStyle() const { return m_prevFormStyle; }
    TBRWindowState PreviewInitialState() const { return m_previewInitialState; }
    // 500 whenever the stored value is 0 or less.
    int PreviewWidth() const { return m_previewWidth > 0 ? m_previewWidth : 500; }
    void SetPreviewWidth(int v) { m_previewWidth = v; }
    int PreviewHeight() const { return m_previewHeight > 0 ? m_previewHeight : 500; }
    void SetPreviewHeight(int v) { m_previewHeight = v; }

    // Events.
    TBRNotifyEvent AfterPrint;
    TBRNotifyEvent AfterPreview;
    TBRBeforePrintEvent BeforePrint;
    TBRNotifyEvent OnEndPage;
    TBRNeedDataEvent OnNeedData;
    TBRNotifyEvent OnPreview;
    TBRNotifyEvent OnStartPage;
    TBRPrinterEvent OnGetPrinterSettingsHandler;
    TBRPrinterEvent OnApplyPrinterSettingsHandler;

    // Run state: set up by a generation run; the bands, controllers and
    // printables move the cursor and the break flags as they print.
    bool Available() const { return m_run.Available; }
    bool Cancelled() const { return m_run.Cancelled; }
    int PageNumber() const { return m_run.PageNumber; }
    int ColumnNumber() const { return m_run.ColumnNumber; }
    int CursorX() const { return m_run.CursorX; }
    int CursorY() const { return m_run.CursorY; }
    void SetCursorY(int y) { m_run.CursorY = y; }
    int ColumnTop() const { return m_run.ColumnTop; }
    BRNative PageFooterSpace() const { return m_run.PageFooterSpace; }
    bool FinalPage() const { return m_run.FinalPage; }
    bool RenderToSurface() const { return m_run.RenderToSurface; }
    bool SkipNextForcedPage() const { return m_run.SkipNextForcedPage; }
    void SetSkipNextForcedPage(bool skip) { m_run.SkipNextForcedPage = skip; }
    bool ColumnForcePending() const { return m_run.ColumnForcePending; }
    bool DetailOverflow() const { return m_run.DetailOverflow; }
    void SetDetailOverflow(bool overflow) { m_run.DetailOverflow = overflow; }
    // Data sets visible to expressions; exists only during a run.
    TBRDataSetList* RunDataSets() const { return m_run.RunDataSets; }
    // For printing a band or a control alone, as a run would (tests, tools):
    // marks the report busy or idle, with or without drawing, over data sets.
    void SetAvailable(bool available) { m_run.Available = available; }
    void SetRenderToSurface(bool render) { m_run.RenderToSurface = render; }
    void SetRunDataSets(TBRDataSetList* dataSets) { m_run.RunDataSets = dataSets; }

    TBRPrinter* OutputTarget() const { return m_outputTarget.data(); }
    void SetOutputTarget(TBRPrinter* target) { m_outputTarget = target; }
    // Room left on the page for bands (native units, whole); 0 outside a run.
    virtual int AvailableSpace() const;
    // The page's length between its top and bottom margins (native units).
    BRNative PageBodyHeight() const;

    // ---- Generation run: entry points, pages, columns and bands ----------
    // (TCustomBandReportRun.cpp, TCustomBandReportPages.cpp)
    // Opens the preview and runs; returns once the preview has closed.
    void Preview();
    // Runs again straight to the printer (the preview's print request).
    void Print();
    // The output target's OnPrintSetup.
    void RunPrintSetup(QObject* sender);
    void CancelRun();
    // A fresh output target for a run; false while a run is in progress.
    bool PrepareOutputTarget();
    // Runs through an export filter instead of onto pages.
    void ExportThrough(TBRExportFilter* filter);
    void ApplyPrinterSettings();
    void ComputePageFooterSpace();
    void StartNewColumn();
    void StartNewPage();
    void FinishPage();
    void PrintBand(TBRCustomBand* band);
    void EnsureSpace(TBRCustomBand* band);
    void ForcePage();
    void ForceColumn();
    // The filter of the export run in progress, or none.
    TBRExportFilter* ExportFilter() const { return m_exportFilter; }
    // Page 1 of the last preview run, once its page was announced.
    TMetafile* FirstPagePicture() const { return m_firstPage.get(); }
    // Frees the output target; the report has none afterwards.
    void ReleaseOutputTarget();

    // Bands placed on the report, in placement order (not print order).
    const QList<TBRCustomBand*>& PlacedBands() const { return m_placedBands; }
    void InsertPlacedBand(TBRCustomBand* band);
    void RemovePlacedBand(TBRCustomBand* band);

    // BRReportHost
    double FontSize() const override;
    void SetPanelSize(int width, int height) override;
    void RepaintPanel() override {}
    void ReapplyUnits() override { SetUnits(Units()); }
    // BRPrintHost
    TBRPrinterEvent OnGetPrinterSettings() const override;
    TBRPrinterEvent OnApplyPrinterSettings() const override;
    bool UseStandardprinter() const override { return m_printerSettings->UseStandardprinter; }

    // BRPreviewHost: what the standard preview window takes from the report.
    int PreviewFormStyleOrdinal() const override { return int(m_prevFormStyle); }
    int PreviewWindowWidth() const override { return PreviewWidth(); }
    int PreviewWindowHeight() const override { return PreviewHeight(); }
    int PreviewInitialStateOrdinal() const override { return int(m_previewInitialState); }
    TBRPrinter* CurrentOutputTarget() const override { return m_outputTarget.data(); }

    void SetBounds(int left, int top, int width, int height) override;
    void Loaded() override;
    void WriteProperties(BRDefinitionWriter& writer) const override;

protected:
    // BRM_PAGESREADY, BRM_PRINT and BRM_PREVIEWCLOSED from the output target.
    bool event(QEvent* event) override;
    // TBandReport puts a controller over a data set in place of the first one.
    void ReplaceController(TBRCustomController* controller);

private:
    int UnitsValue() const { return static_cast<int>(Units()); }
    void SetUnitsValue(int v);
    int PrevFormStyleValue() const { return m_prevFormStyle; }
    void SetPrevFormStyleValue(int v);
    int PreviewInitialStateValue() const { return m_previewInitialState; }
    void SetPreviewInitialStateValue(int v);

    TBRCustomController* m_controller = nullptr; // owned (a child component)
    QList<TBRCustomBand*> m_bandList;
    QList<TBRCustomBand*> m_placedBands;
    // The members of the two lists, for lookups that stay cheap in long reports.
    QSet<TBRCustomBand*> m_bandSet;
    QSet<TBRCustomBand*> m_placedSet;
    // Child bands of each parent band, in band-list order (FirstChildBand).
    mutable QHash<const TBRCustomBand*, QList<TBRCustomBand*>> m_childIndex;
    mutable bool m_childIndexValid = false;
    std::unique_ptr<TBREvEnvironment> m_functions;
    QStringList m_description;
    std::unique_ptr<TBandReportBands> m_bands;
    std::unique_ptr<TBRPage> m_page;
    std::unique_ptr<TBandReportPrinterSettings> m_printerSettings;
    QPointer<TBRPrinter> m_outputTarget;
    QString m_reportTitle;
    TBRReportOptions m_options = FirstPageHeader | LastPageFooter;
    TBRFormStyle m_prevFormStyle = fsNormal;
    TBRWindowState m_previewInitialState = wsNormal;
    int m_previewWidth = 500;
    int m_previewHeight = 500;
    bool m_showProgress = true;
    bool m_snapToGrid = true;

    // The run's own state, published above through accessors.
    struct RunState {
        bool Available = true;
        bool Cancelled = false;
        int PageNumber = 0;
        int ColumnNumber = 1;
        int CursorX = 0;
        int CursorY = -1;
        int ColumnTop = 0;
        BRNative PageFooterSpace = 0;
        bool FinalPage = false;
        bool RenderToSurface = true;
        bool SkipNextForcedPage = false;
        bool ColumnForcePending = false;
        bool DetailOverflow = false;
        TBRDataSetList* RunDataSets = nullptr;
    };
    RunState m_run;

    // The generation's steps and helpers (TCustomBandReportRun.cpp).
    void RunSteps();
    void PrintPageExtras();
    void ForEachPrintable(const std::function<void(TBRPrintable*)>& action);
    TBRExportFilter* m_exportFilter = nullptr;
    std::unique_ptr<TMetafile> m_firstPage;
    std::unique_ptr<TBRDataSetList> m_runDataSets;
    TBREvElement* m_pageNumberElement = nullptr;
    TBREvElement* m_columnNumberElement = nullptr;

    // The screen-resolution metrics text is measured with, kept for the report's life.
    const TextMeasure& MeasureFor(const TFont& font) const;
    mutable std::vector<std::pair<TFont, std::unique_ptr<TextMeasure>>> m_measures;
};
