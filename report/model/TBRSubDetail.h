#pragma once
// A detail band that walks a data set of its own.

#include "BRModelTypes.h"
#include "TBRControllerBand.h"
#include "TBRSubDetailGroupBands.h"

#include <memory>

#include "TDataSet.h"

class TBRSubDetail : public TBRControllerBand {
    Q_OBJECT
    Q_PROPERTY(TBRSubDetailGroupBands* Bands READ Bands)
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(TBRCustomBand* FooterBand READ FooterBand WRITE SetFooterBand)
    Q_PROPERTY(TBRCustomBand* HeaderBand READ HeaderBand WRITE SetHeaderBand)
    Q_PROPERTY(bool PrintBefore READ PrintBefore WRITE SetPrintBefore)
    Q_PROPERTY(bool PrintIfEmpty READ PrintIfEmpty WRITE SetPrintIfEmpty)
public:
    explicit TBRSubDetail(TComponent* owner = nullptr);
    ~TBRSubDetail() override;

    TBRSubDetailGroupBands* Bands() const { return m_bands.get(); }

    // These live in the controller.
    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* dataSet);
    TBRCustomBand* FooterBand() const;
    // The band becomes a group footer.
    void SetFooterBand(TBRCustomBand* band);
    TBRCustomBand* HeaderBand() const;
    // The band becomes a group header.
    void SetHeaderBand(TBRCustomBand* band);
    bool PrintBefore() const;
    // Re-orders and re-lays the report's bands.
    void SetPrintBefore(bool value);
    bool PrintIfEmpty() const;
    void SetPrintIfEmpty(bool value);
    TBRNeedDataEvent OnNeedData() const;
    void SetOnNeedData(TBRNeedDataEvent handler);

    void WriteProperties(BRDefinitionWriter& writer) const override;

private:
    std::unique_ptr<TBRSubDetailGroupBands> m_bands;
};
