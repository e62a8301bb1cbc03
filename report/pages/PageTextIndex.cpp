#include "PageTextIndex.h"

#include "EmfTextReader.h"
#include "SearchFold.h"

#include <QByteArrayMatcher>
#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr char kRunEnd = '\x1F';
constexpr qsizetype kBlockBytes = 256 * 1024;

std::int16_t clamp16(int v)
{
    return std::int16_t(std::clamp<int>(v, std::numeric_limits<std::int16_t>::min(),
                                        std::numeric_limits<std::int16_t>::max()));
}

} // namespace

void PageTextIndex::Clear()
{
    m_blocks = {};
    m_boxes = {};
    m_pageKeys = QByteArray();
    m_pageFirstRun = {0};
    m_unreadable = 0;
}

void PageTextIndex::AddUnreadablePage()
{
    m_pageFirstRun.push_back(m_pageFirstRun.back());
    ++m_unreadable;
}

void PageTextIndex::AddPage(const QByteArray& emf)
{
    const std::uint32_t firstRun = m_pageFirstRun.back();
    m_pageKeys.clear();
    EmfTextReader::ForEachText(emf, [this](const QRect& rect, QStringView text) {
        SearchFold::Append(text, m_pageKeys);
        m_pageKeys.append(kRunEnd);
        m_boxes.push_back({clamp16(rect.left()), clamp16(rect.top()), clamp16(rect.right()), clamp16(rect.bottom())});
    });
    if (!m_pageKeys.isEmpty()) {
        if (m_blocks.empty() || m_blocks.back().keys.size() + m_pageKeys.size() > m_blocks.back().keys.capacity()) {
            m_blocks.push_back({QByteArray(), firstRun});
            m_blocks.back().keys.reserve(std::max(kBlockBytes, m_pageKeys.size()));
        }
        m_blocks.back().keys.append(m_pageKeys);
    }
    m_pageFirstRun.push_back(std::uint32_t(m_boxes.size()));
}

qint32 PageTextIndex::RunCount(qint32 page) const
{
    if (page < 1 || page > Pages())
        return 0;
    return qint32(m_pageFirstRun[size_t(page)] - m_pageFirstRun[size_t(page) - 1]);
}

QRect PageTextIndex::RunRect(qint32 page, qint32 run) const
{
    if (run < 0 || run >= RunCount(page))
        return {};
    const Box& b = m_boxes[m_pageFirstRun[size_t(page) - 1] + size_t(run)];
    return QRect(QPoint(b.l, b.t), QPoint(b.r, b.b));
}

std::vector<PageTextIndex::Hit> PageTextIndex::Search(QStringView query) const
{
    std::vector<Hit> hits;
    const QByteArray key = SearchFold::Key(query);
    if (key.isEmpty())
        return hits;
    const QByteArrayMatcher matcher(key);
    size_t page = 1;
    for (const Block& block : m_blocks) {
        const char* keys = block.keys.constData();
        const qsizetype size = block.keys.size();
        // Walking forward: the run of the last position counted.
        qsizetype counted = 0;
        std::uint32_t run = block.firstRun;
        for (qsizetype at = matcher.indexIn(keys, size, 0); at >= 0;) {
            // The run holding the match: one more for every run end passed.
            run += std::uint32_t(std::count(keys + counted, keys + at, kRunEnd));
            while (page + 1 < m_pageFirstRun.size() && m_pageFirstRun[page] <= run)
                ++page;
            hits.push_back({qint32(page), qint32(run - m_pageFirstRun[page - 1])});
            // On to the next run: one hit per run.
            const void* end = std::memchr(keys + at, kRunEnd, size_t(size - at));
            if (!end)
                break;
            counted = static_cast<const char*>(end) - keys + 1;
            ++run;
            at = matcher.indexIn(keys, size, counted);
        }
    }
    return hits;
}

qsizetype PageTextIndex::MemoryBytes() const
{
    qsizetype bytes = m_pageKeys.capacity() + qsizetype(m_boxes.size() * sizeof(Box)) +
                      qsizetype(m_pageFirstRun.capacity() * sizeof(std::uint32_t));
    for (const Block& b : m_blocks)
        bytes += b.keys.capacity();
    return bytes;
}
