#include "Clock.h"

namespace {
QDate g_fixed;
}

QDate Clock::today()
{
    return g_fixed.isValid() ? g_fixed : QDate::currentDate();
}

void Clock::setFixedToday(const QDate& day)
{
    g_fixed = day;
}

void Clock::reset()
{
    g_fixed = QDate();
}
