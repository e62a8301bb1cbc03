#pragma once
// Finding text in the pages of an output target: the runs that contain the
// text, and which of them is current. Moving past the last hit wraps to the
// first, and before the first to the last. While a report is still being
// generated the hits are brought up to date with the pages stored since the
// last move, keeping the current hit.

#include "PageTextIndex.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <vector>

class TBRPrinter;

class TBRPreviewSearch {
public:
    using Hit = PageTextIndex::Hit;

    void SetBRPrinter(TBRPrinter* printer);
    // Forgets the query and its hits (new pages, or the bar closed).
    void Reset();

    // Searches for text; the current hit becomes the first on or after
    // fromPage (wrapping to the first). False when nothing is found.
    bool SetQuery(const QString& text, int fromPage);
    const QString& Query() const { return m_query; }

    // True when the next search first reads pages (a file loaded since).
    bool Slow() const;

    // Move to the next or previous hit; false when there is none.
    bool Next();
    bool Previous();

    bool HasCurrent() const { return m_current >= 0; }
    Hit Current() const;
    // The current hit's run in the page's reference pixels; empty without one.
    QRect CurrentRect() const;
    // 1-based place of the current hit, and the number of hits.
    int Position() const { return m_current + 1; }
    int Count() const { return int(m_hits.size()); }
    // "hit 3 of 17", "not found", or empty without a query; with the number
    // of pages whose text could not be read, if any.
    QString StatusText() const;

private:
    PageTextIndex* Index() const;
    void Refresh();

    QPointer<TBRPrinter> m_printer;
    QString m_query;
    std::vector<Hit> m_hits;
    int m_current = -1;
    // Pages the hits were found in.
    int m_searchedPages = 0;
    int m_unreadablePages = 0;
};
