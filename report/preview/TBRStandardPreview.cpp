#include "TBRStandardPreview.h"

#include "Application.h"
#include "BRPreviewHost.h"
#include "BRRunWindowsRegistration.h"
#include "BRPrintHost.h"
#include "DialogService.h"
#include "MessageService.h"
#include "NoPrinterMessage.h"
#include "PlatformError.h"
#include "PreviewGlyphs.h"
#include "TBRExportFilter.h"
#include "TBRPreview.h"
#include "TBRPreviewImage.h"
#include "TBRPageList.h"
#include "TBRPreviewInterface.h"
#include "TBRPrinter.h"
#include "TBRThumbnailPanel.h"
#include "TMetafile.h"
#include "TStatusBar.h"
#include "VirtualKeys.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <limits>

namespace {
const QString kPage = QStringLiteral("Page");
const QString kOf = QStringLiteral("of");

// Form styles and window states of the report, by ordinal.
constexpr int kStayOnTop = 3;
constexpr int kMinimized = 1;
constexpr int kMaximized = 2;

constexpr QSize kDesignedSize(652, 579);

constexpr std::uint16_t kKeyF = 'F', kKeyT = 'T', kKeyF3 = 0x72;
} // namespace

TBRStandardPreview::TBRStandardPreview(QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Print Preview"));
    setGeometry(QRect(QPoint(117, 107), kDesignedSize));

    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->setContentsMargins(2, 2, 2, 2);
    ToolBar1->setIconSize(QSize(18, 18));

    auto* zoomGroup = new QActionGroup(this);
    zoomGroup->setExclusive(true);
    ToolButton1 = AddDivider("ToolButton1");
    ZoomFit = AddButton("ZoomFit", 0, QStringLiteral("Zoom to fit"), &TBRStandardPreview::ZoomToFitClick);
    Zoom100 = AddButton("Zoom100", 1, QStringLiteral("100%"), &TBRStandardPreview::ZoomTo100Click);
    ZoomToWidth = AddButton("ZoomToWidth", 2, QStringLiteral("Zoom to width"), &TBRStandardPreview::ZoomToWidthClick);
    for (QAction* a : {ZoomFit, Zoom100, ZoomToWidth}) {
        a->setCheckable(true);
        zoomGroup->addAction(a);
    }
    ZoomToWidth->setChecked(true);
    Separator1 = AddDivider("Separator1");
    FirstPage = AddButton("FirstPage", 3, QStringLiteral("First page"), &TBRStandardPreview::FirstPageClick);
    PreviousPage = AddButton("PreviousPage", 4, QStringLiteral("Previous page"), &TBRStandardPreview::PrevPageClick);
    ToolButton2 = AddButton("ToolButton2", 5, QStringLiteral("Next page"), &TBRStandardPreview::NextPageClick);
    LastPage = AddButton("LastPage", 6, QStringLiteral("Last page"), &TBRStandardPreview::LastPageClick);
    Separator2 = AddDivider("Separator2");
    ToolButton3 = AddButton("ToolButton3", 11, QStringLiteral("Go to page"), &TBRStandardPreview::ToolButton3Click);
    ToolButton4 = AddDivider("ToolButton4");
    PrintSetup = AddButton("PrintSetup", 7, QStringLiteral("Printer setup"), &TBRStandardPreview::PrintSetupClick);
    PrintSetup->setEnabled(false);
    Print = AddButton("Print", 8, QStringLiteral("Print"), &TBRStandardPreview::PrintClick);
    Separator3 = AddDivider("Separator3");
    SaveReport = AddButton("SaveReport", 10, QStringLiteral("Save Report"), &TBRStandardPreview::SaveClick);
    LoadReport = AddButton("LoadReport", 9, QStringLiteral("Load Report"), &TBRStandardPreview::LoadClick);
    Separator5 = AddDivider("Separator5");
    Find = AddButton("Find", 15, QStringLiteral("Find (Ctrl+F)"), &TBRStandardPreview::FindClick);
    Thumbnails = AddButton("Thumbnails", 14, QStringLiteral("Page thumbnails (Ctrl+T)"),
                           &TBRStandardPreview::ThumbnailsClick);
    Thumbnails->setCheckable(true);
    Separator4 = AddDivider("Separator4");
    ExitButton = new QToolButton(ToolBar1);
    ExitButton->setObjectName(QStringLiteral("ExitButton"));
    ExitButton->setText(QStringLiteral("&Close"));
    ExitButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ExitButton->setMinimumSize(40, 22);
    ExitButton->setFocusPolicy(Qt::NoFocus);
    connect(ExitButton, &QToolButton::clicked, this, [this] { Application::Guard([this] { ExitClick(); }); });
    ToolBar1->addWidget(ExitButton);

    BRPreview = new TBRPreview(this);
    BRPreview->setObjectName(QStringLiteral("BRPreview"));
    setCentralWidget(BRPreview);
    BRPreview->OnPageAvailable = [this](QObject* sender, int page) { BRPreviewPageAvailable(sender, page); };
    BRPreview->OnProgressUpdate = [this](QObject* sender, int p) { BRPreviewProgressUpdate(sender, p); };

    StatusBar = new TStatusBar(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    setStatusBar(StatusBar);
    StatusBar->AddPanel(40);
    StatusBar->SetPanelAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    StatusBar->SetPanelText(0, QStringLiteral("0%"));
    StatusBar->AddFillPanel(50);
    StatusBar->SetPanelText(1, kPage);
    SearchStatus = new QLabel(StatusBar);
    SearchStatus->setObjectName(QStringLiteral("SearchStatus"));
    SearchStatus->setMinimumWidth(90);
    StatusBar->addPermanentWidget(SearchStatus);
    SearchStatus->hide(); // the page line runs to the edge until a search
    PageNote = new QLabel(StatusBar);
    PageNote->setObjectName(QStringLiteral("PageNote"));
    PageNote->setStyleSheet(QStringLiteral("color: #a02828"));
    StatusBar->addPermanentWidget(PageNote);
    PageNote->hide();
    connect(BRPreview->PreviewImage(), &TBRPreviewImage::PageNoteChanged, this, [this](const QString& note) {
        PageNote->setText(note);
        PageNote->setVisible(!note.isEmpty());
    });

    BuildFindBar();
    BuildThumbnails();
    InstallKeyPreview();
}

void TBRStandardPreview::BuildFindBar()
{
    FindBar = new QToolBar(QStringLiteral("FindBar"), this);
    FindBar->setObjectName(QStringLiteral("FindBar"));
    FindBar->setMovable(false);
    FindBar->setFloatable(false);
    FindBar->setContextMenuPolicy(Qt::PreventContextMenu);
    FindBar->setIconSize(QSize(16, 16));
    addToolBar(Qt::BottomToolBarArea, FindBar);
    FindBar->addWidget(new QLabel(QStringLiteral("Find: "), FindBar));
    FindEdit = new QLineEdit(FindBar);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setMinimumWidth(220);
    FindEdit->setMaximumWidth(360);
    FindEdit->setClearButtonEnabled(true);
    FindBar->addWidget(FindEdit);
    connect(FindEdit, &QLineEdit::textEdited, this,
            [this](const QString& text) { Application::Guard([&] { FindTextEdited(text); }); });
    auto addAction = [this](const QIcon& icon, const QString& hint, void (TBRStandardPreview::*handler)()) {
        QAction* action = FindBar->addAction(icon, hint);
        action->setToolTip(hint);
        connect(action, &QAction::triggered, this, [this, handler] { Application::Guard([&] { (this->*handler)(); }); });
        if (QWidget* button = FindBar->widgetForAction(action))
            button->setFocusPolicy(Qt::NoFocus);
    };
    addAction(PreviewGlyphs::Glyph(4), QStringLiteral("Previous hit (Shift+F3)"), &TBRStandardPreview::FindPrevious);
    addAction(PreviewGlyphs::Glyph(5), QStringLiteral("Next hit (F3)"), &TBRStandardPreview::FindNext);
    addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QStringLiteral("Close the find bar (Esc)"),
              &TBRStandardPreview::CloseFindBar);
    FindBar->hide();
}

