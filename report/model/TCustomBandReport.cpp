#include "TCustomBandReport.h"
#include "BRDefinitionWriter.h"
#include "BRRound.h"
#include "FontMapper.h"
#include "TBRBand.h"
#include "TBRChildBand.h"
#include "TBRCustomController.h"
#include "TBREvEnvironment.h"
#include "TBRPrintable.h"
#include "TBRPrinter.h"
#include "TextMeasure.h"
#include "TBRExportFilter.h"
#include "TMetafile.h"

#include <QLocale>
#include <QSet>
#include <algorithm>
#include <utility>

TCustomBandReport::TCustomBandReport(TComponent* owner)
    : TBRBasePanel(owner), m_functions(std::make_unique<TBREvEnvironment>()),
      m_bands(std::make_unique<TBandReportBands>(this)), m_page(std::make_unique<TBRPage>(this)),
      m_printerSettings(std::make_unique<TBandReportPrinterSettings>())
{
    m_controller = new TBRCustomController(this);
    m_controller->SetSelfCheck(this);
    m_controller->SetParentReport(this);
    m_functions->Define(QStringLiteral("PAGENUMBER"), QStringLiteral("0"));
    m_functions->Define(QStringLiteral("COLUMNNUMBER"), QStringLiteral("0"));
    m_functions->Define(QStringLiteral("REPORTTITLE"), QStringLiteral("''"));
    // Arial 10 is the default font unless the system is Japanese.
    if (QLocale::system().language() == QLocale::Japanese)
        StoredFont() = TFont{QString(), 0};
    m_bounds = QRect(0, 0, 0, 0);
    // The default printer's current paper, when there is a printer.
    {
        TBRPrinter probe(nullptr);
        if (probe.HasPrinters())
            m_page->SetPaperSize(probe.PaperSize());
    }
    m_page->ResizeOwner();
}

TCustomBandReport::~TCustomBandReport()
{
    Destroying();
    ReleaseOutputTarget();
    // Bands and printables placed on the report go with it. The lists are
    // emptied first: each band leaving them one by one was quadratic. The
    // first placed goes first, as its owner finds it at the front of its
    // children at once.
    const QList<TBRCustomBand*> placed = std::exchange(m_placedBands, {});
    m_placedSet.clear();
    m_bandList.clear();
    m_bandSet.clear();
    BandLinksChanged();
    for (TBRCustomBand* band : placed)
        delete band;
    DestroyPrintables();
    delete m_controller;
    m_controller = nullptr;
}

void TCustomBandReport::ReplaceController(TBRCustomController* controller)
{
    controller->SetSelfCheck(this);
    controller->SetParentReport(this);
    controller->SetPrintIfEmpty(m_controller->PrintIfEmpty());
    delete m_controller;
    m_controller = controller;
}

void TCustomBandReport::SetUnits(TBRUnit units)
{
    m_page->SetUnits(units);
    // Over copies: what the loops call may lay the bands out again, and a
    // shared list written to meanwhile would leave these loops behind.
    const QList<TBRCustomBand*> bands = m_bandList;
    for (TBRCustomBand* band : bands) {
        band->Size()->SetUnits(units);
        const QList<TBRPrintable*> onBand = band->Printables();
        for (TBRPrintable* p : onBand)
            p->Size()->SetUnits(units);
        band->Repaint();
    }
    const QList<TBRPrintable*> printables = Printables();
    for (TBRPrintable* p : printables)
        p->Size()->SetUnits(units);
}

TBRUnit TCustomBandReport::Units() const
{
    return m_page->Units();
}

void TCustomBandReport::SetUnitsValue(int v)
{
    if (v >= 0 && v <= static_cast<int>(TBRUnit::Native))
        SetUnits(static_cast<TBRUnit>(v));
}

void TCustomBandReport::SetPrevFormStyleValue(int v)
{
    if (v >= fsNormal && v <= fsStayOnTop)
        m_prevFormStyle = static_cast<TBRFormStyle>(v);
}

void TCustomBandReport::SetPreviewInitialStateValue(int v)
{
    if (v >= wsNormal && v <= wsMaximized)
        m_previewInitialState = static_cast<TBRWindowState>(v);
}

void TCustomBandReport::RunReport()
{
    m_controller->Run();
}

void TCustomBandReport::SetPrintIfEmpty(bool value)
{
    m_controller->SetPrintIfEmpty(value);
}

bool TCustomBandReport::PrintIfEmpty() const
{
    return m_controller->PrintIfEmpty();
}

void TCustomBandReport::RegisterNotifyClient(TBRPrintable* client)
{
    m_controller->RegisterNotifyClient(client);
}

