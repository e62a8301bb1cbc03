#include "BrpCommand.h"
#include <cstdio>

static int runVersion(const QStringList&)
{
    std::printf("brptool 0.1\n");
    return 0;
}

static BrpCommandRegistrar reg("version", "version              print the tool's version", runVersion);
