#include "Clock.h"

namespace {
QDate g_fixed;
}

QDate Clock::Today()
{
    return g_fixed.isValid() ? g_fixed : QDate::currentDate();
}

void Clock::SetFixedToday(const QDate& day)
{
    g_fixed = day;
}

void Clock::Reset()
{
    g_fixed = QDate();
}
