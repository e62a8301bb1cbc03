#pragma once
// Band types; the ordinal is the value stored in definitions.

#include <QString>

enum TBRBandType {
    rbTitle = 0,
    rbPageHeader = 1,
    rbDetail = 2,
    rbPageFooter = 3,
    rbSummary = 4,
    rbGroupHeader = 5,
    rbGroupFooter = 6,
    rbSubDetail = 7,
    rbColumnHeader = 8,
    rbOverlay = 9,
    rbChild = 10
};

constexpr int BRBandTypeCount = 11;

namespace brp {

// Caption painted on the band at design time ("Page Header").
QString BandTypeCaption(TBRBandType type);
// Base of the name a new band gets ("PageHeaderBand").
QString BandBaseName(TBRBandType type);
// Enumeration name as written in definitions ("rbPageHeader").
QString BandTypeName(TBRBandType type);
// True for the types laid out over the whole printable width.
bool IsPageWidthType(TBRBandType type);

} // namespace brp
