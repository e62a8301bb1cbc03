#pragma once
// The expression engine started afresh under a fixed clock and locale while
// it lives, so dates and numbers print the same on every machine; stopped and
// given back the system's clock and locale after.

#include "ExpressionEngine.h"
#include "ExpressionLocale.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

class FixedExpressionEngine {
public:
    FixedExpressionEngine(const QString& application, const QLocale& locale, std::function<QDateTime()> clock)
    {
        brp::SetExpressionClock(std::move(clock));
        brp::SetExpressionLocale(locale);
        brp::StopExpressionEngine();
        brp::StartExpressionEngine(application);
    }
    // 15/03/2026 14:05:09 in Brazilian Portuguese, as the listing prints.
    explicit FixedExpressionEngine(const QString& application)
        : FixedExpressionEngine(application, QLocale(QLocale::Portuguese, QLocale::Brazil),
                                [] { return QDateTime(QDate(2026, 3, 15), QTime(14, 5, 9)); })
    {
    }
    ~FixedExpressionEngine()
    {
        brp::StopExpressionEngine();
        brp::SetExpressionLocale(std::nullopt);
        brp::SetExpressionClock(nullptr);
    }
    FixedExpressionEngine(const FixedExpressionEngine&) = delete;
    FixedExpressionEngine& operator=(const FixedExpressionEngine&) = delete;
};
