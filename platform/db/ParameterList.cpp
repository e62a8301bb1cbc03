#include "ParameterList.h"

namespace {
QString nameOf(const QString& line)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? line : line.left(eq);
}
}

int ParameterList::IndexOfName(const QString& name) const
{
    for (qsizetype i = 0; i < m_lines.size(); ++i)
        if (nameOf(m_lines[i]).compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

QString ParameterList::Value(const QString& name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? QString() : ValueFromIndex(i);
}

void ParameterList::SetValue(const QString& name, const QString& value)
{
    const int i = IndexOfName(name);
    if (value.isEmpty()) {
        if (i >= 0)
            m_lines.removeAt(i);
        return;
    }
    const QString line = name + QLatin1Char('=') + value;
    if (i >= 0)
        m_lines[i] = line;
    else
        m_lines.append(line);
}

void ParameterList::Remove(const QString& name)
{
    const int i = IndexOfName(name);
    if (i >= 0)
        m_lines.removeAt(i);
}

QString ParameterList::Name(int index) const
{
    return index >= 0 && index < m_lines.size() ? nameOf(m_lines[index]) : QString();
}

QString ParameterList::ValueFromIndex(int index) const
{
    if (index < 0 || index >= m_lines.size())
        return QString();
    const QString& line = m_lines[index];
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : line.mid(eq + 1);
}

QString ParameterList::Text() const
{
    QString text;
    for (const QString& line : m_lines)
        text += line + QStringLiteral("\r\n");
    return text;
}
