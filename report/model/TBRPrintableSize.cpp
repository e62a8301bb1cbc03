#include "TBRPrintableSize.h"
#include "BRRound.h"
#include "TBRPrintable.h"

TBRPrintableSize::TBRPrintableSize(TBRPrintable* printable) : m_printable(printable) {}

namespace {
bool isHorizontal(int index)
{
    return index == TBRPrintableSize::iLeft || index == TBRPrintableSize::iWidth;
}
} // namespace

BRNative TBRPrintableSize::GetDimension(int index) const
{
    if (index < 0 || index >= 4)
        return 0;
    return NativeToUnits(Units(), isHorizontal(index), m_values[index]);
}

void TBRPrintableSize::SetDimension(int index, BRNative value)
{
    if (index < 0 || index >= 4)
        return;
    m_values[index] = UnitsToNative(Units(), isHorizontal(index), value);
    ResizeOwner();
}

void TBRPrintableSize::ResizeOwner()
{
    if (!m_printable)
        return;
    auto px = [&](int index) { return brp::Round(NativeToUnits(TBRUnit::Pixels, isHorizontal(index), m_values[index])); };
    m_parentUpdating = true;
    m_printable->SetBounds(px(iLeft), px(iTop), px(iWidth), px(iHeight));
    m_parentUpdating = false;
}

void TBRPrintableSize::LoadValues(const QList<BRNative>& values)
{
    for (int i = 0; i < 4 && i < values.size(); ++i)
        m_values[i] = values[i];
    ResizeOwner();
}

QList<BRNative> TBRPrintableSize::StoreValues() const
{
    return {m_values[0], m_values[1], m_values[2], m_values[3]};
}
