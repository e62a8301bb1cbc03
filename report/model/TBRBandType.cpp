#include "TBRBandType.h"

namespace {
struct BandTypeText {
    const char* caption;
    const char* baseName;
    const char* name;
};

constexpr BandTypeText kTexts[BRBandTypeCount] = {
    {"Title", "TitleBand", "rbTitle"},
    {"Page Header", "PageHeaderBand", "rbPageHeader"},
    {"Detail", "DetailBand", "rbDetail"},
    {"Page Footer", "PageFooterBand", "rbPageFooter"},
    {"Summary", "SummaryBand", "rbSummary"},
    {"Group Header", "GroupHeaderBand", "rbGroupHeader"},
    {"Group Footer", "GroupFooterBand", "rbGroupFooter"},
    {"Sub Detail", "SubDetailBand", "rbSubDetail"},
    {"Column Header", "ColumnHeaderBand", "rbColumnHeader"},
    {"Overlay", "OverlayBand", "rbOverlay"},
    {"Child", "ChildBand", "rbChild"},
};

const BandTypeText& textOf(TBRBandType type)
{
    const int i = static_cast<int>(type);
    return kTexts[(i >= 0 && i < BRBandTypeCount) ? i : rbDetail];
}
} // namespace

namespace brp {

QString BandTypeCaption(TBRBandType type) { return QString::fromLatin1(textOf(type).caption); }
QString BandBaseName(TBRBandType type) { return QString::fromLatin1(textOf(type).baseName); }
QString BandTypeName(TBRBandType type) { return QString::fromLatin1(textOf(type).name); }

bool IsPageWidthType(TBRBandType type)
{
    return type == rbTitle || type == rbPageHeader || type == rbPageFooter || type == rbSummary || type == rbOverlay;
}

} // namespace brp
