#include "TBRBandSize.h"
#include "BRReportHost.h"
#include "BRRound.h"

#include <algorithm>
#include <limits>

namespace {

// An extent from origin for which QRect's (origin + extent) - 1 stays in int
// range; absurd stored sizes are cut there.
int fitExtent(int origin, int extent)
{
    const qint64 last = std::clamp<qint64>(qint64(origin) + extent - 1, std::numeric_limits<int>::min(),
                                           qint64(std::numeric_limits<int>::max()) - 1);
    return int(last - origin + 1);
}

} // namespace

TBRBandSize::TBRBandSize(BRBandHost* parent)
    : TBRUnitBase(parent ? parent->Report() : nullptr), m_band(parent)
{
}

BRNative TBRBandSize::GetDimension(int index) const
{
    if (index != iHeight && index != iWidth)
        return 0;
    return NativeToUnits(Units(), index == iWidth, m_values[index]);
}

void TBRBandSize::SetDimension(int index, BRNative value)
{
    if (index != iHeight && index != iWidth)
        return;
    m_values[index] = UnitsToNative(Units(), index == iWidth, value);
    ResizeOwner();
}

void TBRBandSize::ResizeOwner()
{
    if (!m_band)
        return;
    if (!m_parentReport)
        m_parentReport = m_band->Report();
    m_parentUpdating = true;
    const QRect bounds = m_band->PanelBounds();
    m_band->SetPanelBounds(
        QRect(bounds.left(), bounds.top(),
              fitExtent(bounds.left(), brp::Round(NativeToUnits(TBRUnit::Pixels, true, m_values[iWidth]))),
              fitExtent(bounds.top(), brp::Round(NativeToUnits(TBRUnit::Pixels, false, m_values[iHeight])))));
    m_parentUpdating = false;
}

void TBRBandSize::LoadValues(const QList<BRNative>& values)
{
    for (int i = 0; i < 2 && i < values.size(); ++i)
        m_values[i] = values[i];
    ResizeOwner();
}

QList<BRNative> TBRBandSize::StoreValues() const
{
    return {m_values[0], m_values[1]};
}
