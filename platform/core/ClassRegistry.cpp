#include "ClassRegistry.h"

#include <QHash>
#include <mutex>

namespace {

struct Registry {
    std::mutex lock;
    QHash<QString, ClassFactory> classes;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

namespace brp {

void RegisterClass(const QString& className, ClassFactory factory)
{
    auto& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    r.classes.insert(className.toLower(), std::move(factory));
}

ClassFactory FindClass(const QString& className)
{
    auto& r = registry();
    std::lock_guard<std::mutex> guard(r.lock);
    return r.classes.value(className.toLower());
}

} // namespace brp
