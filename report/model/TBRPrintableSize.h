#pragma once
// A printable's height, left, top and width, kept in native units; the pixel
// bounds of the printable follow from them.

#include "TBRUnitBase.h"

class TBRPrintable;

class TBRPrintableSize : public TBRUnitBase {
    Q_OBJECT
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
public:
    enum Index { iHeight = 0, iLeft = 1, iTop = 2, iWidth = 3 };

    explicit TBRPrintableSize(TBRPrintable* printable = nullptr);

    TBRPrintable* Printable() const { return m_printable; }

    BRNative GetDimension(int index) const;
    void SetDimension(int index, BRNative value);
    BRNative Native(int index) const { return (index >= 0 && index < 4) ? m_values[index] : 0; }

    double Height() const { return double(GetDimension(iHeight)); }
    void SetHeight(double v) { SetDimension(iHeight, v); }
    double Left() const { return double(GetDimension(iLeft)); }
    void SetLeft(double v) { SetDimension(iLeft, v); }
    double Top() const { return double(GetDimension(iTop)); }
    void SetTop(double v) { SetDimension(iTop, v); }
    double Width() const { return double(GetDimension(iWidth)); }
    void SetWidth(double v) { SetDimension(iWidth, v); }

    // Native values as pixels at the holder's zoom, rounded, set as the
    // printable's bounds with ParentUpdating set.
    void ResizeOwner() override;
    void ApplyZoom() { ResizeOwner(); }

    void LoadValues(const QList<BRNative>& values) override;
    QList<BRNative> StoreValues() const override;

private:
    TBRPrintable* m_printable;
    BRNative m_values[4] = {0, 0, 0, 0};
};
