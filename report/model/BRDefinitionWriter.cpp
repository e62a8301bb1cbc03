#include "BRDefinitionWriter.h"
#include "BRPropertyNames.h"
#include "TBRCustomBand.h"
#include "TBRFrame.h"
#include "TBRPrintable.h"
#include "TBRUnitBase.h"
#include "TCustomBandReport.h"

#include <QVariant>

QString BRDefinitionWriter::Write(const TCustomBandReport& report, int indent)
{
    BRDefinitionWriter w;
    w.m_indent = indent;
    w.WriteObject(report);
    return w.m_text;
}

void BRDefinitionWriter::WriteObject(const QObject& object)
{
    Line(QStringLiteral("object %1: %2").arg(object.objectName(), QString::fromLatin1(object.metaObject()->className())));
    ++m_indent;
    if (auto* report = qobject_cast<const TCustomBandReport*>(&object)) {
        report->WriteProperties(*this);
        // Bands in the order they were placed, then printables on the report.
        for (const TBRCustomBand* band : report->PlacedBands())
            WriteObject(*band);
        for (const TBRPrintable* p : report->Printables())
            WriteObject(*p);
    } else if (auto* band = qobject_cast<const TBRCustomBand*>(&object)) {
        band->WriteProperties(*this);
        for (const TBRPrintable* p : band->Printables())
            WriteObject(*p);
    } else if (auto* printable = qobject_cast<const TBRPrintable*>(&object)) {
        printable->WriteProperties(*this);
    }
    --m_indent;
    Line(QStringLiteral("end"));
}

void BRDefinitionWriter::Line(const QString& text)
{
    m_text += QString(m_indent * 2, u' ') + text + u'\n';
}

void BRDefinitionWriter::WriteInt(const QString& name, qint64 value)
{
    Line(name + QStringLiteral(" = ") + QString::number(value));
}

void BRDefinitionWriter::WriteBool(const QString& name, bool value)
{
    Line(name + (value ? QStringLiteral(" = True") : QStringLiteral(" = False")));
}

void BRDefinitionWriter::WriteIdent(const QString& name, const QString& identifier)
{
    Line(name + QStringLiteral(" = ") + identifier);
}

void BRDefinitionWriter::WriteString(const QString& name, const QString& text)
{
    Line(name + QStringLiteral(" = ") + Quote(text));
}

void BRDefinitionWriter::WriteSet(const QString& name, const QStringList& members)
{
    Line(name + QStringLiteral(" = [") + members.join(QStringLiteral(", ")) + u']');
}

void BRDefinitionWriter::WriteValues(const QString& name, const QList<BRNative>& values)
{
    Line(name + QStringLiteral(" = ") + TBRUnitBase::FormatValues(values));
}

void BRDefinitionWriter::WriteStrings(const QString& name, const QStringList& lines)
{
    if (lines.isEmpty()) {
        Line(name + QStringLiteral(" = ()"));
        return;
    }
    Line(name + QStringLiteral(" = ("));
    ++m_indent;
    for (qsizetype i = 0; i < lines.size(); ++i)
        Line(Quote(lines[i]) + (i + 1 == lines.size() ? QStringLiteral(")") : QString()));
    --m_indent;
}

void BRDefinitionWriter::WriteColor(const QString& name, TColor color)
{
    const QString n = brp::ColorName(color);
    if (n.isEmpty())
        Line(name + QStringLiteral(" = ") + QString::number(color));
    else
        WriteIdent(name, n);
}

void BRDefinitionWriter::WriteFont(const QString& prefix, const TFont& font)
{
    const QString charset = brp::CharsetName(font.Charset);
    if (charset.isEmpty())
        WriteInt(prefix + QStringLiteral(".Charset"), font.Charset);
    else
        WriteIdent(prefix + QStringLiteral(".Charset"), charset);
    WriteColor(prefix + QStringLiteral(".Color"), font.Color);
    WriteInt(prefix + QStringLiteral(".Height"), font.Height);
    WriteString(prefix + QStringLiteral(".Name"), font.Name);
    QStringList style;
    if (font.Style & fsBold)
        style << QStringLiteral("fsBold");
    if (font.Style & fsItalic)
        style << QStringLiteral("fsItalic");
    if (font.Style & fsUnderline)
        style << QStringLiteral("fsUnderline");
    if (font.Style & fsStrikeOut)
        style << QStringLiteral("fsStrikeOut");
    WriteSet(prefix + QStringLiteral(".Style"), style);
}

void BRDefinitionWriter::WriteFrame(const TBRFrame& frame, const QString& prefix)
{
    WriteColor(prefix + QStringLiteral(".Color"), frame.Color());
    WriteBool(prefix + QStringLiteral(".DrawTop"), frame.DrawTop());
    WriteBool(prefix + QStringLiteral(".DrawBottom"), frame.DrawBottom());
    WriteBool(prefix + QStringLiteral(".DrawLeft"), frame.DrawLeft());
    WriteBool(prefix + QStringLiteral(".DrawRight"), frame.DrawRight());
    if (frame.Style() != TPenStyle::psSolid)
        WriteIdent(prefix + QStringLiteral(".Style"), EnumName(frame, "Style", static_cast<int>(frame.Style())));
    if (frame.Width() != 1)
        WriteInt(prefix + QStringLiteral(".Width"), frame.Width());
}

void BRDefinitionWriter::WriteRef(const QString& name, const QObject* component)
{
    if (component && !component->objectName().isEmpty())
        WriteIdent(name, component->objectName());
}

void BRDefinitionWriter::WriteEvents(const QObject& object)
{
    const QStringList events = object.property("_brEvents").toStringList();
    for (const QString& e : events) {
        const qsizetype eq = e.indexOf(u'=');
        if (eq > 0)
            WriteIdent(e.left(eq), e.mid(eq + 1));
    }
}

QString BRDefinitionWriter::Quote(const QString& text)
{
    if (text.isEmpty())
        return QStringLiteral("''");
    QString out;
    bool inQuotes = false;
    for (QChar c : text) {
        const bool plain = c.unicode() >= 32 && c.unicode() < 127;
        if (plain && !inQuotes) {
            out += u'\'';
            inQuotes = true;
        } else if (!plain && inQuotes) {
            out += u'\'';
            inQuotes = false;
        }
        if (!plain)
            out += u'#' + QString::number(c.unicode());
        else if (c == u'\'')
            out += QStringLiteral("''");
        else
            out += c;
    }
    if (inQuotes)
        out += u'\'';
    return out;
}

QString BRDefinitionWriter::ColorName(TColor color)
{
    return brp::ColorName(color);
}

QString BRDefinitionWriter::EnumName(const QObject& object, const char* property, int value)
{
    const QStringList names = brp::EnumNames(object, QString::fromLatin1(property));
    return (value >= 0 && value < names.size()) ? names[value] : QString::number(value);
}
