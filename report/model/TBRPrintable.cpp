#include "TBRPrintable.h"
#include "BRDefinitionWriter.h"
#include "BRRound.h"
#include "TBRBasePanel.h"
#include "TBRCustomBand.h"
#include "TBRPrinter.h"
#include "TCanvas.h"
#include "TCustomBandReport.h"

TBRPrintable::TBRPrintable(TComponent* owner)
    : TComponent(owner), m_frame(std::make_unique<TBRFrame>(this)),
      m_size(std::make_unique<TBRPrintableSize>(this))
{
    m_bounds = QRect();
    SetBounds(0, 0, 10, 10);
}

TBRPrintable::~TBRPrintable()
{
    Destroying();
    if (m_parent)
        m_parent->RemovePrintable(this);
}

bool TBRPrintable::CanOutput() const
{
    return m_enabled || !m_visible;
}

void TBRPrintable::AlignInBand()
{
    if (!m_alignToBand)
        return;
    m_aligning = true;
    TBRCustomBand* band = Band();
    switch (m_alignment) {
    case taLeftJustify:
        SetLeft(0);
        break;
    case taRightJustify:
        if (band)
            SetLeft(band->Width() - Width());
        break;
    case taCenter:
        if (band)
            SetLeft((band->Width() - Width()) / 2);
        break;
    }
    m_aligning = false;
}

void TBRPrintable::BeginOutput()
{
    m_inOutput = true;
    m_outputTarget = m_ownerReport ? m_ownerReport->OutputTarget() : nullptr;
}

void TBRPrintable::PrintAt(int offsetX, int offsetY)
{
    PaintOwnFrame(offsetX, offsetY);
}

void TBRPrintable::EngineNotify(QObject*, std::uint8_t code)
{
    if (code == NotifyBandSizeChange)
        AlignInBand();
}

void TBRPrintable::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    if (m_alignToBand)
        AlignInBand();
    Repaint();
}

void TBRPrintable::EndOutput()
{
    m_inOutput = false;
}

bool TBRPrintable::RenderToSurface() const
{
    return m_ownerReport && m_ownerReport->RenderToSurface();
}

void TBRPrintable::PaintOwnFrame(int offsetX, int offsetY) const
{
    TBRPrinter* target = m_outputTarget.data();
    if (!target || !target->PageCanvas() || !RenderToSurface() || !m_frame->HasAnySide())
        return;
    const BRNative x = offsetX + m_size->Native(TBRPrintableSize::iLeft);
    const BRNative y = offsetY + m_size->Native(TBRPrintableSize::iTop);
    const TRect r{target->DeviceX(x), target->DeviceY(y),
                  target->DeviceX(x + m_size->Native(TBRPrintableSize::iWidth)),
                  target->DeviceY(y + m_size->Native(TBRPrintableSize::iHeight))};
    m_frame->PaintFrame(*target->PageCanvas(), r, target->HorzFactor(), target->VertFactor());
}

void TBRPrintable::SetBounds(int left, int top, int width, int height)
{
    if (m_size->ParentUpdating()) {
        m_bounds = brp::SafeRect(left, top, width, height);
        if (m_ownerReport && !m_ownerReport->IsLoading())
            m_ownerReport->RepaintPanel();
    } else if (IsLoading()) {
        if (left)
            m_pendingLeft = left;
        if (top)
            m_pendingTop = top;
        if (width)
            m_pendingWidth = width;
        if (height)
            m_pendingHeight = height;
    } else {
        m_size->UsePixelUnits();
        auto differs = [&](int index, int value) { return brp::Round(m_size->GetDimension(index)) != value; };
        if (differs(TBRPrintableSize::iHeight, height))
            m_size->SetDimension(TBRPrintableSize::iHeight, height);
        if (differs(TBRPrintableSize::iWidth, width))
            m_size->SetDimension(TBRPrintableSize::iWidth, width);
        if (differs(TBRPrintableSize::iTop, top))
            m_size->SetDimension(TBRPrintableSize::iTop, top);
        if (differs(TBRPrintableSize::iLeft, left))
            m_size->SetDimension(TBRPrintableSize::iLeft, left);
        m_size->RestoreUnits();
    }
    if (m_alignToBand && !m_aligning)
        AlignInBand();
}

