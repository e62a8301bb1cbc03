#include "ProgramLocale.h"

namespace brp {

QLocale ProgramLocale(const QLocale& system)
{
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Portuguese, QLocale::Brazil);
    return system;
}

void SetUpProgramLocale(const QLocale& system)
{
    QLocale::setDefault(ProgramLocale(system));
}

} // namespace brp
