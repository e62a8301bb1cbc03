#pragma once
// The alias database: opens the database an engine alias names. The alias
// supplies the driver and default parameters; a parameter written on the
// component (SetParam) replaces the alias's value, even when written empty.

#include "FbConnection.h"
#include "ParameterList.h"
#include "TComponent.h"

#include <QSet>
#include <memory>

class TDatabase : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString AliasName READ AliasName WRITE SetAliasName)
    Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE SetDatabaseName)
    Q_PROPERTY(QString SessionName READ SessionName WRITE SetSessionName)
    Q_PROPERTY(bool LoginPrompt READ LoginPrompt WRITE SetLoginPrompt)
    Q_PROPERTY(bool Connected READ Connected WRITE SetConnected)
    // "Params.Strings" in a definition.
    Q_PROPERTY(QStringList Params READ ParamLines WRITE SetParamLines)
public:
    explicit TDatabase(TComponent* owner = nullptr);
    ~TDatabase() override;

    QString AliasName() const { return m_alias; }
    void SetAliasName(const QString& v) { m_alias = v; }
    QString DatabaseName() const { return m_databaseName; }
    void SetDatabaseName(const QString& v) { m_databaseName = v; }
    QString SessionName() const { return m_sessionName; }
    void SetSessionName(const QString& v) { m_sessionName = v; }
    bool LoginPrompt() const { return m_loginPrompt; }
    void SetLoginPrompt(bool v) { m_loginPrompt = v; }

    // The component's own parameter lines ("USER NAME", "PASSWORD", ...).
    ParameterList& Params() { return m_params; }
    const ParameterList& Params() const { return m_params; }
    QStringList ParamLines() const { return m_params.Lines(); }
    void SetParamLines(const QStringList& lines) { m_params.SetLines(lines); }
    void SetParam(const QString& name, const QString& value);

    bool Connected() const { return m_connection != nullptr; }
    void SetConnected(bool v) { v ? Open() : Close(); }
    void Open();
    void Close();

    // The location the last Open used, after the engine's path map.
    QString OpenedLocation() const { return m_openedLocation; }

    FbConnection& Connection();

    // The open or closed alias database with this database name (matched
    // without regard to case); null when none exists.
    static TDatabase* FindDatabase(const QString& databaseName);

private:
    QString EffectiveParam(const QString& name, const ParameterList& alias) const;

    QString m_alias;
    QString m_databaseName;
    QString m_sessionName = QStringLiteral("Default");
    bool m_loginPrompt = false;
    ParameterList m_params;
    QSet<QString> m_written;   // upper-case names written through SetParam
    std::unique_ptr<FbConnection> m_connection;
    QString m_openedLocation;
};