void TBRStandardPreview::BuildThumbnails()
{
    ThumbnailDock = new QDockWidget(this);
    ThumbnailDock->setObjectName(QStringLiteral("ThumbnailDock"));
    ThumbnailDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    ThumbnailDock->setTitleBarWidget(new QWidget(ThumbnailDock));
    ThumbnailPanel = new TBRThumbnailPanel(ThumbnailDock);
    ThumbnailPanel->setObjectName(QStringLiteral("ThumbnailPanel"));
    ThumbnailPanel->OnPageClick = [this](int page) { GotoPage(page); };
    ThumbnailDock->setWidget(ThumbnailPanel);
    addDockWidget(Qt::LeftDockWidgetArea, ThumbnailDock);
    ThumbnailDock->hide();
}

TBRStandardPreview::~TBRStandardPreview() = default;

QAction* TBRStandardPreview::AddButton(const char* name, int image, const QString& hint,
                                       void (TBRStandardPreview::*handler)())
{
    QAction* action = ToolBar1->addAction(PreviewGlyphs::Glyph(image), hint);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, [this, handler] { Application::Guard([&] { (this->*handler)(); }); });
    if (QWidget* button = ToolBar1->widgetForAction(action)) {
        button->setMinimumWidth(32);
        button->setFocusPolicy(Qt::NoFocus);
    }
    return action;
}

