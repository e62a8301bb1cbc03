#include "TBRLabel.h"

TBRLabel::TBRLabel(TComponent* owner)
    : TBRCustomLabel(owner)
{
}

TBRLabel::~TBRLabel() = default;
