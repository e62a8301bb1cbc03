#pragma once
// A compile error standing in place of the factor that failed.

#include "TBREvElement.h"

class TBREvElementError : public TBREvElement {
public:
    explicit TBREvElementError(const QString& message) : Message(message.left(BRMaxTextLength)) {}
    void Compute(TBRFiFo&, TBREvValue& value) override { value.SetError(Message); }
    QString Message;
};