QAction* TBRStandardPreview::AddDivider(const char* name)
{
    QAction* divider = ToolBar1->addSeparator();
    divider->setObjectName(QString::fromLatin1(name));
    return divider;
}

void TBRStandardPreview::InstallKeyPreview()
{
    // The window sees every key before its controls.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
}

TBRStandardPreview* TBRStandardPreview::CreatePreview(QObject*, TBRPrinter* printer)
{
    auto* form = new TBRStandardPreview();
    form->m_printer = printer;
    if (printer) {
        if (const auto* host = dynamic_cast<const BRPreviewHost*>(printer->OwnerReport())) {
            if (host->PreviewFormStyleOrdinal() == kStayOnTop)
                form->setWindowFlag(Qt::WindowStaysOnTopHint, true);
            // Never smaller than the window was designed: narrower, the tool
            // bar hides its last buttons behind a menu.
            const int w = host->PreviewWindowWidth(), h = host->PreviewWindowHeight();
            form->resize(std::max(w, kDesignedSize.width()), std::max(h, kDesignedSize.height()));
            // Centred now, so that the window comes back there when restored
            // from the maximised or minimised state it may open in.
            form->CentreOnScreen();
            if (host->PreviewInitialStateOrdinal() == kMaximized)
                form->setWindowState(Qt::WindowMaximized);
            else if (host->PreviewInitialStateOrdinal() == kMinimized)
                form->setWindowState(Qt::WindowMinimized);
        }
    }
    form->BRPreview->SetBRPrinter(printer);
    form->m_search.SetBRPrinter(printer);
    form->ThumbnailPanel->SetBRPrinter(printer);
    if (printer && !printer->JobTitle().isEmpty())
        form->setWindowTitle(printer->JobTitle());
    form->m_lastProgress = 0;
    form->ZoomToWidth->setChecked(true);
    if (printer && printer->State() == jsFinished)
        form->Print->setEnabled(true);
    return form;
}

int TBRStandardPreview::PageTotal() const
{
    return m_printer ? m_printer->PageTotal() : 0;
}

void TBRStandardPreview::UpdatePageStatus()
{
    StatusBar->SetPanelText(1, kPage + u' ' + QString::number(BRPreview->PageNumber()) + u' ' + kOf + u' ' +
                                   QString::number(PageTotal()));
    ThumbnailPanel->SetPageCount(PageTotal());
    ThumbnailPanel->SetCurrentPage(BRPreview->PageNumber());
}

void TBRStandardPreview::GotoPage(int page)
{
    BRPreview->SetPageNumber(page);
    UpdatePageStatus();
}

void TBRStandardPreview::FirstPageClick()
{
    GotoPage(1);
}

void TBRStandardPreview::PrevPageClick()
{
    GotoPage(BRPreview->PageNumber() - 1);
}

void TBRStandardPreview::NextPageClick()
{
    GotoPage(BRPreview->PageNumber() + 1);
}

