#pragma once
// Makes the database components (TSQLConnection, TDatabase, TSQLQuery,
// TQuery) known to window definitions. Safe to call more than once.

namespace brp {

void RegisterDatabaseClasses();

} // namespace brp
