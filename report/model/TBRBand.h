#pragma once
// A band whose type is chosen in the definition.

#include "TBRCustomBand.h"

class TBRBand : public TBRCustomBand {
    Q_OBJECT
    Q_PROPERTY(int BandType READ BandTypeValue WRITE SetBandTypeValue)
    Q_CLASSINFO("BREnum:BandType", "rbTitle,rbPageHeader,rbDetail,rbPageFooter,rbSummary,rbGroupHeader,"
                                   "rbGroupFooter,rbSubDetail,rbColumnHeader,rbOverlay,rbChild")
public:
    explicit TBRBand(TComponent* owner = nullptr);
    ~TBRBand() override;

    void WriteProperties(BRDefinitionWriter& writer) const override;

private:
    int BandTypeValue() const { return m_bandType; }
    void SetBandTypeValue(int v);
};