TBRBand* TCustomBandReport::NewBand(TBRBandType type)
{
    QObject* owner = parent() ? parent() : this;
    auto* band = new TBRBand(nullptr);
    band->setParent(owner);
    band->SetParentPanel(this);
    band->SetBandType(type);
    const QString base = brp::BandBaseName(type);
    for (int n = 1;; ++n) {
        const QString name = base + QString::number(n);
        bool taken = false;
        for (QObject* child : owner->children())
            if (child != band && child->objectName().compare(name, Qt::CaseInsensitive) == 0) {
                taken = true;
                break;
            }
        if (!taken) {
            band->SetName(name);
            break;
        }
    }
    return band;
}

void TCustomBandReport::AttachBand(TBRCustomBand* band)
{
    if (!band || m_bandSet.contains(band))
        return;
    m_bandList.append(band);
    m_bandSet.insert(band);
    BandLinksChanged();
    RebuildBandOrder();
    LayOutBands();
}

void TCustomBandReport::DetachBand(TBRCustomBand* band)
{
    // Always dropped from the list, so that no dangling entry stays behind.
    if (m_bandSet.remove(band))
        m_bandList.removeAll(band);
    BandLinksChanged();
    if (IsDestroying())
        return;
    RebuildBandOrder();
    LayOutBands();
}

TBRCustomBand* TCustomBandReport::FirstChildBand(const TBRCustomBand* parent) const
{
    if (!m_childIndexValid) {
        m_childIndex.clear();
        for (TBRCustomBand* band : m_bandList)
            if (auto* child = qobject_cast<TBRChildBand*>(band); child && child->ParentBand())
                m_childIndex[child->ParentBand()].append(band);
        m_childIndexValid = true;
    }
    // Type and state as they are now: a page footer's child prints as a footer
    // for a while, and a band being destroyed is no longer anybody's child.
    const auto it = m_childIndex.constFind(parent);
    if (it != m_childIndex.constEnd())
        for (TBRCustomBand* band : *it)
            if (band->BandType() == rbChild && !band->IsDestroying()
                && static_cast<TBRChildBand*>(band)->ParentBand() == parent)
                return band;
    return nullptr;
}

TBRCustomBand* TCustomBandReport::FindBand(TBRBandType type) const
{
    for (TBRCustomBand* band : m_bandList)
        if (band->BandType() == type && !band->IsDestroying())
            return band;
    return nullptr;
}

void TCustomBandReport::InsertPlacedBand(TBRCustomBand* band)
{
    if (band && !m_placedSet.contains(band)) {
        m_placedBands.append(band);
        m_placedSet.insert(band);
    }
}

void TCustomBandReport::RemovePlacedBand(TBRCustomBand* band)
{
    if (m_placedSet.remove(band))
        m_placedBands.removeAll(band);
}

void TCustomBandReport::RebuildBandOrder()
{
    if (IsLoading() || IsDestroying())
        return;
    AssignControllerBands();
    m_controller->CollectChildren();

    const QList<TBRCustomBand*> current = m_bandList;
    // Sets beside the lists: looking each band up in them made long reports quadratic.
    const QSet<TBRCustomBand*> inList(current.cbegin(), current.cend());
    QSet<TBRCustomBand*> placed;
    QList<TBRCustomBand*> ordered;
    auto appendChain = [&](TBRCustomBand* band) {
        while (band && !band->IsDestroying() && inList.contains(band) && !placed.contains(band)) {
            ordered.append(band);
            placed.insert(band);
            band = band->ChildBand();
        }
    };
    auto appendType = [&](TBRBandType type) {
        for (TBRCustomBand* band : current)
            if (band->BandType() == type)
                appendChain(band);
    };
    appendType(rbPageHeader);
    if (FindBand(rbTitle))
        appendType(rbTitle);
    appendType(rbColumnHeader);
    QList<TBRCustomBand*> controlled;
    m_controller->ListBands(controlled);
    for (TBRCustomBand* band : controlled)
        appendChain(band);
    appendType(rbPageFooter);
    for (TBRCustomBand* band : current)
        appendChain(band);
    m_bandList = ordered;
    m_bandSet = placed;
    BandLinksChanged();
}

