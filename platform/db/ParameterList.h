#pragma once
// A parameter list: text lines of the form name=value. Names are matched
// without regard to case; reading an absent name gives an empty value and
// setting a name to an empty value removes its line.

#include <QString>
#include <QStringList>

class ParameterList {
public:
    ParameterList() = default;
    ParameterList(std::initializer_list<QString> lines) : m_lines(lines) {}

    QString Value(const QString& name) const;
    void SetValue(const QString& name, const QString& value);
    // Index of the line whose name is `name`, -1 when absent.
    int IndexOfName(const QString& name) const;
    void Remove(const QString& name);

    int Count() const { return static_cast<int>(m_lines.size()); }
    QString Name(int index) const;
    QString ValueFromIndex(int index) const;
    void Add(const QString& line) { m_lines.append(line); }
    void Clear() { m_lines.clear(); }

    const QStringList& Lines() const { return m_lines; }
    void SetLines(const QStringList& lines) { m_lines = lines; }
    // All lines, each followed by CR LF.
    QString Text() const;

    bool operator==(const ParameterList& other) const { return m_lines == other.m_lines; }

private:
    QStringList m_lines;
};
