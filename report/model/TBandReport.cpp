#include "TBandReport.h"
#include "BRDefinitionWriter.h"
#include "TBRController.h"

TBandReport::TBandReport(TComponent* owner) : TCustomBandReport(owner)
{
    ReplaceController(new TBRController(this));
}

TBandReport::~TBandReport()
{
    Destroying();
}

TBRController* TBandReport::Controller() const
{
    return static_cast<TBRController*>(MainController());
}

TDataSet* TBandReport::DataSet() const
{
    return Controller() ? Controller()->DataSet() : nullptr;
}

void TBandReport::SetDataSet(TDataSet* dataSet)
{
    Controller()->SetDataSet(dataSet);
}

int TBandReport::MainRecordCount() const
{
    TDataSet* data = DataSet();
    if (!data || !data->Active())
        return 1;
    try {
        return data->RecordCount();
    } catch (...) {
        return 1;
    }
}

void TBandReport::AssignControllerBands()
{
    Controller()->SetDetail(FindBand(rbDetail));
    Controller()->SetHeader(FindBand(rbTitle));
    Controller()->SetFooter(FindBand(rbSummary));
}

void TBandReport::RunReport()
{
    AssignControllerBands();
    Controller()->OnNeedData = OnNeedData;
    TCustomBandReport::RunReport();
}

void TBandReport::WriteProperties(BRDefinitionWriter& w) const
{
    TCustomBandReport::WriteProperties(w);
    w.WriteRef(QStringLiteral("DataSet"), DataSet());
}
