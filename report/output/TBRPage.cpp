#include "TBRPage.h"
#include "BRReportHost.h"
#include "BRRound.h"

namespace {
bool isHorizontal(int index)
{
    return index >= TBRPage::iWidth;
}
} // namespace

TBRPage::TBRPage(BRReportHost* parent) : TBRUnitBase(parent)
{
    const bool us = DefaultUnits() == TBRUnit::Inches;
    m_paperSize = us ? TBRPaperSize::Letter : TBRPaperSize::A4;
    const BRPaperDimensions paper = brp::PaperTable(m_paperSize);
    m_values[iWidth] = static_cast<BRNative>(paper.width) * 10;
    m_values[iLength] = static_cast<BRNative>(paper.length) * 10;
    const BRNative margin = us ? 127 : 100; // half an inch or 10 mm
    m_values[iTopMargin] = m_values[iBottomMargin] = m_values[iLeftMargin] = m_values[iRightMargin] = margin;
    m_values[iColumnSpace] = 0;
}

void TBRPage::LayOut()
{
    if (m_parentReport)
        m_parentReport->LayOutBands();
}

void TBRPage::Repaint()
{
    if (m_parentReport)
        m_parentReport->RepaintPanel();
}

void TBRPage::SetUnits(TBRUnit units)
{
    TBRUnitBase::SetUnits(units);
    Repaint();
}

BRNative TBRPage::GetDimension(int index) const
{
    if (index < 0 || index >= 7)
        return 0;
    return NativeToUnits(Units(), isHorizontal(index), m_values[index]);
}

void TBRPage::SetDimension(int index, BRNative value)
{
    if (index < 0 || index >= 7)
        return;
    if ((index == iLength || index == iWidth) && m_paperSize != TBRPaperSize::Custom)
        return; // the sheet of a named paper size is fixed
    m_values[index] = UnitsToNative(Units(), isHorizontal(index), value);
    switch (index) {
    case iBottomMargin:
    case iLength:
    case iWidth:
        ResizeOwner();
        LayOut();
        break;
    default:
        LayOut();
        Repaint();
        break;
    }
}

void TBRPage::SetColumns(int columns)
{
    if (columns <= 0 || columns == m_columns)
        return;
    m_columns = columns;
    LayOut();
    Repaint();
}

void TBRPage::SetOrientation(TPrinterOrientation orientation)
{
    m_orientation = orientation;
    SetPaperSize(m_paperSize); // re-apply the table along the new axes
}

void TBRPage::SetPaperSizeValue(int v)
{
    if (v >= 0 && v < BRPaperSizeCount)
        SetPaperSize(static_cast<TBRPaperSize>(v));
}

void TBRPage::SetPaperSize(TBRPaperSize size)
{
    if (brp::IsTablePaper(size)) {
        UsePixelUnits();
        SetUnits(TBRUnit::MM);
        m_paperSize = TBRPaperSize::Custom; // so that Width and Length can be written
        const BRPaperDimensions paper = brp::PaperTable(size);
        if (m_orientation == poPortrait) {
            SetDimension(iWidth, paper.width);
            SetDimension(iLength, paper.length);
        } else {
            SetDimension(iWidth, paper.length);
            SetDimension(iLength, paper.width);
        }
        RestoreUnits();
        LayOut();
    }
    m_paperSize = size;
}

void TBRPage::SetRuler(bool ruler)
{
    if (ruler == m_ruler)
        return;
    m_ruler = ruler;
    Repaint();
    if (m_parentReport)
        m_parentReport->ReapplyUnits();
}

void TBRPage::ResizeOwner()
{
    if (m_parentUpdating || !m_parentReport)
        return;
    m_parentUpdating = true;
    m_parentReport->SetPanelSize(brp::Round(NativeToUnits(TBRUnit::Pixels, true, m_values[iWidth])),
                                 brp::Round(NativeToUnits(TBRUnit::Pixels, false, m_values[iLength])));
    m_parentUpdating = false;
}

void TBRPage::PanelResized(int widthPixels, int heightPixels)
{
    if (!m_parentUpdating && m_paperSize == TBRPaperSize::Custom) {
        m_parentUpdating = true;
        UsePixelUnits();
        SetDimension(iWidth, widthPixels);
        SetDimension(iLength, heightPixels);
        RestoreUnits();
        m_parentUpdating = false;
    }
    LayOut();
}

void TBRPage::LoadValues(const QList<BRNative>& values)
{
    // A short list sets what it has; extra items are ignored.
    for (int i = 0; i < 7 && i < values.size(); ++i)
        m_values[i] = values[i];
    ResizeOwner();
}

QList<BRNative> TBRPage::StoreValues() const
{
    return QList<BRNative>(m_values.begin(), m_values.end());
}
