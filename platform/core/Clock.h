#pragma once
// The program's source of "today". Tests pin it to a fixed day so that date
// completion does not depend on when they run.

#include <QDate>

class Clock {
public:
    static QDate Today();
    static void SetFixedToday(const QDate& day);
    static void Reset();
};
