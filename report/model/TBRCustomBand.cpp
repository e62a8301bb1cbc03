#include "TBRCustomBand.h"
#include "BRDefinitionWriter.h"
#include "BRRound.h"
#include "TBRChildBand.h"
#include "TBRPrintable.h"
#include "TCustomBandReport.h"

TBRCustomBand::TBRCustomBand(TComponent* owner)
    : TBRBasePanel(owner)
{
    // After the members it asks about (its report) exist.
    m_size = std::make_unique<TBRBandSize>(this);
    m_bounds = QRect(0, 0, 0, 40);
    // The record starts at 40 pixels, whatever the screen says.
    m_size->UsePixelUnits();
    m_size->SetDimension(TBRBandSize::iHeight, 40);
    m_size->RestoreUnits();
}

TBRCustomBand::~TBRCustomBand()
{
    BeginDestroy();
}

void TBRCustomBand::BeginDestroy()
{
    if (IsDestroying())
        return;
    Destroying();
    DestroyPrintables();
    if (TCustomBandReport* report = m_report.data()) {
        report->RemovePlacedBand(this);
        report->DetachBand(this);
    }
}

void TBRCustomBand::ReorderReport()
{
    TCustomBandReport* report = m_report.data();
    if (report && !report->IsDestroying()) {
        report->RebuildBandOrder();
        report->LayOutBands();
    }
}

TCustomBandReport* TBRCustomBand::ParentReport() const
{
    return m_report.data();
}

void TBRCustomBand::SetParentReport(TCustomBandReport* report)
{
    m_report = report;
    m_size->SetParentReport(report);
    for (TBRPrintable* p : Printables()) {
        p->SetOwnerReport(report);
        p->Size()->SetParentReport(report);
    }
}

void TBRCustomBand::SetBandType(TBRBandType type)
{
    m_bandType = type;
    if (m_report) {
        m_report->BandLinksChanged();
        ReorderReport();
    }
}

TBRBandType TBRCustomBand::EffectiveBandType() const
{
    const TBRCustomBand* band = this;
    // Bounded walk: a circle of parents cannot be set, but stay safe.
    for (int steps = 0; band && band->m_bandType == rbChild && steps < 10000; ++steps) {
        auto* child = qobject_cast<const TBRChildBand*>(band);
        band = child ? child->ParentBand() : nullptr;
    }
    return band && band->m_bandType != rbChild ? band->m_bandType : rbChild;
}

void TBRCustomBand::SetParentPanel(TBRBasePanel* parent)
{
    // Bands never nest: a band given as parent stands for its report.
    if (auto* band = qobject_cast<TBRCustomBand*>(parent))
        parent = band->ParentReport();
    if (parent == m_parentPanel)
        return;
    if (TCustomBandReport* old = m_report.data()) {
        old->RemovePlacedBand(this);
        old->DetachBand(this);
    }
    m_parentPanel = parent;
    auto* report = qobject_cast<TCustomBandReport*>(parent);
    if (!report) {
        SetParentReport(nullptr);
        return;
    }
    SetParentReport(report);
    report->InsertPlacedBand(this);
    report->AttachBand(this);
    SetZoom(report->Zoom());
}

TBRCustomBand* TBRCustomBand::ChildBand() const
{
    return m_report ? m_report->FirstChildBand(this) : nullptr;
}

void TBRCustomBand::SetHasChild(bool value)
{
    if (IsLoading())
        return; // derived from the bands read, never from the definition
    TBRCustomBand* child = ChildBand();
    if (value && !child && m_report) {
        auto* band = new TBRChildBand(nullptr);
        band->setParent(parent() ? parent() : m_report.data());
        band->SetParentPanel(m_report.data());
        band->SetParentBand(this);
    } else if (!value && child) {
        if (TBRCustomBand* grandchild = child->ChildBand())
            static_cast<TBRChildBand*>(grandchild)->SetParentBand(this);
        delete child;
    }
}

void TBRCustomBand::SetLinkBand(TBRCustomBand* band)
{
    // While a definition is read its reader looks for circles once, over
    // every link: walking the chain at each link made long chains quadratic.
    if (!IsLoading())
        for (TBRCustomBand* b = band; b; b = b->LinkBand())
            if (b == this)
                return; // circular linking: refused
    if (m_linkBand)
        RemoveFreeNotification(m_linkBand.data());
    m_linkBand = band;
    if (band)
        FreeNotification(band);
}

