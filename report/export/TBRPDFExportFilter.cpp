#include "TBRPDFExportFilter.h"
#include "BRExportFile.h"
#include "BlankFillPruner.h"
#include "EBRError.h"
#include "EmfPlayer.h"
#include "RecordedPagePainter.h"
#include "PdfSubsetTagger.h"
#include "TBRPageList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {
struct PdfPage {
    QPageLayout layout;
    QSizeF pixels;        // the picture's frame, in its reference pixels
    double pixelsPerInch; // of the picture's reference device
};

// The page from the picture's header: its frame (0.01 mm) gives the paper;
// a size within a millimetre of a standard paper is that paper (the frame is
// whole pixels), turned when the page is wider than tall.
PdfPage pageOf(const QByteArray& emf, int page)
{
    EmfHeaderInfo info;
    QString error;
    if (!EmfPlayer::ReadHeader(emf, &info, &error))
        throw EBRError(QStringLiteral("Page %1 is not a usable picture: %2").arg(page).arg(error));
    PdfPage p;
    const QSizeF mm((info.FrameRight - info.FrameLeft + 1) / 100.0, (info.FrameBottom - info.FrameTop + 1) / 100.0);
    if (!(mm.width() > 0 && mm.height() > 0 && mm.width() < 10000 && mm.height() < 10000))
        throw EBRError(QStringLiteral("Page %1 is not a usable picture: its frame is empty or too large").arg(page));
    // Whole pixels as the player takes them (the frame's 0.01 mm steps
    // cannot say "exactly 794").
    auto snap = [](double v) { return std::abs(v - std::round(v)) < 0.05 ? std::round(v) : v; };
    p.pixels = QSizeF(snap(info.FrameWidthPixels()), snap(info.FrameHeightPixels()));
    p.pixelsPerInch = p.pixels.width() / mm.width() * 25.4;
    if (!(p.pixelsPerInch > 1 && p.pixels.height() > 0))
        throw EBRError(QStringLiteral("Page %1 is not a usable picture: its reference device has no size").arg(page));
    const bool landscape = mm.width() > mm.height();
    const QSizeF portrait = landscape ? mm.transposed() : mm;
    const QMarginsF none(0, 0, 0, 0);
    const QPageSize::PageSizeId id = QPageSize::id(portrait, QPageSize::Millimeter, QPageSize::FuzzyMatch);
    const QSizeF standard = QPageSize::size(id, QPageSize::Millimeter);
    if (id != QPageSize::Custom && std::abs(standard.width() - portrait.width()) <= 1 &&
        std::abs(standard.height() - portrait.height()) <= 1)
        p.layout = QPageLayout(QPageSize(id), landscape ? QPageLayout::Landscape : QPageLayout::Portrait, none);
    else
        p.layout = QPageLayout(QPageSize(mm, QPageSize::Millimeter), QPageLayout::Portrait, none);
    return p;
}
} // namespace

TBRPDFExportFilter::TBRPDFExportFilter(const QString& fileName) : TBRExportFilter(fileName) {}

void TBRPDFExportFilter::ExportPages(TBRPageList& pages, const TBRExportProgress& progress)
{
    m_notes.clear();
    const int total = pages.Count();
    if (total < 1)
        throw EBRError(QStringLiteral("The report has no pages to export"));
    BRExportFile file(FileName());
    file.Open();
    PdfSubsetTagger tagger(file.Device());
    QPdfWriter writer(&tagger);
    writer.setCreator(QCoreApplication::applicationName());
    writer.setTitle(m_title.isEmpty() ? QFileInfo(FileName()).completeBaseName() : m_title);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    std::unique_ptr<QPainter> painter;
    for (int n = 1; n <= total; ++n) {
        std::optional<QByteArray> emf = pages.FetchPage(n);
        if (!emf)
            throw EBRError(QStringLiteral("Page %1 cannot be read").arg(n));
        emf = brp::PruneBlankFills(*emf);
        const PdfPage page = pageOf(*emf, n);
        writer.setPageLayout(page.layout);
        if (!painter) {
            // Painting at the pictures' own resolution keeps their whole-pixel
            // coordinates whole in the PDF: shorter numbers, a smaller file.
            writer.setResolution(qRound(std::clamp(page.pixelsPerInch, 72.0, 1200.0)));
            painter = std::make_unique<QPainter>(&writer);
        } else {
            writer.newPage();
        }
        // Pixels of the picture to pixels of the writer; exactly 1 when they
        // agree, so that nothing is scaled by 1.000004.
        double scale = writer.resolution() / page.pixelsPerInch;
        if (std::abs(scale - 1) < 0.001)
            scale = 1;
        const QRectF target(QPointF(0, 0), page.pixels * scale);
        const PagePaintResult result = brp::PaintRecordedPage(*emf, *painter, target);
        if (result.outcome == PagePaintResult::Outcome::Refused)
            throw EBRError(QStringLiteral("Page %1 cannot be played: %2").arg(n).arg(result.problem));
        if (result.Partial())
            m_notes << result.PartialNote(n);
        if (progress && !progress(n, total))
            return; // the file goes with `file`
    }
    // The fonts are written when painting ends: their names get their tags.
    tagger.HoldTail();
    painter->end();
    if (!tagger.Finish())
        throw EBRError(QStringLiteral("Cannot write \"%1\": %2")
                           .arg(QDir::toNativeSeparators(FileName()), tagger.errorString()));
    file.Commit();
    SetWritten();
}
