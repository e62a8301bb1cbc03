#include "TBRSubDetail.h"
#include "BRDefinitionWriter.h"
#include "TBRController.h"
#include "TCustomBandReport.h"

TBRSubDetail::TBRSubDetail(TComponent* owner)
    : TBRControllerBand(owner), m_bands(std::make_unique<TBRSubDetailGroupBands>(this))
{
    m_bandType = rbSubDetail;
}

TBRSubDetail::~TBRSubDetail()
{
    BeginDestroy();
}

TDataSet* TBRSubDetail::DataSet() const { return Controller()->DataSet(); }
void TBRSubDetail::SetDataSet(TDataSet* dataSet) { Controller()->SetDataSet(dataSet); }
TBRCustomBand* TBRSubDetail::FooterBand() const { return Controller()->Footer(); }
TBRCustomBand* TBRSubDetail::HeaderBand() const { return Controller()->Header(); }
bool TBRSubDetail::PrintBefore() const { return Controller()->PrintBefore(); }
bool TBRSubDetail::PrintIfEmpty() const { return Controller()->PrintIfEmpty(); }
void TBRSubDetail::SetPrintIfEmpty(bool value) { Controller()->SetPrintIfEmpty(value); }
TBRNeedDataEvent TBRSubDetail::OnNeedData() const { return Controller()->OnNeedData; }
void TBRSubDetail::SetOnNeedData(TBRNeedDataEvent handler) { Controller()->OnNeedData = std::move(handler); }

void TBRSubDetail::SetFooterBand(TBRCustomBand* band)
{
    if (band == this)
        return;
    Controller()->SetFooter(band);
    if (band)
        band->SetBandType(rbGroupFooter);
    else
        ReorderReport();
}

void TBRSubDetail::SetHeaderBand(TBRCustomBand* band)
{
    if (band == this)
        return;
    Controller()->SetHeader(band);
    if (band)
        band->SetBandType(rbGroupHeader);
    else
        ReorderReport();
}

void TBRSubDetail::SetPrintBefore(bool value)
{
    Controller()->SetPrintBefore(value);
    ReorderReport();
}

void TBRSubDetail::WriteProperties(BRDefinitionWriter& w) const
{
    TBRControllerBand::WriteProperties(w);
    w.WriteRef(QStringLiteral("DataSet"), DataSet());
    w.WriteRef(QStringLiteral("FooterBand"), FooterBand());
    w.WriteRef(QStringLiteral("HeaderBand"), HeaderBand());
    w.WriteBool(QStringLiteral("PrintBefore"), PrintBefore());
    w.WriteBool(QStringLiteral("PrintIfEmpty"), PrintIfEmpty());
}
