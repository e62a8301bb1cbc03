#pragma once
// The report's paper: size, margins, columns, orientation and paper size.

#include "TBRPaperSize.h"
#include "TBRUnitBase.h"
#include "TPrinterOrientation.h"
#include <array>

class TBRPage : public TBRUnitBase {
    Q_OBJECT
    Q_PROPERTY(double BottomMargin READ BottomMargin WRITE SetBottomMargin)
    Q_PROPERTY(double Length READ Length WRITE SetLength)
    Q_PROPERTY(double TopMargin READ TopMargin WRITE SetTopMargin)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(double LeftMargin READ LeftMargin WRITE SetLeftMargin)
    Q_PROPERTY(double RightMargin READ RightMargin WRITE SetRightMargin)
    Q_PROPERTY(double ColumnSpace READ ColumnSpace WRITE SetColumnSpace)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(int Orientation READ OrientationValue WRITE SetOrientationValue)
    Q_PROPERTY(int PaperSize READ PaperSizeValue WRITE SetPaperSizeValue)
    Q_PROPERTY(bool Ruler READ Ruler WRITE SetRuler)
public:
    enum Index { iBottomMargin = 0, iLength, iTopMargin, iWidth, iLeftMargin, iRightMargin, iColumnSpace };

    explicit TBRPage(BRReportHost* parent = nullptr);

    BRReportHost* Parent() const { return m_parentReport; }

    void SetUnits(TBRUnit units) override;

    BRNative GetDimension(int index) const;
    void SetDimension(int index, BRNative value);
    // The stored native value, whatever the current units.
    BRNative Native(int index) const { return (index >= 0 && index < 7) ? m_values[index] : 0; }

    double BottomMargin() const { return double(GetDimension(iBottomMargin)); }
    void SetBottomMargin(double v) { SetDimension(iBottomMargin, v); }
    double Length() const { return double(GetDimension(iLength)); }
    void SetLength(double v) { SetDimension(iLength, v); }
    double TopMargin() const { return double(GetDimension(iTopMargin)); }
    void SetTopMargin(double v) { SetDimension(iTopMargin, v); }
    double Width() const { return double(GetDimension(iWidth)); }
    void SetWidth(double v) { SetDimension(iWidth, v); }
    double LeftMargin() const { return double(GetDimension(iLeftMargin)); }
    void SetLeftMargin(double v) { SetDimension(iLeftMargin, v); }
    double RightMargin() const { return double(GetDimension(iRightMargin)); }
    void SetRightMargin(double v) { SetDimension(iRightMargin, v); }
    double ColumnSpace() const { return double(GetDimension(iColumnSpace)); }
    void SetColumnSpace(double v) { SetDimension(iColumnSpace, v); }

    int Columns() const { return m_columns; }
    void SetColumns(int columns);
    TPrinterOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TPrinterOrientation orientation);
    TBRPaperSize PaperSize() const { return m_paperSize; }
    void SetPaperSize(TBRPaperSize size);
    bool Ruler() const { return m_ruler; }
    void SetRuler(bool ruler);

    void ApplyZoom() { ResizeOwner(); }
    void ResizeOwner() override;
    // The report panel was resized by something other than ResizeOwner.
    void PanelResized(int widthPixels, int heightPixels);

    void LoadValues(const QList<BRNative>& values) override;
    QList<BRNative> StoreValues() const override;

private:
    int OrientationValue() const { return m_orientation; }
    void SetOrientationValue(int v) { SetOrientation(v == poLandscape ? poLandscape : poPortrait); }
    int PaperSizeValue() const { return static_cast<int>(m_paperSize); }
    void SetPaperSizeValue(int v);
    void LayOut();
    void Repaint();

    std::array<BRNative, 7> m_values{};
    int m_columns = 1;
    TPrinterOrientation m_orientation = poPortrait;
    TBRPaperSize m_paperSize = TBRPaperSize::A4;
    bool m_ruler = true;
};
