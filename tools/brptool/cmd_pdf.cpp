// brptool pdf FILE.BRP OUT.pdf: every page through the EMF player onto a PDF
// writer; text stays text. Each PDF page takes its picture's frame size.
#include "BrpCommand.h"
#include "BrpPageSource.h"

#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cstdio>
#include <memory>

namespace {

int runPdf(const QStringList& args)
{
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: brptool pdf FILE.BRP OUT.pdf\n");
        return 2;
    }
    const QString in = args[0], out = args[1];
    try {
        TBRPageList list;
        list.OpenFile(in);
        if (list.Count() < 1) {
            std::fprintf(stderr, "brptool: \"%s\" holds no pages\n", qPrintable(in));
            return 1;
        }
        // Written beside OUT and renamed at the end: a failure leaves no half PDF.
        QSaveFile file(out);
        if (!file.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "brptool: cannot create \"%s\": %s\n", qPrintable(out), qPrintable(file.errorString()));
            return 1;
        }
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("brptool"));
        writer.setTitle(QFileInfo(in).completeBaseName());
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        std::unique_ptr<QPainter> painter;
        int partial = 0;
        for (qint32 n = 1; n <= list.Count(); ++n) {
            const QByteArray emf = list.FetchPage(n).value();
            QSizeF pixels, millimetres;
            QString error;
            if (!brptool::pageSize(emf, &pixels, &millimetres, &error)) {
                std::fprintf(stderr, "brptool: page %d of \"%s\" is not a usable picture: %s\n", n, qPrintable(in),
                             qPrintable(error));
                return 1;
            }
            writer.setPageSize(QPageSize(millimetres, QPageSize::Millimeter));
            if (!painter)
                painter = std::make_unique<QPainter>(&writer);
            else
                writer.newPage();
            const EmfPlayResult result =
                EmfPlayer::Play(emf, painter.get(), QRectF(0, 0, writer.width(), writer.height()));
            if (result.status == EmfPlayResult::Status::Refused) {
                std::fprintf(stderr, "brptool: cannot play page %d of \"%s\": %s\n", n, qPrintable(in),
                             qPrintable(result.error));
                return 1;
            }
            if (result.status == EmfPlayResult::Status::Partial) {
                std::fprintf(stderr, "brptool: page %d is damaged and drawn in part: %s\n", n, qPrintable(result.error));
                ++partial;
            }
        }
        painter->end();
        if (!file.commit()) {
            std::fprintf(stderr, "brptool: cannot write \"%s\": %s\n", qPrintable(out), qPrintable(file.errorString()));
            return 1;
        }
        std::printf("%s: %d pages\n", qPrintable(out), list.Count());
        return partial ? 1 : 0;
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "brptool: %s\n", qPrintable(e.Message()));
        return 1;
    }
}

BrpCommandRegistrar reg("pdf", "pdf FILE.BRP OUT.pdf               every page into a PDF (text kept as text)", runPdf);

} // namespace
