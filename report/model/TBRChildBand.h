#pragma once
// A band printed right after its parent band.

#include "TBRCustomBand.h"

class TBRChildBand : public TBRCustomBand {
    Q_OBJECT
    Q_PROPERTY(TBRCustomBand* ParentBand READ ParentBand WRITE SetParentBand)
public:
    explicit TBRChildBand(TComponent* owner = nullptr);
    ~TBRChildBand() override;

    TBRCustomBand* ParentBand() const { return m_parentBand.data(); }
    // Refused when it would close a circle of child bands (while the band is
    // loaded, its reader checks that), or while the band is on no report.
    void SetParentBand(TBRCustomBand* band);

    void Notification(TComponent* component, TOperation operation) override;
    void WriteProperties(BRDefinitionWriter& writer) const override;

private:
    QPointer<TBRCustomBand> m_parentBand;
};
