#pragma once
// The Has... switches of a report: whether a band of each kind exists;
// switching one on creates it, off frees it.

#include "TBRBandType.h"
#include <QObject>

class TCustomBandReport;

class TBandReportBands : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool HasTitle READ HasTitle WRITE SetHasTitle)
    Q_PROPERTY(bool HasPageHeader READ HasPageHeader WRITE SetHasPageHeader)
    Q_PROPERTY(bool HasColumnHeader READ HasColumnHeader WRITE SetHasColumnHeader)
    Q_PROPERTY(bool HasDetail READ HasDetail WRITE SetHasDetail)
    Q_PROPERTY(bool HasPageFooter READ HasPageFooter WRITE SetHasPageFooter)
    Q_PROPERTY(bool HasSummary READ HasSummary WRITE SetHasSummary)
public:
    explicit TBandReportBands(TCustomBandReport* report) : m_report(report) {}

    // Index order: 1 title, 2 page header, 3 column header, 4 detail,
    // 6 page footer, 7 summary; 5 and others stand for no band.
    bool GetBand(int index) const;
    void SetBand(int index, bool value);

    bool HasTitle() const { return GetBand(1); }
    void SetHasTitle(bool v) { SetBand(1, v); }
    bool HasPageHeader() const { return GetBand(2); }
    void SetHasPageHeader(bool v) { SetBand(2, v); }
    bool HasColumnHeader() const { return GetBand(3); }
    void SetHasColumnHeader(bool v) { SetBand(3, v); }
    bool HasDetail() const { return GetBand(4); }
    void SetHasDetail(bool v) { SetBand(4, v); }
    bool HasPageFooter() const { return GetBand(6); }
    void SetHasPageFooter(bool v) { SetBand(6, v); }
    bool HasSummary() const { return GetBand(7); }
    void SetHasSummary(bool v) { SetBand(7, v); }

private:
    TCustomBandReport* m_report;
};
