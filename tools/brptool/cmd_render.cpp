// brptool render IN OUT.png [--page N] [--zoom Z]: paints one page of a saved
// report, or a plain EMF file, into an image through the EMF player.
#include "BrpCommand.h"
#include "BrpOutput.h"
#include "BrpPageSource.h"
#include "RecordedPagePainter.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Larger images are drawn smaller: a hostile frame, or a large zoom, must not
// ask for gigabytes.
constexpr double MaxSide = 20000;       // pixels
constexpr double MaxArea = 64'000'000;  // pixels

const char* const kUsage = "usage: brptool render IN OUT.png|- [--page N (from 1)] [--zoom Z (above 0, up to 16; 1 is 100 %)]";

int runRender(const QStringList& argsIn)
{
    QStringList args = argsIn;
    int page = 1;
    double zoom = 1.0;
    for (int i = 0; i < args.size();) {
        if ((args[i] == QLatin1String("--page") || args[i] == QLatin1String("--zoom")) && i + 1 < args.size()) {
            bool ok = false;
            if (args[i] == QLatin1String("--page"))
                page = args[i + 1].toInt(&ok);
            else
                zoom = args[i + 1].toDouble(&ok);
            if (!ok || page < 1 || !(zoom > 0 && zoom <= 16)) {
                std::fprintf(stderr, "brptool render: bad value \"%s\" for %s\n%s\n", qPrintable(args[i + 1]),
                             qPrintable(args[i]), kUsage);
                return 2;
            }
            args.remove(i, 2);
        } else {
            ++i;
        }
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 2;
    }
    const QString in = args[0], out = args[1];
    if (const int refused = brptool::checkOutput("brptool render", out, {in}))
        return refused;
    QByteArray emf;
    try {
        if (brptool::looksLikeEmf(in)) {
            if (page != 1) {
                std::fprintf(stderr, "brptool: \"%s\" is a single picture; it has no page %d\n", qPrintable(in), page);
                return 1;
            }
            QFile f(in);
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "brptool: cannot open \"%s\": %s\n", qPrintable(in), qPrintable(f.errorString()));
                return 1;
            }
            // The player refuses larger pictures: do not read them into memory.
            if (f.size() > EmfPlayer::MaxBytes) {
                std::fprintf(stderr, "brptool: \"%s\" is larger than %lld bytes, too large for a picture\n",
                             qPrintable(in), EmfPlayer::MaxBytes);
                return 1;
            }
            emf = f.readAll();
        } else {
            TBRPageList list;
            list.OpenFile(in);
            if (page > list.Count()) {
                std::fprintf(stderr, "brptool: \"%s\" has no page %d (it has %d)\n", qPrintable(in), page, list.Count());
                return 1;
            }
            emf = list.FetchPage(page).value();
        }
    } catch (const PlatformError& e) {
        std::fprintf(stderr, "brptool: %s\n", qPrintable(e.Message()));
        return 1;
    }

    QSizeF pixels, millimetres;
    QString error;
    if (!brptool::pageSize(emf, &pixels, &millimetres, &error)) {
        std::fprintf(stderr, "brptool: \"%s\" is not a usable picture: %s\n", qPrintable(in), qPrintable(error));
        return 1;
    }
    double w = std::ceil(pixels.width() * zoom), h = std::ceil(pixels.height() * zoom);
    const double fit = std::min({1.0, MaxSide / w, MaxSide / h, std::sqrt(MaxArea / (w * h))});
    if (fit < 1) {
        const double fw = std::max(1.0, std::floor(w * fit)), fh = std::max(1.0, std::floor(h * fit));
        std::fprintf(stderr, "brptool: a %.0f x %.0f image is too large; drawn at %.0f x %.0f instead (zoom %.3g)\n",
                     w, h, fw, fh, zoom * fit);
        w = fw;
        h = fh;
    }
    QImage image(int(w), int(h), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    PagePaintResult result;
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        result = brp::PaintRecordedPage(emf, painter, QRectF(0, 0, w, h));
    }
    if (result.outcome == PagePaintResult::Outcome::Refused) {
        std::fprintf(stderr, "brptool: cannot play \"%s\": %s\n", qPrintable(in), qPrintable(result.problem));
        return 1;
    }
    QString writeError;
    if (!brptool::writePng(out, image, &writeError)) {
        std::fprintf(stderr, "brptool: %s\n", qPrintable(writeError));
        return 1;
    }
    if (result.Partial()) {
        std::fprintf(stderr, "brptool: the picture is drawn in part; %s holds what could be drawn: %s\n",
                     qPrintable(out), qPrintable(result.problem));
        return 1;
    }
    brptool::reportWritten(out, QStringLiteral("%1 x %2 pixels, %3 records played (%4 not painted)")
                                    .arg(int(w)).arg(int(h)).arg(result.recordsPlayed).arg(result.recordsSkipped));
    return 0;
}

BrpCommandRegistrar reg("render", "render IN OUT.png|- [--page N] [--zoom Z (above 0, up to 16)]  paint a page (saved report or .emf)",
                        runRender);

} // namespace
