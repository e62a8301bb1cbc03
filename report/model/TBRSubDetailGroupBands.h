#pragma once
// HasHeader / HasFooter switches of a sub-detail band.

#include <QObject>

class TBRSubDetail;

class TBRSubDetailGroupBands : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool HasHeader READ HasHeader WRITE SetHasHeader)
    Q_PROPERTY(bool HasFooter READ HasFooter WRITE SetHasFooter)
public:
    explicit TBRSubDetailGroupBands(TBRSubDetail* band) : m_band(band) {}

    bool HasHeader() const;
    void SetHasHeader(bool value);
    bool HasFooter() const;
    void SetHasFooter(bool value);

private:
    TBRSubDetail* m_band;
};
