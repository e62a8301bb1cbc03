#pragma once
// The one way a recorded page reaches a painter: the preview, its thumbnails,
// the PDF export and the command-line renderer all paint through here, so that
// a damaged page is told apart from a whole one in the same words everywhere.

#include <QRectF>
#include <QString>

class QByteArray;
class QPainter;
class TBRPrinter;

struct PagePaintResult {
    enum class Outcome {
        Complete,    // every record read
        Partial,     // damaged: what comes before the damage is drawn
        Refused,     // not a picture the player takes: nothing is drawn
        NotRecorded, // the target has no such page (yet)
    };
    Outcome outcome = Outcome::NotRecorded;
    QString problem; // the player's reason; empty when complete
    int recordsPlayed = 0;
    int recordsSkipped = 0;

    bool Complete() const { return outcome == Outcome::Complete; }
    bool Partial() const { return outcome == Outcome::Partial; }
    // "Page 3 is damaged and drawn in part: <reason>", the note every caller
    // shows or reports for a partial page.
    QString PartialNote(int page) const;
};

namespace brp {

// Plays a page's picture over `rect` (painter coordinates); the painter's
// state is as it was afterwards (the player keeps it).
PagePaintResult PaintRecordedPage(const QByteArray& picture, QPainter& painter, const QRectF& rect);
// The same for page n of an output target. A page that cannot be read from
// the page store throws, as fetching it does.
PagePaintResult PaintRecordedPage(TBRPrinter& target, int n, QPainter& painter, const QRectF& rect);

} // namespace brp
