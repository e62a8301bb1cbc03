// brptool pdf FILE.BRP OUT.pdf: every page through the PDF export filter;
// text stays text. Each PDF page takes its picture's paper size.
#include "BrpCommand.h"
#include "BrpOutput.h"
#include "BrpPageSource.h"
#include "TBRPDFExportFilter.h"

#include <QFileInfo>
#include <cstdio>

namespace {

int runPdf(const QStringList& args)
{
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: brptool pdf FILE.BRP OUT.pdf|-\n");
        return 2;
    }
    const QString in = args[0], out = args[1];
    if (const int refused = brptool::checkOutput("brptool pdf", out, {in}))
        return refused;
    try {
        TBRPageList list;
        list.OpenFile(in);
        if (list.Count() < 1) {
            std::fprintf(stderr, "brptool: \"%s\" holds no pages\n", qPrintable(in));
            return 1;
        }
        brptool::OutputPath path(out, QStringLiteral("pdf"));
        TBRPDFExportFilter filter(path.Path());
        filter.SetTitle(QFileInfo(in).completeBaseName());
        filter.ExportPages(list, nullptr);
        QString error;
        if (!path.Finish(&error)) {
            std::fprintf(stderr, "brptool: %s\n", qPrintable(error));
            return 1;
        }
        for (const QString& note : filter.Notes())
            std::fprintf(stderr, "brptool: %s\n", qPrintable(note));
        brptool::reportWritten(out, QStringLiteral("%1 pages").arg(list.Count()));
        return filter.Notes().isEmpty() ? 0 : 1;
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "brptool: %s\n", qPrintable(e.Message()));
        return 1;
    }
}

BrpCommandRegistrar reg("pdf", "pdf FILE.BRP OUT.pdf|-             every page into a PDF (text kept as text)", runPdf);

} // namespace
