#pragma once
// A query's statement as a list of text lines. Every change is reported to
// the owner, which re-reads the statement's parameters.

#include <QStringList>
#include <functional>

class StatementText {
public:
    void Clear() { m_lines.clear(); Changed(); }
    void Add(const QString& line) { m_lines.append(line); Changed(); }
    int Count() const { return static_cast<int>(m_lines.size()); }
    const QString& Strings(int index) const { return m_lines.at(index); }
    const QStringList& Lines() const { return m_lines; }
    void SetLines(const QStringList& lines) { m_lines = lines; Changed(); }

    // The lines joined, each followed by CR LF.
    QString Text() const;
    // Splits at CR LF, CR or LF; a final line break adds no empty line.
    void SetText(const QString& text);

    void SetOnChange(std::function<void()> handler) { m_onChange = std::move(handler); }

private:
    void Changed() { if (m_onChange) m_onChange(); }

    QStringList m_lines;
    std::function<void()> m_onChange;
};
