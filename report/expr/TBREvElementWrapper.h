#pragma once
// What a compiled expression holds for a name of an environment. The target
// belongs to the environment; once the name is undefined or the environment is
// gone, the wrapper reads as an unknown name instead of touching freed memory.

#include "TBREvElement.h"

#include <memory>

class TBREvEmbeddedFunction;

class TBREvElementWrapper : public TBREvElement {
public:
    TBREvElementWrapper(std::weak_ptr<TBREvEmbeddedFunction> target, const QString& name)
        : Target(std::move(target)), m_name(name) {}
    void Compute(TBRFiFo& list, TBREvValue& value) override;

    std::weak_ptr<TBREvEmbeddedFunction> Target;

private:
    QString m_name;
};
