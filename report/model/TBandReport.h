#pragma once
// The report with a main controller over a data set.

#include "TCustomBandReport.h"
#include "TDataSet.h"

class TBRController;

class TBandReport : public TCustomBandReport {
    Q_OBJECT
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
public:
    explicit TBandReport(TComponent* owner = nullptr);
    ~TBandReport() override;

    TBRController* Controller() const;
    TDataSet* DataSet() const;
    void SetDataSet(TDataSet* dataSet);

    // The main data set's record count when it is open, 1 otherwise or when
    // counting fails.
    int MainRecordCount() const;

    // Detail, title and summary bands become the main controller's detail,
    // header and footer.
    void AssignControllerBands() override;
    void RunReport() override;
    void WriteProperties(BRDefinitionWriter& writer) const override;
};
