#pragma once
// Shared set-up for the expression tests: a pinned locale and clock, a fresh
// engine per test, and a way to print a value as KIND:text.

#include "BRExpr.h"
#include "FixedExpressionEngine.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QLocale>
#include <optional>
#include <ostream>

// Readable QString output in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace brp {

inline QDateTime fixedNow()
{
    return QDateTime(QDate(2026, 3, 15), QTime(14, 5, 9));
}

// "INTEGER:14", "FLOAT:1.5", "STRING:abc", "BOOLEAN:True", "ERROR:message".
inline QString describe(const TBREvValue& v)
{
    const QString text = v.ValueKind == evError ? v.TextValue : ValueToText(v);
    return ValueKindName(v.ValueKind) + u':' + text;
}

} // namespace brp

class ExprTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_engine.emplace(QStringLiteral("TestApp"), QLocale(QStringLiteral("en_US")), brp::fixedNow);
    }
    void TearDown() override { m_engine.reset(); }
    void UseLocale(const char* name) { brp::SetExpressionLocale(QLocale(QString::fromLatin1(name))); }

    QString eval(const QString& text, TBRDataSetList* dataSets = nullptr, TBREvEnvironment* scope = nullptr)
    {
        TBREvaluator e;
        e.UseDataSets(dataSets);
        e.SetScope(scope);
        e.Compile(text);
        return brp::describe(e.CurrentValue());
    }

private:
    std::optional<FixedExpressionEngine> m_engine;
};