void TBRStandardPreview::LastPageClick()
{
    GotoPage(PageTotal());
}

int TBRStandardPreview::LeadingInteger(const QString& text)
{
    int i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
    }
    return static_cast<int>(negative ? -value : value);
}

void TBRStandardPreview::ToolButton3Click()
{
    const int total = PageTotal();
    QString answer = QStringLiteral("1");
    // A cancelled prompt still answers: its initial "1".
    DialogService::Instance().InputQuery(QStringLiteral("Select a page from 1 to %1").arg(total),
                                         QStringLiteral("Go to page >>"), answer);
    int page = LeadingInteger(answer);
    if (page < 1 || page > total)
        page = 1;
    GotoPage(page);
}

void TBRStandardPreview::ZoomToFitClick()
{
    QCoreApplication::processEvents();
    BRPreview->FitPage();
}

void TBRStandardPreview::ZoomTo100Click()
{
    QCoreApplication::processEvents();
    BRPreview->SetZoom(100);
}

void TBRStandardPreview::ZoomToWidthClick()
{
    QCoreApplication::processEvents();
    BRPreview->FitWidth();
}

void TBRStandardPreview::PrintSetupClick()
{
    if (m_printer)
        m_printer->InvokePrintSetup(PrintSetup);
}

void TBRStandardPreview::PrintClick()
{
    if (!m_printer)
        return;
    // Printing without a printer would do nothing, silently.
    if (!m_printer->HasPrinters()) {
        MessageService::Instance().Show(QStringLiteral("Print"), brp::NoPrinterMessage(), QMessageBox::Warning);
        return;
    }
    // While the report generates (a print run included) a click is ignored.
    if (const auto* host = dynamic_cast<const BRPreviewHost*>(m_printer->RequestReceiver())) {
        const TBRPrinter* current = host->CurrentOutputTarget();
        if (current && current->State() == jsRunning)
            return;
    }
    m_printer->PrintReport();
}

void TBRStandardPreview::SaveClick()
{
    QString fileName;
    int filterIndex = 1;
    if (!DialogService::Instance().SaveFileName(QStringLiteral("Save report"), BuildSaveFilter(),
                                                QStringLiteral("BRP"), fileName, filterIndex))
        return;
    if (!m_printer)
        return;
    if (filterIndex <= 1) {
        m_printer->SaveReportFile(fileName);
        return;
    }
    const auto& filters = ExportFilterLibrary().Filters;
    const int entry = filterIndex - 2;
    if (entry >= filters.size() || !filters[entry].FilterClass)
        return;
    std::unique_ptr<TBRExportFilter> filter = filters[entry].FilterClass(fileName);
    const QPointer<TBRStandardPreview> self(this);
    QString failure;
    try {
        m_printer->RunExport(filter.get());
    } catch (const PlatformError& e) {
        failure = e.Message();
    }
    if (!self || filter->Written())
        return;
    // A failed or cancelled export leaves no file and must not pass unnoticed.
    QString text = QStringLiteral("The report was not exported to \"%1\".").arg(QDir::toNativeSeparators(fileName));
    if (!failure.isEmpty())
        text += u'\n' + failure;
    MessageService::Instance().Show(QCoreApplication::applicationName(), text, QMessageBox::Warning, QMessageBox::Ok);
}

void TBRStandardPreview::LoadClick()
{
    QString fileName;
    int filterIndex = 1;
    if (!DialogService::Instance().OpenFileName(QStringLiteral("Load report"), QStringLiteral("Report file (*.BRP)|*.BRP"),
                                                QString(), fileName, filterIndex))
        return;
    if (!QFileInfo(fileName).isFile()) {
        MessageService::Instance().Show(QCoreApplication::applicationName(), QStringLiteral("File does not exist"),
                                        QMessageBox::NoIcon, QMessageBox::Ok);
        return;
    }
    // Loading replaces the store that a running job is still writing to.
    if (!m_printer || m_printer->State() == jsRunning)
        return;
    // The pages shown (maybe a long run's) are replaced only by a file that
    // reads completely: a damaged or foreign one is refused first.
    CheckReportFile(fileName);
    try {
        m_printer->LoadReportFile(fileName);
    } catch (...) {
        // The target is left empty: show that, then report the failure.
        PagesReplaced();
        BRPreview->PreviewImage()->SetImagePage(1);
        UpdatePageStatus();
        throw;
    }
    PagesReplaced();
    BRPreview->SetPageNumber(1);
    BRPreview->PreviewImage()->SetImagePage(1);
    // The file's paper may differ from the one shown so far.
    if (BRPreview->ZoomMode() == zmFit)
        BRPreview->FitPage();
    else if (BRPreview->ZoomMode() == zmWidth)
        BRPreview->FitWidth();
    BRPreview->LayoutImage();
    UpdatePageStatus();
    PrintSetup->setEnabled(false);
    Print->setEnabled(true);
}