void TCustomBandReport::LayOutBands()
{
    if (IsLoading() || IsDestroying())
        return;
    const TBRUnit saved = Units();
    SetUnits(TBRUnit::Pixels);
    // 64-bit sums: the page and the band heights come from definitions.
    const qint64 columns = std::max(1, m_page->Columns());
    const qint64 printable = qint64(Width()) - brp::Round(m_page->GetDimension(TBRPage::iLeftMargin)
                                                       + m_page->GetDimension(TBRPage::iRightMargin));
    const qint64 column = (printable - qint64(brp::Round(m_page->GetDimension(TBRPage::iColumnSpace))) * (columns - 1))
                        / columns;
    const int left = brp::Round(m_page->GetDimension(TBRPage::iLeftMargin));
    qint64 top = brp::Round(m_page->GetDimension(TBRPage::iTopMargin));
    const QList<TBRCustomBand*> bands = m_bandList;
    // A child band's type is its parent's, found earlier in the list: walking
    // up every chain from each band made long child chains quadratic.
    QHash<const TBRCustomBand*, TBRBandType> types;
    auto effectiveType = [&](const TBRCustomBand* band) {
        TBRBandType type = band->BandType();
        if (type == rbChild) {
            const auto* child = qobject_cast<const TBRChildBand*>(band);
            const TBRCustomBand* parent = child ? child->ParentBand() : nullptr;
            const auto known = parent ? types.constFind(parent) : types.constEnd();
            type = known != types.constEnd() ? *known : band->EffectiveBandType();
        }
        types.insert(band, type);
        return type;
    };
    for (TBRCustomBand* band : bands) {
        if (band->IsDestroying())
            continue;
        band->SetLayingOut(true);
        band->MoveTo(left, int(std::clamp<qint64>(top, -BRMaxPixels, BRMaxPixels)));
        const qint64 width = brp::IsPageWidthType(effectiveType(band)) ? printable : column;
        band->Size()->SetDimension(TBRBandSize::iWidth, BRNative(std::clamp<qint64>(width, -BRMaxPixels, BRMaxPixels)));
        band->SetLayingOut(false);
        top += band->Height();
    }
    SetUnits(saved);
}

const TextMeasure& TCustomBandReport::MeasureFor(const TFont& font) const
{
    // The report keeps its measuring fonts for its lifetime; a run measures
    // every label's text at each print, with a handful of fonts.
    for (auto& entry : m_measures)
        if (entry.first == font)
            return *entry.second;
    TFont screen;
    screen.PixelsPerInch = brp::ScreenPixelsPerInch();
    screen.Assign(font);
    if (m_measures.size() >= 8)
        m_measures.erase(m_measures.begin());
    m_measures.emplace_back(font, std::make_unique<TextMeasure>(FontMapper::ToQFont(screen)));
    return *m_measures.back().second;
}

int TCustomBandReport::MeasureTextWidth(const TFont& font, const QString& text) const
{
    try {
        return MeasureFor(font).Width(text) + 1;
    } catch (...) {
        return 0;
    }
}

int TCustomBandReport::MeasureTextHeight(const TFont& font, const QString&) const
{
    // The height of a line of the font, as the canvases give it for any text.
    try {
        return MeasureFor(font).Height();
    } catch (...) {
        return 0;
    }
}

void TCustomBandReport::SetZoom(int zoom)
{
    if (zoom < 1 || zoom > 300)
        return;
    TBRBasePanel::SetZoom(zoom);
    const QList<TBRCustomBand*> bands = m_bandList;
    // Laid out once at the end: each band's new size used to lay out every
    // band again, which made zooming a long report quadratic.
    for (TBRCustomBand* band : bands) {
        band->SetLayingOut(true);
        band->SetZoom(zoom);
        band->SetLayingOut(false);
    }
    m_page->SetZoom(zoom);
    m_page->ApplyZoom();
    LayOutBands();
}

int TCustomBandReport::AvailableSpace() const
{
    const TBRPrinter* target = m_outputTarget.data();
    if (m_run.Available || m_run.CursorY == -1 || !target)
        return 0;
    if (m_exportFilter && m_exportFilter->IsContinuous())
        return target->PaperLength();
    const bool landscape = m_page->Orientation() == poLandscape && m_page->PaperSize() != TBRPaperSize::Custom;
    const BRNative paper = landscape ? target->PaperWidth() : target->PaperLength();
    return brp::Round(paper - m_page->Native(TBRPage::iBottomMargin) - m_run.PageFooterSpace - m_run.CursorY);
}

double TCustomBandReport::FontSize() const
{
    return Font().Size();
}

void TCustomBandReport::SetPanelSize(int width, int height)
{
    m_bounds = brp::SafeRect(m_bounds.left(), m_bounds.top(), width, height);
}

void TCustomBandReport::SetBounds(int left, int top, int width, int height)
{
    const bool resized = width != Width() || height != Height();
    m_bounds = brp::SafeRect(left, top, width, height);
    if (resized && !IsLoading())
        m_page->PanelResized(width, height);
}

TBRPrinterEvent TCustomBandReport::OnGetPrinterSettings() const
{
    return IsDesigning() ? TBRPrinterEvent() : OnGetPrinterSettingsHandler;
}

