#pragma once
// The text of every stored page, kept for searching: each text run's search
// key (SearchFold) and its box in the page's reference pixels. Pages are
// added in order as they are stored; a search walks all keys in one pass.
//
// Kept compact, beside the pages and whatever holds them: the keys of the
// pages in blocks of a quarter megabyte (never reallocated as they grow, and a
// page's keys never split), each run's key ended by a unit separator (which
// no key contains), and a box of four 16-bit numbers per run.

#include <QByteArray>
#include <QRect>
#include <QStringView>
#include <cstdint>
#include <deque>
#include <vector>

class PageTextIndex {
public:
    // A run that contains the text searched for.
    struct Hit {
        qint32 Page = 0; // from 1
        qint32 Run = 0;  // index of the run on its page, in drawing order
        friend bool operator==(const Hit&, const Hit&) = default;
    };

    void Clear();
    // Adds the runs of the metafile as page Pages() + 1; a metafile without
    // text (or not readable) adds an empty page.
    void AddPage(const QByteArray& emf);
    // Adds an empty page for one that could not be read, and counts it.
    void AddUnreadablePage();
    qint32 UnreadablePages() const { return m_unreadable; }

    qint32 Pages() const { return qint32(m_pageFirstRun.size()) - 1; }
    qint32 RunCount(qint32 page) const;
    // The run's box, empty outside the index.
    QRect RunRect(qint32 page, qint32 run) const;

    // Every run whose text contains query, ignoring case and accents, in page
    // and drawing order; one hit per run. An empty query finds nothing.
    std::vector<Hit> Search(QStringView query) const;

    // Bytes held, for measuring.
    qsizetype MemoryBytes() const;

private:
    struct Box {
        std::int16_t l, t, r, b;
    };

    struct Block {
        QByteArray keys;
        std::uint32_t firstRun = 0;
    };

    std::vector<Block> m_blocks;
    std::deque<Box> m_boxes;
    QByteArray m_pageKeys; // the page being added
    qint32 m_unreadable = 0;
    // First run of each page, and one past the last page's runs.
    std::vector<std::uint32_t> m_pageFirstRun{0};
};
