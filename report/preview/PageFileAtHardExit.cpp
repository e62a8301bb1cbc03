#include "PageFileAtHardExit.h"

#include "ProgramStop.h"
#include "TBRPrinter.h"
#include "TBRStream.h"

#include <QFile>
#include <QPointer>

#include <unistd.h>

void RemovePageFileAtHardExit(QObject* owner, TBRPrinter* target)
{
    if (!owner || !target)
        return;
    ProgramStop::AtHardExit(owner, [target = QPointer<TBRPrinter>(target)] {
        // Only a file the store made for itself; a loaded report's file is
        // the user's.
        const TBRStream* store = target ? target->Store() : nullptr;
        if (store && !store->TempFileName().isEmpty())
            ::unlink(QFile::encodeName(store->TempFileName()).constData());
    });
}
