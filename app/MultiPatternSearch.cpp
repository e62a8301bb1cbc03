#include "MultiPatternSearch.h"

#include <algorithm>
#include <stdexcept>

int MultiPatternSearch::Add(QStringView pattern)
{
    if (m_built)
        throw std::logic_error("MultiPatternSearch::Add after Build");
    if (pattern.isEmpty())
        throw std::invalid_argument("MultiPatternSearch: empty pattern");
    std::int32_t node = 0;
    for (const QChar c : pattern) {
        auto& children = m_building[static_cast<size_t>(node)];
        const auto it = std::find_if(children.begin(), children.end(),
                                     [&](const auto& e) { return e.first == c.unicode(); });
        if (it != children.end()) {
            node = it->second;
            continue;
        }
        const auto created = static_cast<std::int32_t>(m_nodes.size());
        children.emplace_back(c.unicode(), created);
        m_nodes.emplace_back();
        m_building.emplace_back();
        node = created;
    }
    const int number = m_patternCount++;
    Node& n = m_nodes[static_cast<size_t>(node)];
    m_outputs.push_back({number, n.firstOutput});
    n.firstOutput = static_cast<std::int32_t>(m_outputs.size() - 1);
    n.hasOutput = true;
    return number;
}

std::int32_t MultiPatternSearch::Child(std::int32_t node, char16_t symbol) const
{
    const Node& n = m_nodes[static_cast<size_t>(node)];
    const Edge* first = m_edges.data() + n.firstEdge;
    const Edge* last = first + n.edgeCount;
    // Few edges per node in practice (digits); a short linear look beats a
    // binary search there, a binary search keeps wide nodes cheap.
    if (n.edgeCount <= 8) {
        for (const Edge* e = first; e != last; ++e)
            if (e->symbol == symbol)
                return e->target;
        return 0;
    }
    const Edge* e = std::lower_bound(first, last, symbol, [](const Edge& x, char16_t s) { return x.symbol < s; });
    return e != last && e->symbol == symbol ? e->target : 0;
}

void MultiPatternSearch::Build()
{
    if (m_built)
        return;
    m_built = true;
    m_edges.clear();
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        auto& children = m_building[i];
        std::sort(children.begin(), children.end());
        m_nodes[i].firstEdge = static_cast<std::int32_t>(m_edges.size());
        m_nodes[i].edgeCount = static_cast<std::int32_t>(children.size());
        for (const auto& [symbol, target] : children)
            m_edges.push_back({symbol, target});
    }
    m_building.clear();
    m_building.shrink_to_fit();

    // Breadth first: a node's fail link is the longest proper suffix of its
    // text that is also a prefix of some pattern.
    std::vector<std::int32_t> queue;
    queue.reserve(m_nodes.size());
    const Node& root = m_nodes[0];
    for (std::int32_t e = root.firstEdge; e < root.firstEdge + root.edgeCount; ++e) {
        const std::int32_t t = m_edges[static_cast<size_t>(e)].target;
        m_nodes[static_cast<size_t>(t)].fail = 0;
        m_nodes[static_cast<size_t>(t)].outputLink = 0;
        queue.push_back(t);
    }
    for (size_t head = 0; head < queue.size(); ++head) {
        const std::int32_t parent = queue[head];
        const Node p = m_nodes[static_cast<size_t>(parent)];
        for (std::int32_t e = p.firstEdge; e < p.firstEdge + p.edgeCount; ++e) {
            const Edge edge = m_edges[static_cast<size_t>(e)];
            std::int32_t f = p.fail;
            std::int32_t target = 0;
            for (;;) {
                target = Child(f, edge.symbol);
                if (target > 0 || f == 0)
                    break;
                f = m_nodes[static_cast<size_t>(f)].fail;
            }
            Node& n = m_nodes[static_cast<size_t>(edge.target)];
            n.fail = target;
            const Node& fn = m_nodes[static_cast<size_t>(target)];
            n.outputLink = fn.hasOutput ? target : fn.outputLink;
            queue.push_back(edge.target);
        }
    }
}
