#pragma once
// A query of the SQL driver layer; opening it opens its connection first when
// that is closed.

#include "SqlDataSet.h"

#include <QPointer>

class TSQLConnection;

class TSQLQuery : public SqlDataSet {
    Q_OBJECT
public:
    explicit TSQLQuery(TComponent* owner = nullptr);

    TSQLConnection* SQLConnection() const;
    void SetSQLConnection(TSQLConnection* connection);

protected:
    FbConnection& AcquireConnection() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Held as a TComponent: the removal notice arrives from ~TComponent, when
    // the connection is no longer a TSQLConnection and may not be cast to one.
    QPointer<TComponent> m_connection;
};