void TBRPrintable::SetAlignToBand(bool value)
{
    m_alignToBand = value;
    AlignInBand();
}

void TBRPrintable::SetEnabled(bool value)
{
    m_enabled = value;
}

void TBRPrintable::SetTransparent(bool value)
{
    if (value != Transparent()) {
        m_opaque = !value;
        Repaint();
    }
}

void TBRPrintable::SetColor(TColor color)
{
    m_color = color;
    Repaint();
}

const TFont& TBRPrintable::Font() const
{
    const TBRBasePanel* parent = m_font.Inherits() ? m_parent.data() : nullptr;
    return m_font.Effective(parent ? &parent->Font() : nullptr);
}

void TBRPrintable::SetFont(const TFont& font)
{
    m_font.Set(font);
    Repaint();
}

void TBRPrintable::SetParentFont(bool value)
{
    const TBRBasePanel* parent = value && !m_font.Inherits() ? m_parent.data() : nullptr;
    m_font.SetInherits(value, parent ? &parent->Font() : nullptr);
}

TBRCustomBand* TBRPrintable::Band() const
{
    return qobject_cast<TBRCustomBand*>(m_parent.data());
}

void TBRPrintable::SetParentPanel(TBRBasePanel* parent)
{
    if (parent == m_parent)
        return;
    if (m_parent)
        m_parent->RemovePrintable(this);
    m_parent = parent;
    if (!parent)
        return;
    parent->InsertPrintable(this);
    if (auto* report = qobject_cast<TCustomBandReport*>(parent)) {
        m_size->SetUnits(report->Units());
        m_ownerReport = report;
        m_size->SetParentReport(report);
        SetZoom(report->Zoom());
    } else if (auto* band = qobject_cast<TBRCustomBand*>(parent)) {
        m_size->SetUnits(band->Size()->Units());
        if (TCustomBandReport* bandReport = band->ParentReport()) {
            m_ownerReport = bandReport;
            m_size->SetParentReport(bandReport);
            SetZoom(bandReport->Zoom());
        }
    }
    // Size follows the current pixel place.
    if (!IsLoading())
        SetBounds(Left(), Top(), Width(), Height());
    ParentChanged();
}

TBRBasePanel* TBRPrintable::ParentPanel() const
{
    return m_parent.data();
}

TCustomBandReport* TBRPrintable::OwnerReport() const
{
    return m_ownerReport.data();
}

void TBRPrintable::SetOwnerReport(TCustomBandReport* report)
{
    m_ownerReport = report;
}

int TBRPrintable::Zoom() const
{
    return m_size->Zoom();
}

void TBRPrintable::SetZoom(int zoom)
{
    m_size->SetZoom(zoom);
    m_size->ApplyZoom();
}

void TBRPrintable::Loaded()
{
    TComponent::Loaded();
    m_size->ResizeOwner();
    QRect r = m_bounds;
    if (r.left() == 0 && m_pendingLeft)
        r.moveLeft(m_pendingLeft);
    if (r.top() == 0 && m_pendingTop)
        r.moveTop(m_pendingTop);
    if (r.width() == 0 && m_pendingWidth)
        r.setWidth(m_pendingWidth);
    if (r.height() == 0 && m_pendingHeight)
        r.setHeight(m_pendingHeight);
    if (r != m_bounds)
        SetBounds(r.left(), r.top(), r.width(), r.height());
}

void TBRPrintable::WriteProperties(BRDefinitionWriter& w) const
{
    if (m_tag)
        w.WriteInt(QStringLiteral("Tag"), m_tag);
    w.WriteInt(QStringLiteral("Left"), Left());
    w.WriteInt(QStringLiteral("Top"), Top());
    w.WriteInt(QStringLiteral("Width"), Width());
    w.WriteInt(QStringLiteral("Height"), Height());
    if (!m_enabled)
        w.WriteBool(QStringLiteral("Enabled"), false);
    w.WriteFrame(*m_frame);
    w.WriteValues(QStringLiteral("Size.Values"), m_size->StoreValues());
}
