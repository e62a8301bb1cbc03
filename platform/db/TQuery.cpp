#include "TQuery.h"
#include "DatabaseError.h"
#include "TDatabase.h"

TQuery::TQuery(TComponent* owner) : SqlDataSet(owner) {}

FbConnection& TQuery::AcquireConnection()
{
    TDatabase* db = TDatabase::FindDatabase(m_databaseName);
    if (!db)
        throw DatabaseError(QStringLiteral("%1: database %2 not found").arg(Name(), m_databaseName));
    return db->Connection();
}
