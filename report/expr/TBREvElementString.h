#pragma once
// A string literal; the environment may store another text into it.

#include "TBREvElement.h"

class TBREvElementString : public TBREvElement {
public:
    explicit TBREvElementString(const QString& text) : Text(text.left(BRMaxTextLength)) {}
    void Compute(TBRFiFo&, TBREvValue& value) override { value.SetString(Text); }
    QString Text;
};
