// brptool extract FILE.BRP N OUT.emf: writes page N as an enhanced metafile.
#include "BrpCommand.h"
#include "BrpOutput.h"
#include "BRPrntr.h"

#include <cstdio>

namespace {

int runExtract(const QStringList& args)
{
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: brptool extract FILE.BRP N OUT.emf|-\n");
        return 2;
    }
    bool ok = false;
    const int n = args[1].toInt(&ok);
    if (!ok) {
        std::fprintf(stderr, "brptool: page number expected, got \"%s\"\n", qPrintable(args[1]));
        return 2;
    }
    if (const int refused = brptool::checkOutput("brptool extract", args[2], {args[0]}))
        return refused;
    try {
        TBRPageList list;
        list.OpenFile(args[0]);
        if (n < 1 || n > list.Count()) {
            std::fprintf(stderr, "brptool: \"%s\" has no page %d (it has %d)\n", qPrintable(args[0]), n, list.Count());
            return 1;
        }
        const QByteArray page = list.FetchPage(n).value();
        QString error;
        if (!brptool::writeOutput(args[2], page, &error)) {
            std::fprintf(stderr, "brptool: %s\n", qPrintable(error));
            return 1;
        }
        brptool::reportWritten(args[2], QStringLiteral("page %1, %2 bytes").arg(n).arg(page.size()));
        return 0;
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "brptool: %s\n", qPrintable(e.Message()));
        return 1;
    }
}

BrpCommandRegistrar reg("extract", "extract FILE.BRP N OUT.emf|-       write page N as an EMF file", runExtract);

} // namespace
