#pragma once
// A band's height and width.

#include "TBRUnitBase.h"

class BRBandHost;

class TBRBandSize : public TBRUnitBase {
    Q_OBJECT
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
public:
    enum Index { iHeight = 0, iWidth = 1 };

    explicit TBRBandSize(BRBandHost* parent = nullptr);

    BRBandHost* Parent() const { return m_band; }

    BRNative GetDimension(int index) const;
    void SetDimension(int index, BRNative value);
    BRNative Native(int index) const { return (index == 0 || index == 1) ? m_values[index] : 0; }

    double Height() const { return double(GetDimension(iHeight)); }
    void SetHeight(double v) { SetDimension(iHeight, v); }
    double Width() const { return double(GetDimension(iWidth)); }
    void SetWidth(double v) { SetDimension(iWidth, v); }

    void ApplyZoom() { ResizeOwner(); }
    void ResizeOwner() override;

    void LoadValues(const QList<BRNative>& values) override;
    QList<BRNative> StoreValues() const override;

private:
    BRBandHost* m_band;
    BRNative m_values[2] = {20.0L, 40.0L};
};
