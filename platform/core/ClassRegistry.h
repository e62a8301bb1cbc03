#pragma once
// Classes that definitions may name, each with the function that creates an
// object of it under a parent (the owner, for components; the parent
// control, for controls).

#include <QObject>
#include <QString>
#include <functional>

using ClassFactory = std::function<QObject*(QObject* parent)>;

namespace brp {

void RegisterClass(const QString& className, ClassFactory factory);
// Empty function when the class was never registered.
ClassFactory FindClass(const QString& className);

} // namespace brp
