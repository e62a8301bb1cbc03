#pragma once
// The texts a printed band carries, for the filters that write text instead
// of drawing: every enabled text control of the band with where it sits.

#include "BRModelTypes.h"
#include "TBRUnit.h"

#include <QList>
#include <QString>
#include <QStringList>

class QObject;
class TBRCustomBand;

struct BRBandText {
    BRNative Left = 0; // native units, from the band's left edge
    BRNative Top = 0;
    BRNative Width = 0;
    TAlignment Alignment = taLeftJustify;
    QString Text; // lines joined by "\n"
    QStringList Lines; // the lines as they were printed on the page
};

namespace brp {

// Left to right (then top to bottom); empty texts included, so that rows of
// the same band keep their columns. None when `band` is not a band.
QList<BRBandText> BandTexts(QObject* band);

} // namespace brp
