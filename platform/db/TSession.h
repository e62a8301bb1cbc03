#pragma once
// The database engine's session: reads alias settings from the engine's
// configuration. Alias databases name their session; "Default" always exists.

#include "ParameterList.h"
#include "TComponent.h"

class TSession : public TComponent {
    Q_OBJECT
public:
    explicit TSession(TComponent* owner = nullptr);

    QString SessionName() const { return m_sessionName; }
    void SetSessionName(const QString& name) { m_sessionName = name; }

    // Fills `list` with the alias's configured settings as name=value lines;
    // raises DatabaseError when the alias is unknown.
    void GetAliasParams(const QString& alias, ParameterList& list) const;

    // The session named "Default" (matched without regard to case); others are
    // found among the sessions created so far.
    static TSession* Default();
    static TSession* FindSession(const QString& name);

private:
    QString m_sessionName;
};
