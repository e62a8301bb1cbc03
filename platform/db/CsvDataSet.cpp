#include "CsvDataSet.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// Splits one line; false on an unterminated quote.
bool splitLine(const QString& line, QStringList& fields)
{
    fields.clear();
    QString cur;
    bool quoted = false, wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    cur += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cur += c;
            }
        } else if (c == u'"' && cur.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == u',') {
            fields << cur;
            cur.clear();
            wasQuoted = false;
        } else {
            cur += c;
        }
    }
    fields << cur;
    return !quoted;
}

bool typeFromName(const QString& name, TFieldType& type)
{
    const QString n = name.trimmed().toLower();
    if (n == u"integer") type = TFieldType::ftInteger;
    else if (n == u"float") type = TFieldType::ftFloat;
    else if (n == u"string" || n.isEmpty()) type = TFieldType::ftString;
    else if (n == u"boolean") type = TFieldType::ftBoolean;
    else if (n == u"date") type = TFieldType::ftDate;
    else return false;
    return true;
}

QString typeName(TFieldType type)
{
    switch (type) {
    case TFieldType::ftInteger: return QStringLiteral("integer");
    case TFieldType::ftFloat: return QStringLiteral("float");
    case TFieldType::ftBoolean: return QStringLiteral("boolean");
    case TFieldType::ftDate: return QStringLiteral("date");
    default: return QStringLiteral("string");
    }
}

bool convert(const QString& text, TFieldType type, QVariant& out)
{
    if (text.isEmpty()) {
        out = QVariant();
        return true;
    }
    bool ok = true;
    switch (type) {
    case TFieldType::ftInteger: out = text.trimmed().toInt(&ok); break;
    case TFieldType::ftFloat: out = text.trimmed().toDouble(&ok); break;
    case TFieldType::ftBoolean: {
        const QString t = text.trimmed().toLower();
        if (t == u"true" || t == u"1") out = true;
        else if (t == u"false" || t == u"0") out = false;
        else ok = false;
        break;
    }
    case TFieldType::ftDate: {
        QDate d = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            d = QDate::fromString(text.trimmed(), QStringLiteral("dd/MM/yyyy"));
        ok = d.isValid();
        out = d;
        break;
    }
    default: out = text; break;
    }
    return ok;
}

// The file's lines, ended by CR LF, LF or CR alone.
QList<QByteArray> splitLines(const QByteArray& bytes)
{
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r')
            continue;
        lines << bytes.mid(start, i - start);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

} // namespace

QString LoadCsvDataSet(const QString& fileName, TMemDataSet& dataSet)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: cannot open: %2").arg(fileName, file.errorString());
    const QList<QByteArray> lines = splitLines(file.readAll());
    const auto where = [&](int line) { return QStringLiteral("%1:%2: ").arg(fileName).arg(line); };

    int lineNo = 0;
    QStringList fields;
    QStringList names;
    QList<TFieldType> types;
    for (const QByteArray& bytes : lines) {
        ++lineNo;
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString line = utf8.decode(bytes);
        if (utf8.hasError())
            return where(lineNo) + QStringLiteral("not valid UTF-8");
        if (lineNo == 1 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        if (!splitLine(line, fields))
            return where(lineNo) + QStringLiteral("unterminated quoted field");
        if (lineNo == 1) {
            for (const QString& f : fields) {
                const qsizetype colon = f.lastIndexOf(u':');
                const QString name = (colon < 0 ? f : f.left(colon)).trimmed();
                TFieldType type = TFieldType::ftString;
                if (colon >= 0 && !typeFromName(f.mid(colon + 1), type))
                    return where(lineNo) + QStringLiteral("unknown field type '%1' (integer, float, string, boolean or date)")
                                               .arg(f.mid(colon + 1));
                if (name.isEmpty())
                    return where(lineNo) + QStringLiteral("empty field name");
                if (names.contains(name, Qt::CaseInsensitive))
                    return where(lineNo) + QStringLiteral("field name '%1' appears twice").arg(name);
                names << name;
                dataSet.DefineField(name, type);
                types << type;
            }
            continue;
        }
        if (line.trimmed().isEmpty())
            continue;
        if (fields.size() != types.size())
            return where(lineNo) + QStringLiteral("expected %1 fields, found %2").arg(types.size()).arg(fields.size());
        QVariantList row;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            QVariant v;
            if (!convert(fields[i], types[i], v))
                return where(lineNo) + QStringLiteral("field %1: '%2' is not a valid %3")
                                           .arg(i + 1)
                                           .arg(fields[i], typeName(types[i]));
            row << v;
        }
        dataSet.AppendRecord(row);
    }
    if (lineNo == 0)
        return QStringLiteral("%1: empty file (the first line must name the fields)").arg(fileName);
    dataSet.Open();
    return QString();
}
