#pragma once
// The standard preview window: tool bar (zoom, paging, go to page, printer
// setup, print, save, load, find, page thumbnails, close), the preview
// control, a find bar and a thumbnail column that show on demand, and a
// status bar with the progress, the page line and the search's place. It
// frees itself when closed.

#include "TBRPreviewSearch.h"
#include "TBRPrinter.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>

class QAction;
class QDockWidget;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;
class TBRPreview;
class TBRPrinter;
class TBRThumbnailPanel;
class TStatusBar;

class TBRStandardPreview : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window for target `printer` (owner: the application, so the
    // window is top-level) and attaches the target; not shown yet.
    static TBRStandardPreview* CreatePreview(QObject* owner, TBRPrinter* printer);

    explicit TBRStandardPreview(QWidget* parent = nullptr);
    ~TBRStandardPreview() override;

    // Components, named as in the window's definition.
    TStatusBar* StatusBar = nullptr;
    QToolBar* ToolBar1 = nullptr;
    TBRPreview* BRPreview = nullptr;
    QAction* ToolButton1 = nullptr;
    QAction* ZoomFit = nullptr;
    QAction* Zoom100 = nullptr;
    QAction* ZoomToWidth = nullptr;
    QAction* Separator1 = nullptr;
    QAction* FirstPage = nullptr;
    QAction* PreviousPage = nullptr;
    QAction* ToolButton2 = nullptr;
    QAction* LastPage = nullptr;
    QAction* Separator2 = nullptr;
    QAction* ToolButton3 = nullptr;
    QAction* ToolButton4 = nullptr;
    QAction* PrintSetup = nullptr;
    QAction* Print = nullptr;
    QAction* Separator3 = nullptr;
    QAction* SaveReport = nullptr;
    QAction* LoadReport = nullptr;
    QAction* Separator5 = nullptr;
    QAction* Find = nullptr;
    QAction* Thumbnails = nullptr;
    QAction* Separator4 = nullptr;
    QToolButton* ExitButton = nullptr;
    // Hidden until asked for.
    QToolBar* FindBar = nullptr;
    QLineEdit* FindEdit = nullptr;
    QDockWidget* ThumbnailDock = nullptr;
    TBRThumbnailPanel* ThumbnailPanel = nullptr;
    // "hit 3 of 17" beside the status panels.
    QLabel* SearchStatus = nullptr;
    // Shown while the page on screen is damaged and drawn in part.
    QLabel* PageNote = nullptr;

    TBRPrinter* BRPrinter() const { return m_printer; }
    int LastProgress() const { return m_lastProgress; }
    const TBRPreviewSearch& Search() const { return m_search; }

    // Status panel 1: "Page n of total".
    void UpdatePageStatus();
    void GotoPage(int page);

    // Handlers.
    void ZoomToFitClick();
    void ZoomTo100Click();
    void ZoomToWidthClick();
    void FirstPageClick();
    void PrevPageClick();
    void NextPageClick();
    void LastPageClick();
    void ToolButton3Click();
    void PrintSetupClick();
    void PrintClick();
    void SaveClick();
    void LoadClick();
    void ExitClick();
    // Ctrl+F: shows the find bar with its text selected. Esc in its edit
    // closes it; Enter and F3 go to the next hit, with Shift to the previous,
    // wrapping at either end.
    void FindClick();
    void CloseFindBar();
    void FindNext();
    void FindPrevious();
    // Ctrl+T: shows or hides the page thumbnails.
    void ThumbnailsClick();
    void FormKeyDown(std::uint16_t& key, Qt::KeyboardModifiers shift);
    void BRPreviewPageAvailable(QObject* sender, int pageNum);
    void BRPreviewProgressUpdate(QObject* sender, int progress);

    // Reads every page of a saved-report file; throws the loader's error
    // (damaged file, not a saved report) at the first that cannot be read.
    static void CheckReportFile(const QString& fileName);

    // The leading integer of a typed page number: optional blanks and sign,
    // then digits up to the first other character; no digits give 0.
    static int LeadingInteger(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QAction* AddButton(const char* name, int image, const QString& hint, void (TBRStandardPreview::*handler)());
    QAction* AddDivider(const char* name);
    void InstallKeyPreview();
    int PageTotal() const;
    void BuildFindBar();
    void BuildThumbnails();
    bool FindKey(QKeyEvent* event);
    void FindTextEdited(const QString& text);
    void MoveToHit(bool forward);
    // Shows the current hit: its page, marked and scrolled into view.
    void ShowHit();
    // The target's pages were replaced (a file loaded).
    void PagesReplaced();
    // "hit 3 of 17", shown only while there is something to say.
    void SetSearchStatus(const QString& text);
    // The window's normal place: the middle of its screen.
    void CentreOnScreen();

    QPointer<TBRPrinter> m_printer;
    int m_lastProgress = 0;
    bool m_centred = false;
    TBRPreviewSearch m_search;
};

namespace brp {

// Makes the standard preview opener create this window. Done by the engine's
// start-up (StartReportEngine); callable again.
void RegisterStandardPreview();

} // namespace brp
