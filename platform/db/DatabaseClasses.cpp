#include "DatabaseClasses.h"

#include "ClassRegistry.h"
#include "TDatabase.h"
#include "TQuery.h"
#include "TSQLConnection.h"
#include "TSQLQuery.h"

#include <mutex>

namespace {

template <class T>
void Register(const char* className)
{
    brp::RegisterClass(QString::fromLatin1(className),
                  [](QObject* parent) -> QObject* { return new T(qobject_cast<TComponent*>(parent)); });
}

} // namespace

namespace brp {

void RegisterDatabaseClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Register<TSQLConnection>("TSQLConnection");
        Register<TDatabase>("TDatabase");
        Register<TSQLQuery>("TSQLQuery");
        Register<TQuery>("TQuery");
    });
}

} // namespace brp