void TBRStandardPreview::CheckReportFile(const QString& fileName)
{
    TBRPageList pages;
    pages.OpenFile(fileName);
    for (qint32 n = 1; n <= pages.Count(); ++n)
        if (const std::optional<QByteArray> page = pages.FetchPage(n))
            TMetafile().LoadFromBytes(*page);
}

void TBRStandardPreview::ExitClick()
{
    close();
}

void TBRStandardPreview::PagesReplaced()
{
    m_search.Reset();
    SetSearchStatus(QString());
    BRPreview->PreviewImage()->ClearHighlight();
    ThumbnailPanel->Reset();
}

void TBRStandardPreview::SetSearchStatus(const QString& text)
{
    SearchStatus->setText(text);
    SearchStatus->setVisible(!text.isEmpty());
}

void TBRStandardPreview::FindClick()
{
    FindBar->show();
    FindEdit->setFocus(Qt::ShortcutFocusReason);
    FindEdit->selectAll();
}

void TBRStandardPreview::CloseFindBar()
{
    FindBar->hide();
    m_search.Reset();
    SetSearchStatus(QString());
    BRPreview->PreviewImage()->ClearHighlight();
    setFocus();
}

namespace {
// The wait cursor while a search first reads the pages of a loaded file.
class WaitCursor {
public:
    explicit WaitCursor(bool on) : m_on(on)
    {
        if (m_on)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (m_on)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_on;
};
} // namespace

void TBRStandardPreview::FindTextEdited(const QString& text)
{
    const WaitCursor wait(m_search.Slow());
    m_search.SetQuery(text, BRPreview->PageNumber());
    ShowHit();
}

void TBRStandardPreview::FindNext()
{
    MoveToHit(true);
}

void TBRStandardPreview::FindPrevious()
{
    MoveToHit(false);
}

void TBRStandardPreview::MoveToHit(bool forward)
{
    if (FindEdit->text().isEmpty()) {
        FindClick();
        return;
    }
    FindBar->show(); // what is being looked for stays in sight
    const WaitCursor wait(m_search.Slow());
    // A bar opened again, or pages loaded since: search afresh from here.
    if (m_search.Query() != FindEdit->text())
        m_search.SetQuery(FindEdit->text(), BRPreview->PageNumber());
    else
        forward ? m_search.Next() : m_search.Previous();
    ShowHit();
}

void TBRStandardPreview::ShowHit()
{
    SetSearchStatus(m_search.StatusText());
    TBRPreviewImage* image = BRPreview->PreviewImage();
    if (!m_search.HasCurrent()) {
        image->ClearHighlight();
        return;
    }
    const TBRPreviewSearch::Hit hit = m_search.Current();
    image->SetHighlight(hit.Page, m_search.CurrentRect());
    GotoPage(hit.Page);
    BRPreview->ShowImageArea(image->HighlightArea());
}

void TBRStandardPreview::ThumbnailsClick()
{
    // The button has changed its state when this runs.
    ThumbnailDock->setVisible(Thumbnails->isChecked());
    if (Thumbnails->isChecked())
        UpdatePageStatus();
}

void TBRStandardPreview::FormKeyDown(std::uint16_t& key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool ctrlAlone = held == Qt::ControlModifier;
    if (ctrlAlone && (key == kKeyF || key == kKeyT)) {
        key == kKeyF ? FindClick() : Thumbnails->trigger();
        key = 0;
        return;
    }
    if (key == kKeyF3 && (held == Qt::NoModifier || held == Qt::ShiftModifier)) {
        held == Qt::ShiftModifier ? FindPrevious() : FindNext();
        key = 0;
        return;
    }
    switch (key) {
    case VirtualKey::Escape: ExitClick(); break;
    case VirtualKey::Prior: ctrlAlone ? FirstPageClick() : PrevPageClick(); break;
    case VirtualKey::Next: ctrlAlone ? LastPageClick() : NextPageClick(); break;
    case VirtualKey::Home: FirstPageClick(); break;
    case VirtualKey::End: LastPageClick(); break;
    default: return;
    }
    key = 0;
}

void TBRStandardPreview::BRPreviewPageAvailable(QObject*, int)
{
    UpdatePageStatus();
    ThumbnailPanel->Refresh();
    if (m_printer && m_printer->State() == jsFinished) {
        PrintSetup->setEnabled(true);
        Print->setEnabled(true);
    }
}

void TBRStandardPreview::BRPreviewProgressUpdate(QObject*, int progress)
{
    if (progress >= m_lastProgress + 5) {
        StatusBar->SetPanelText(0, QString::number(progress) + u'%');
        m_lastProgress = progress;
    }
    if (progress == 0 || progress == 100)
        StatusBar->SetPanelText(0, QString());
}

// Keys while the find bar's edit has the focus: Esc closes the bar, Enter
// moves between hits, and the edit keeps what it uses itself (Home, End,
// arrows, letters); the window's other keys still work.
bool TBRStandardPreview::FindKey(QKeyEvent* event)
{
    const std::uint16_t key = brp::VirtualKeyOf(*event);
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key == VirtualKey::Escape && held == Qt::NoModifier) {
        Application::Guard([this] { CloseFindBar(); });
        return true;
    }
    if (key == VirtualKey::Return && (held == Qt::NoModifier || held == Qt::ShiftModifier)) {
        Application::Guard([&] { held == Qt::ShiftModifier ? FindPrevious() : FindNext(); });
        return true;
    }
    const bool windowKey = key == kKeyF3 || key == VirtualKey::Prior || key == VirtualKey::Next ||
                           (held == Qt::ControlModifier && (key == kKeyF || key == kKeyT));
    if (!windowKey)
        return false;
    std::uint16_t k = key;
    Application::Guard([&] { FormKeyDown(k, event->modifiers()); });
    return k == 0;
}

