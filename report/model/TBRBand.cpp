#include "TBRBand.h"
#include "BRDefinitionWriter.h"

TBRBand::TBRBand(TComponent* owner) : TBRCustomBand(owner) {}

TBRBand::~TBRBand()
{
    BeginDestroy();
}

void TBRBand::SetBandTypeValue(int v)
{
    if (v >= 0 && v < BRBandTypeCount)
        SetBandType(static_cast<TBRBandType>(v));
}

void TBRBand::WriteProperties(BRDefinitionWriter& w) const
{
    TBRCustomBand::WriteProperties(w);
    w.WriteIdent(QStringLiteral("BandType"), brp::BandTypeName(m_bandType));
}
