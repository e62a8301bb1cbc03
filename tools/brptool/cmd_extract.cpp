// brptool extract FILE.BRP N OUT.emf: writes page N as an enhanced metafile.
#include "BrpCommand.h"
#include "BRPrntr.h"

#include <QSaveFile>
#include <cstdio>

namespace {

int runExtract(const QStringList& args)
{
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: brptool extract FILE.BRP N OUT.emf\n");
        return 2;
    }
    bool ok = false;
    const int n = args[1].toInt(&ok);
    if (!ok) {
        std::fprintf(stderr, "brptool: page number expected, got \"%s\"\n", qPrintable(args[1]));
        return 2;
    }
    try {
        TBRPageList list;
        list.OpenFile(args[0]);
        if (n < 1 || n > list.Count()) {
            std::fprintf(stderr, "brptool: \"%s\" has no page %d (it has %d)\n", qPrintable(args[0]), n, list.Count());
            return 1;
        }
        const QByteArray page = list.FetchPage(n).value();
        QSaveFile out(args[2]);
        if (!out.open(QIODevice::WriteOnly) || out.write(page) != page.size() || !out.commit()) {
            std::fprintf(stderr, "brptool: cannot write \"%s\": %s\n", qPrintable(args[2]), qPrintable(out.errorString()));
            return 1;
        }
        std::printf("page %d: %lld bytes written to %s\n", n, qlonglong(page.size()), qPrintable(args[2]));
        return 0;
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "brptool: %s\n", qPrintable(e.Message()));
        return 1;
    }
}

BrpCommandRegistrar reg("extract", "extract FILE.BRP N OUT.emf         write page N as an EMF file", runExtract);

} // namespace