bool TBRCustomBand::CanExpand(BRNative amount) const
{
    if (!m_report)
        return false;
    return m_report->AvailableSpace() >= brp::Round(m_size->Native(TBRBandSize::iHeight) + Expanded + amount);
}

bool TBRCustomBand::ExpandBand(BRNative amount, BRNative& newExpanded, bool& firstDone)
{
    if (!CanExpand(amount))
        return false;
    bool result;
    if (!firstDone && amount < Expanded) {
        result = true;
    } else {
        Expanded += amount;
        result = false;
    }
    newExpanded = Expanded;
    firstDone = true;
    return result;
}

void TBRCustomBand::MoveTo(int left, int top)
{
    m_bounds.moveTo(left, top);
}

void TBRCustomBand::NotifyAlignedPrintables(std::uint8_t code)
{
    const auto printables = Printables();
    for (TBRPrintable* p : printables)
        if (p->AlignToBand())
            p->EngineNotify(this, code);
}

void TBRCustomBand::SetZoom(int zoom)
{
    TBRBasePanel::SetZoom(zoom);
    m_size->SetZoom(zoom);
    m_size->ApplyZoom();
}

void TBRCustomBand::SetBounds(int left, int top, int width, int height)
{
    if (IsLoading()) {
        if (height != 40 && height != m_bounds.height())
            m_loadedHeight = height;
        m_bounds = brp::SafeRect(left, top, m_bounds.width(), m_bounds.height());
        return;
    }
    if (height != m_bounds.height()) {
        m_size->UsePixelUnits();
        m_size->SetDimension(TBRBandSize::iHeight, height);
        m_size->RestoreUnits();
    }
    if (left != m_bounds.left() || top != m_bounds.top())
        m_bounds = brp::SafeRect(left, top, m_bounds.width(), m_bounds.height());
    if (m_report && !m_report->IsLoading())
        m_report->LayOutBands();
}

void TBRCustomBand::SetPanelBounds(const QRect& bounds)
{
    if (!m_size->ParentUpdating()) {
        SetBounds(bounds.left(), bounds.top(), bounds.width(), bounds.height());
        return;
    }
    const QRect safe = brp::SafeRect(bounds.left(), bounds.top(), bounds.width(), bounds.height());
    const bool changed = safe != m_bounds;
    m_bounds = safe;
    if (!m_layingOut && m_report && !m_report->IsLoading() && !m_report->IsDestroying())
        m_report->LayOutBands();
    if (changed)
        NotifyAlignedPrintables(NotifyBandSizeChange);
}

BRReportHost* TBRCustomBand::Report() const
{
    return m_report.data();
}

const TBRBasePanel* TBRCustomBand::FontParent() const
{
    return m_report.data();
}

void TBRCustomBand::Notification(TComponent* component, TOperation operation)
{
    TBRBasePanel::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_linkBand.data())
        m_linkBand = nullptr;
}

void TBRCustomBand::Loaded()
{
    TBRBasePanel::Loaded();
    if (m_loadedHeight) {
        const int height = m_loadedHeight;
        m_loadedHeight = 0;
        SetBounds(m_bounds.left(), m_bounds.top(), m_bounds.width(), height);
    }
}

void TBRCustomBand::WriteProperties(BRDefinitionWriter& w) const
{
    TBRBasePanel::WriteProperties(w);
    w.WriteBool(QStringLiteral("AlignToBottom"), m_alignToBottom);
    w.WriteColor(QStringLiteral("Color"), Color());
    if (!m_enabled)
        w.WriteBool(QStringLiteral("Enabled"), false);
    w.WriteBool(QStringLiteral("ForceNewColumn"), m_forceNewColumn);
    w.WriteBool(QStringLiteral("ForceNewPage"), m_forceNewPage);
    w.WriteRef(QStringLiteral("LinkBand"), m_linkBand.data());
    if (!ParentFont()) {
        w.WriteFont(QStringLiteral("Font"), Font());
        w.WriteBool(QStringLiteral("ParentFont"), false);
    }
    w.WriteValues(QStringLiteral("Size.Values"), m_size->StoreValues());
    w.WriteEvents(*this);
}
