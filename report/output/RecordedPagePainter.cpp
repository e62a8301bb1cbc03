#include "RecordedPagePainter.h"
#include "EmfPlayer.h"
#include "TBRPrinter.h"
#include "TMetafile.h"

#include <QPainter>

QString PagePaintResult::PartialNote(int page) const
{
    return QStringLiteral("Page %1 is damaged and drawn in part: %2").arg(page).arg(problem);
}

namespace brp {

PagePaintResult PaintRecordedPage(const QByteArray& picture, QPainter& painter, const QRectF& rect)
{
    const EmfPlayResult played = EmfPlayer::Play(picture, &painter, rect);
    PagePaintResult result;
    switch (played.status) {
    case EmfPlayResult::Status::Complete:
        result.outcome = PagePaintResult::Outcome::Complete;
        break;
    case EmfPlayResult::Status::Partial:
        result.outcome = PagePaintResult::Outcome::Partial;
        break;
    case EmfPlayResult::Status::Refused:
        result.outcome = PagePaintResult::Outcome::Refused;
        break;
    }
    result.problem = played.error;
    result.recordsPlayed = played.recordsPlayed;
    result.recordsSkipped = played.recordsSkipped;
    return result;
}

PagePaintResult PaintRecordedPage(TBRPrinter& target, int n, QPainter& painter, const QRectF& rect)
{
    const std::unique_ptr<TMetafile> page = target.FetchPage(n);
    if (!page)
        return {};
    return PaintRecordedPage(page->Data(), painter, rect);
}

} // namespace brp
