#include "TSQLQuery.h"
#include "DatabaseError.h"
#include "TSQLConnection.h"

TSQLQuery::TSQLQuery(TComponent* owner) : SqlDataSet(owner) {}

TSQLConnection* TSQLQuery::SQLConnection() const
{
    return static_cast<TSQLConnection*>(m_connection.data());
}

void TSQLQuery::SetSQLConnection(TSQLConnection* connection)
{
    if (m_connection == connection)
        return;
    Close();
    if (m_connection)
        RemoveFreeNotification(m_connection);
    m_connection = connection;
    if (connection)
        FreeNotification(connection);
}

void TSQLQuery::Notification(TComponent* component, TOperation operation)
{
    SqlDataSet::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_connection.data()) {
        m_connection = nullptr;
    }
}

FbConnection& TSQLQuery::AcquireConnection()
{
    if (!m_connection)
        throw DatabaseError(QStringLiteral("%1: SQLConnection property not set").arg(Name()));
    return SQLConnection()->Connection();
}
