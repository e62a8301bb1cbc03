#pragma once
// A query on an alias database, found by its database name (without regard
// to case); opening the query opens that database if it is closed.

#include "SqlDataSet.h"

class TQuery : public SqlDataSet {
    Q_OBJECT
    Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE SetDatabaseName)
    Q_PROPERTY(bool CachedUpdates READ CachedUpdates WRITE SetCachedUpdates)
public:
    explicit TQuery(TComponent* owner = nullptr);

    QString DatabaseName() const { return m_databaseName; }
    void SetDatabaseName(const QString& v) { m_databaseName = v; }
    // Edits would be held until applied; nothing here edits rows.
    bool CachedUpdates() const { return m_cachedUpdates; }
    void SetCachedUpdates(bool v) { m_cachedUpdates = v; }

protected:
    FbConnection& AcquireConnection() override;

private:
    QString m_databaseName;
    bool m_cachedUpdates = false;
};
