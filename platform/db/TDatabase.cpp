#include "TDatabase.h"
#include "AliasConfig.h"
#include "DatabaseError.h"
#include "TSession.h"

#include <QList>
#include <QPointer>

namespace {
QList<QPointer<TDatabase>>& databases()
{
    static QList<QPointer<TDatabase>> list;
    return list;
}

bool isSupportedDriver(const QString& driver)
{
    static const QStringList known{QStringLiteral("INTRBASE"), QStringLiteral("INTERBASE"),
                                   QStringLiteral("FIREBIRD")};
    return driver.isEmpty() || known.contains(driver.trimmed().toUpper());
}
}

TDatabase::TDatabase(TComponent* owner) : TComponent(owner)
{
    databases().append(this);
}

TDatabase::~TDatabase()
{
    databases().removeAll(this);
}

void TDatabase::SetParam(const QString& name, const QString& value)
{
    m_params.SetValue(name, value);
    m_written.insert(name.toUpper());
}

QString TDatabase::EffectiveParam(const QString& name, const ParameterList& alias) const
{
    if (m_params.IndexOfName(name) >= 0 || m_written.contains(name.toUpper()))
        return m_params.Value(name);
    return alias.Value(name);
}

void TDatabase::Open()
{
    if (m_connection)
        return;
    if (!TSession::FindSession(m_sessionName))
        throw DatabaseError(QStringLiteral("Session %1 not found").arg(m_sessionName));
    const auto alias = AliasConfig::AliasParams(m_alias);
    if (!alias)
        throw DatabaseError(QStringLiteral("Alias not found: %1 (%2)").arg(m_alias, AliasConfig::FilePath()));
    const QString driver = alias->Value(QStringLiteral("DRIVER")).isEmpty() ? alias->Value(QStringLiteral("TYPE"))
                                                                             : alias->Value(QStringLiteral("DRIVER"));
    if (!isSupportedDriver(driver))
        throw DatabaseError(QStringLiteral("Driver not supported: %1").arg(driver));
    const QString location = EffectiveParam(QStringLiteral("SERVER NAME"), *alias);
    if (location.trimmed().isEmpty())
        throw DatabaseError(QStringLiteral("Alias %1: no database location (SERVER NAME is empty)").arg(m_alias));
    auto conn = std::make_unique<FbConnection>();
    const QString mapped = AliasConfig::ResolveLocation(location);
    conn->Attach(mapped, EffectiveParam(QStringLiteral("USER NAME"), *alias),
                 EffectiveParam(QStringLiteral("PASSWORD"), *alias));
    m_connection = std::move(conn);
    m_openedLocation = mapped;
}

void TDatabase::Close()
{
    if (!m_connection)
        return;
    auto conn = std::move(m_connection);
    conn->Detach();
}

FbConnection& TDatabase::Connection()
{
    if (!m_connection)
        Open();
    return *m_connection;
}

TDatabase* TDatabase::FindDatabase(const QString& databaseName)
{
    for (const auto& d : databases())
        if (d && d->DatabaseName().compare(databaseName, Qt::CaseInsensitive) == 0)
            return d;
    return nullptr;
}
