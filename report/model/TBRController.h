#pragma once
// A data controller over a data set, with its header, detail and footer bands.

#include "ComponentRef.h"
#include "TBRCustomBand.h"
#include "TBRCustomController.h"

#include "TDataSet.h"

class TBREvEnvironment;

class TBRController : public TBRCustomController {
    Q_OBJECT
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(TBRCustomBand* Header READ Header WRITE SetHeader)
    Q_PROPERTY(TBRCustomBand* Detail READ Detail WRITE SetDetail)
    Q_PROPERTY(TBRCustomBand* Footer READ Footer WRITE SetFooter)
public:
    explicit TBRController(TComponent* owner = nullptr);
    ~TBRController() override;

    void ListBands(QList<TBRCustomBand*>& bands) const override;
    void ListDataSets() override;

    TDataSet* DataSet() const { return m_dataSet.Data(); }
    void SetDataSet(TDataSet* dataSet);
    TBRCustomBand* Header() const { return m_header.Data(); }
    void SetHeader(TBRCustomBand* band);
    TBRCustomBand* Detail() const { return m_detail.Data(); }
    void SetDetail(TBRCustomBand* band);
    TBRCustomBand* Footer() const { return m_footer.Data(); }
    void SetFooter(TBRCustomBand* band);

    TBRNeedDataEvent OnNeedData;
    int DetailNumber = 0;      // records printed so far in the current run
    bool UpdateSQLParams = false;

    // ---- Data walk (TBRControllerRun.cpp) -----------------------------------
    void Run() override;
    void RunEmpty() override;
    void PrepareRun() override;
    void UnprepareRun() override;
    // Closes the query, assigns the parameters named like entries of
    // `functions` from their values, and opens it again.
    static void RefreshQueryParameters(TDataSet* query, TBREvEnvironment& functions);
    bool MoreData = false;
    bool HasDataSet = false;
    int RecordCount = 1;

    void Notification(TComponent* component, TOperation operation) override;

private:
    void SetBand(ComponentRef<TBRCustomBand>& slot, TBRCustomBand* band);

    ComponentRef<TDataSet> m_dataSet;
    ComponentRef<TBRCustomBand> m_header;
    ComponentRef<TBRCustomBand> m_detail;
    ComponentRef<TBRCustomBand> m_footer;
};
