#include "StatementText.h"

QString StatementText::Text() const
{
    QString text;
    qsizetype n = 0;
    for (const QString& l : m_lines)
        n += l.size() + 2;
    text.reserve(n);
    for (const QString& l : m_lines) {
        text += l;
        text += QStringLiteral("\r\n");
    }
    return text;
}

void StatementText::SetText(const QString& text)
{
    m_lines.clear();
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            m_lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        m_lines.append(text.mid(start));
    Changed();
}
