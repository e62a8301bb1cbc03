#include "TMaskEdit.h"

namespace {

// Characters that mean something in Qt's mask notation and so must be
// escaped when they are literals of ours.
const QString kQtMaskSpecials = QStringLiteral("AaNnXx90Dd#HhBb><!{}[]\\;");

} // namespace

TMaskEdit::TMaskEdit(QWidget* parent) : QLineEdit(parent) {}

void TMaskEdit::SetEditMask(const QString& mask)
{
    m_editMask = mask;
    ApplyMask();
}

void TMaskEdit::SetCharCase(TEditCharCase value)
{
    m_charCase = value;
    ApplyMask();
}

void TMaskEdit::ApplyMask()
{
    const QStringList parts = m_editMask.split(u';');
    const QString pattern = parts.value(0);
    if (parts.size() > 2 && !parts[2].isEmpty())
        m_blank = parts[2].at(0);

    QString qt = m_charCase == ecUpperCase ? QStringLiteral(">") : m_charCase == ecLowerCase ? QStringLiteral("<") : QString();
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        switch (c.unicode()) {
        case u'!': break; // blank handling of the platform: ours is per position
        case u'>': qt += u'>'; break;
        case u'<': qt += u'<'; break;
        case u'L': qt += u'A'; break;
        case u'l': qt += u'a'; break;
        case u'A': qt += u'N'; break;
        case u'a': qt += u'n'; break;
        case u'C': qt += u'X'; break;
        case u'c': qt += u'x'; break;
        case u'0': qt += u'9'; break;
        case u'9': qt += u'0'; break;
        case u'#': qt += u'#'; break;
        case u'\\':
            if (i + 1 < pattern.size()) {
                ++i;
                qt += u'\\';
                qt += pattern[i];
            }
            break;
        default:
            if (kQtMaskSpecials.contains(c))
                qt += u'\\';
            qt += c;
        }
    }
    const QString text = Text();
    setInputMask(pattern.isEmpty() ? QString() : qt + u';' + m_blank);
    if (!text.trimmed().isEmpty())
        SetText(text);
}

QString TMaskEdit::Text() const
{
    if (inputMask().isEmpty())
        return text();
    QString shown = displayText();
    // Only input positions can show the blank character: literals of a date
    // mask are digits' separators.
    shown.replace(m_blank, u' ');
    return shown;
}

void TMaskEdit::SetText(const QString& value)
{
    if (inputMask().isEmpty()) {
        setText(value);
        return;
    }
    QLineEdit::setText(QString());
    // Each character goes to its own position; a blank, or a character the
    // mask refuses there, leaves that position empty instead of shifting the
    // rest along.
    const QString empty = displayText();
    for (int i = 0; i < value.size() && i < empty.size(); ++i) {
        const QChar c = value[i];
        if (c == u' ' || c == m_blank || empty[i] != m_blank)
            continue;
        const QString before = displayText();
        setCursorPosition(i);
        insert(QString(c));
        const QString after = displayText();
        if (after.left(i) != before.left(i) || after.mid(i + 1) != before.mid(i + 1))
            QLineEdit::setText(before); // placed elsewhere: take it back
    }
    setCursorPosition(0);
}

void TMaskEdit::Clear()
{
    SetText(QString());
}
