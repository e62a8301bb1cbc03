#include "TBRPreviewSearch.h"

#include "TBRPageList.h"
#include "TBRPrinter.h"

#include <algorithm>

namespace {
bool before(const PageTextIndex::Hit& a, const PageTextIndex::Hit& b)
{
    return a.Page < b.Page || (a.Page == b.Page && a.Run < b.Run);
}
} // namespace

void TBRPreviewSearch::SetBRPrinter(TBRPrinter* printer)
{
    m_printer = printer;
    Reset();
}

void TBRPreviewSearch::Reset()
{
    m_query.clear();
    m_hits.clear();
    m_current = -1;
    m_searchedPages = 0;
    m_unreadablePages = 0;
}

PageTextIndex* TBRPreviewSearch::Index() const
{
    if (!m_printer || m_printer->State() == jsIdle)
        return nullptr;
    return &m_printer->PageList().TextIndex();
}

bool TBRPreviewSearch::Slow() const
{
    // A few pages are read in no time.
    return m_printer && m_printer->State() != jsIdle && m_printer->PageList().PagesToIndex() > 50;
}

bool TBRPreviewSearch::SetQuery(const QString& text, int fromPage)
{
    m_query = text;
    m_hits.clear();
    m_current = -1;
    m_searchedPages = 0;
    m_unreadablePages = 0;
    if (PageTextIndex* i = Index()) {
        m_hits = i->Search(m_query);
        m_searchedPages = i->Pages();
        m_unreadablePages = i->UnreadablePages();
    }
    if (m_hits.empty())
        return false;
    const auto at = std::lower_bound(m_hits.begin(), m_hits.end(), Hit{fromPage, 0}, before);
    m_current = at == m_hits.end() ? 0 : int(at - m_hits.begin());
    return true;
}

void TBRPreviewSearch::Refresh()
{
    PageTextIndex* i = Index();
    if (!i || m_query.isEmpty() || i->Pages() == m_searchedPages)
        return;
    const bool had = HasCurrent();
    const Hit current = had ? Current() : Hit{};
    m_hits = i->Search(m_query);
    m_searchedPages = i->Pages();
    m_unreadablePages = i->UnreadablePages();
    m_current = -1;
    if (had) {
        const auto at = std::lower_bound(m_hits.begin(), m_hits.end(), current, before);
        if (at != m_hits.end() && *at == current)
            m_current = int(at - m_hits.begin());
    }
}

bool TBRPreviewSearch::Next()
{
    Refresh();
    if (m_hits.empty())
        return false;
    m_current = (m_current + 1) % Count();
    return true;
}

bool TBRPreviewSearch::Previous()
{
    Refresh();
    if (m_hits.empty())
        return false;
    m_current = m_current <= 0 ? Count() - 1 : m_current - 1;
    return true;
}

TBRPreviewSearch::Hit TBRPreviewSearch::Current() const
{
    return HasCurrent() ? m_hits[size_t(m_current)] : Hit{};
}

QRect TBRPreviewSearch::CurrentRect() const
{
    if (!HasCurrent() || !m_printer || m_printer->State() == jsIdle)
        return {};
    const Hit h = Current();
    return m_printer->PageList().TextIndex().RunRect(h.Page, h.Run);
}

QString TBRPreviewSearch::StatusText() const
{
    if (m_query.isEmpty())
        return {};
    QString text;
    if (m_hits.empty())
        text = QStringLiteral("not found");
    else if (!HasCurrent())
        text = QStringLiteral("%1 hits").arg(Count());
    else
        text = QStringLiteral("hit %1 of %2").arg(Position()).arg(Count());
    // Hits may be missing from pages that could not be read: say so.
    if (m_unreadablePages > 0)
        text += QStringLiteral(" (%1 of the pages could not be read)").arg(m_unreadablePages);
    return text;
}
