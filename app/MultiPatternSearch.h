#pragma once
// Finds every one of many fixed texts in a text in one pass (Aho-Corasick):
// the time is the text's length plus the matches, whatever the number of
// texts looked for.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

class MultiPatternSearch {
public:
    // Adds a text to look for and returns its number (0, 1, ...). Empty texts
    // are not allowed; the same text added twice gets two numbers.
    int Add(QStringView pattern);
    // Prepares the search; no Add after it.
    void Build();
    int PatternCount() const { return m_patternCount; }

    // Calls onMatch(number) for each place where a pattern ends in `text`
    // (a pattern found twice is reported twice).
    template <typename F>
    void Scan(QStringView text, F&& onMatch) const
    {
        std::int32_t state = 0;
        for (const QChar c : text) {
            state = Step(state, c.unicode());
            for (std::int32_t s = m_nodes[static_cast<size_t>(state)].hasOutput ? state
                                                                                : m_nodes[static_cast<size_t>(state)].outputLink;
                 s > 0; s = m_nodes[static_cast<size_t>(s)].outputLink) {
                for (std::int32_t o = m_nodes[static_cast<size_t>(s)].firstOutput; o >= 0; o = m_outputs[static_cast<size_t>(o)].next)
                    onMatch(m_outputs[static_cast<size_t>(o)].pattern);
            }
        }
    }

private:
    struct Node {
        std::int32_t firstEdge = 0;   // after Build: this node's edges in m_edges
        std::int32_t edgeCount = 0;
        std::int32_t fail = 0;
        std::int32_t outputLink = 0;  // nearest node on the fail chain with output, 0 = none
        std::int32_t firstOutput = -1;
        bool hasOutput = false;
    };
    struct Edge {
        char16_t symbol;
        std::int32_t target;
    };
    struct Output {
        std::int32_t pattern;
        std::int32_t next;
    };

    std::int32_t Child(std::int32_t node, char16_t symbol) const;
    std::int32_t Step(std::int32_t state, char16_t symbol) const
    {
        for (;;) {
            const std::int32_t next = Child(state, symbol);
            if (next > 0)
                return next;
            if (state == 0)
                return 0;
            state = m_nodes[static_cast<size_t>(state)].fail;
        }
    }

    std::vector<Node> m_nodes{Node{}};
    std::vector<Edge> m_edges;
    std::vector<Output> m_outputs;
    // While adding: each node's children, moved into m_edges by Build.
    std::vector<std::vector<std::pair<char16_t, std::int32_t>>> m_building{{}};
    int m_patternCount = 0;
    bool m_built = false;
};
