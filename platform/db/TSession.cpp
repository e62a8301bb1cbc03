#include "TSession.h"
#include "AliasConfig.h"
#include "DatabaseError.h"

#include <QList>
#include <QPointer>

namespace {
QList<QPointer<TSession>>& sessions()
{
    static QList<QPointer<TSession>> list;
    return list;
}
}

TSession::TSession(TComponent* owner) : TComponent(owner)
{
    sessions().append(this);
}

void TSession::GetAliasParams(const QString& alias, ParameterList& list) const
{
    const auto params = AliasConfig::AliasParams(alias);
    if (!params)
        throw DatabaseError(QStringLiteral("Alias not found: %1 (%2)").arg(alias, AliasConfig::FilePath()));
    list.Clear();
    for (int i = 0; i < params->Count(); ++i)
        if (params->Name(i).compare(QStringLiteral("DRIVER"), Qt::CaseInsensitive) != 0
            && params->Name(i).compare(QStringLiteral("TYPE"), Qt::CaseInsensitive) != 0)
            list.Add(params->Lines().at(i));
}

TSession* TSession::Default()
{
    static TSession* session = [] {
        auto* s = new TSession(nullptr);
        s->SetSessionName(QStringLiteral("Default"));
        return s;
    }();
    return session;
}

TSession* TSession::FindSession(const QString& name)
{
    if (name.isEmpty() || name.compare(QStringLiteral("Default"), Qt::CaseInsensitive) == 0)
        return Default();
    for (const auto& s : sessions())
        if (s && s->SessionName().compare(name, Qt::CaseInsensitive) == 0)
            return s;
    return nullptr;
}
