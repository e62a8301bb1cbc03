#include "TSQLConnection.h"
#include "AliasConfig.h"
#include "DatabaseError.h"

TSQLConnection::TSQLConnection(TComponent* owner) : TComponent(owner) {}

TSQLConnection::~TSQLConnection() = default;

void TSQLConnection::Open()
{
    if (m_connection)
        return;
    if (m_driverName.compare(QStringLiteral("Interbase"), Qt::CaseInsensitive) != 0)
        throw DatabaseError(QStringLiteral("Unknown driver: %1").arg(m_driverName));
    const QString location = m_params.Value(QStringLiteral("Database"));
    if (location.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("No database: the DataBase parameter is empty"));
    auto conn = std::make_unique<FbConnection>();
    conn->Attach(AliasConfig::ResolveLocation(location), m_params.Value(QStringLiteral("User_Name")),
                 m_params.Value(QStringLiteral("Password")));
    m_connection = std::move(conn);
}

void TSQLConnection::Close()
{
    if (!m_connection)
        return;
    auto conn = std::move(m_connection);
    conn->Detach();
}

FbConnection& TSQLConnection::Connection()
{
    if (!m_connection)
        Open();
    return *m_connection;
}