bool TBRStandardPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && FindEdit && FindEdit->hasFocus())
        return FindKey(static_cast<QKeyEvent*>(event)) || QMainWindow::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        std::uint16_t key = brp::VirtualKeyOf(*keyEvent);
        if (key != 0) {
            Application::Guard([&] { FormKeyDown(key, keyEvent->modifiers()); });
            if (key == 0)
                return true; // handled: the control does not page or scroll as well
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TBRStandardPreview::closeEvent(QCloseEvent* event)
{
    // The report frees the target when told; the window goes with the close.
    if (m_printer)
        Application::Guard([this] { m_printer->PreviewClosed(this); });
    event->accept();
}

void TBRStandardPreview::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    Application::Guard([this] { BRPreview->LayoutImage(); });
}

void TBRStandardPreview::showEvent(QShowEvent* event)
{
    if (!m_centred && !(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        CentreOnScreen();
    QMainWindow::showEvent(event);
}

void TBRStandardPreview::CentreOnScreen()
{
    m_centred = true;
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

namespace brp {

void RegisterStandardPreview()
{
    TBRStandardPreviewInterface::SetStandardPreviewWindow([](TBRPrinter* printer, bool modal) -> QWidget* {
        TBRStandardPreview* form = TBRStandardPreview::CreatePreview(QCoreApplication::instance(), printer);
        if (!modal) {
            form->show();
            form->UpdatePageStatus();
            return form;
        }
        QPointer<TBRStandardPreview> guard(form);
        form->setWindowModality(Qt::ApplicationModal);
        form->show();
        form->UpdatePageStatus();
        QEventLoop loop;
        QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
        return guard.data();
    });
}

} // namespace brp