TBRPrinterEvent TCustomBandReport::OnApplyPrinterSettings() const
{
    return IsDesigning() ? TBRPrinterEvent() : OnApplyPrinterSettingsHandler;
}

void TCustomBandReport::Loaded()
{
    TBRBasePanel::Loaded();
    m_page->ResizeOwner();
    RebuildBandOrder();
    LayOutBands();
}

void TCustomBandReport::WriteProperties(BRDefinitionWriter& w) const
{
    TBRBasePanel::WriteProperties(w);
    w.WriteIdent(QStringLiteral("Units"), BRDefinitionWriter::EnumName(*this, "Units", static_cast<int>(Units())));
    w.WriteValues(QStringLiteral("Page.Values"), m_page->StoreValues());
    w.WriteInt(QStringLiteral("Page.Columns"), m_page->Columns());
    w.WriteIdent(QStringLiteral("Page.Orientation"),
                 m_page->Orientation() == poLandscape ? QStringLiteral("poLandscape") : QStringLiteral("poPortrait"));
    w.WriteIdent(QStringLiteral("Page.PaperSize"), QString::fromLatin1(brp::PaperSizeName(m_page->PaperSize())));
    if (!m_page->Ruler())
        w.WriteBool(QStringLiteral("Page.Ruler"), false);
    w.WriteFont(QStringLiteral("Font"), Font());
    if (!m_description.isEmpty())
        w.WriteStrings(QStringLiteral("Description.Strings"), m_description);
    w.WriteStrings(QStringLiteral("Functions.Strings"), m_functions->Strings());
    QStringList data = m_functions->Data();
    w.WriteStrings(QStringLiteral("Functions.DATA"), data);
    QStringList options;
    const char* names[] = {"FirstPageHeader", "LastPageFooter", "Compression"};
    for (int i = 0; i < 3; ++i)
        if (m_options & (1u << i))
            options << QString::fromLatin1(names[i]);
    w.WriteSet(QStringLiteral("Options"), options);
    w.WriteBool(QStringLiteral("PrintIfEmpty"), PrintIfEmpty());
    const TBandReportPrinterSettings& ps = *m_printerSettings;
    w.WriteInt(QStringLiteral("PrinterSettings.Copies"), ps.Copies);
    w.WriteIdent(QStringLiteral("PrinterSettings.OutputBin"),
                 BRDefinitionWriter::EnumName(ps, "OutputBin", static_cast<int>(ps.OutputBin)));
    w.WriteBool(QStringLiteral("PrinterSettings.Duplex"), ps.Duplex);
    w.WriteInt(QStringLiteral("PrinterSettings.FirstPage"), ps.FirstPage);
    w.WriteInt(QStringLiteral("PrinterSettings.LastPage"), ps.LastPage);
    w.WriteInt(QStringLiteral("PrinterSettings.ExtendedDuplex"), ps.ExtendedDuplex);
    w.WriteBool(QStringLiteral("PrinterSettings.UseStandardprinter"), ps.UseStandardprinter);
    w.WriteBool(QStringLiteral("PrinterSettings.UseCustomBinCode"), ps.UseCustomBinCode);
    w.WriteInt(QStringLiteral("PrinterSettings.CustomBinCode"), ps.CustomBinCode);
    w.WriteBool(QStringLiteral("PrinterSettings.UseCustomPaperCode"), ps.UseCustomPaperCode);
    w.WriteInt(QStringLiteral("PrinterSettings.CustomPaperCode"), ps.CustomPaperCode);
    w.WriteBool(QStringLiteral("PrinterSettings.PrintMetaFile"), ps.PrintMetaFile);
    if (!m_reportTitle.isEmpty())
        w.WriteString(QStringLiteral("ReportTitle"), m_reportTitle);
    if (!m_showProgress)
        w.WriteBool(QStringLiteral("ShowProgress"), false);
    w.WriteInt(QStringLiteral("Zoom"), Zoom());
    w.WriteBool(QStringLiteral("SnapToGrid"), m_snapToGrid);
    w.WriteIdent(QStringLiteral("PrevFormStyle"), BRDefinitionWriter::EnumName(*this, "PrevFormStyle", m_prevFormStyle));
    w.WriteIdent(QStringLiteral("PreviewInitialState"),
                 BRDefinitionWriter::EnumName(*this, "PreviewInitialState", m_previewInitialState));
    if (m_previewWidth != 500)
        w.WriteInt(QStringLiteral("PreviewWidth"), m_previewWidth);
    if (m_previewHeight != 500)
        w.WriteInt(QStringLiteral("PreviewHeight"), m_previewHeight);
    w.WriteEvents(*this);
}
