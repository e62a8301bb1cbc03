#pragma once
// The label placed on bands: a text printable with its caption published.

#include "TBRCustomLabel.h"

class TBRLabel : public TBRCustomLabel {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TBRLabel(TComponent* owner = nullptr);
    ~TBRLabel() override;
};
