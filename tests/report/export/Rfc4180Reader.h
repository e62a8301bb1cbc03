#pragma once
// A small reader for RFC 4180 CSV, to read exports back as a spreadsheet
// would: CRLF records, fields in double quotes may hold commas, quotes
// (doubled) and line ends. Refuses what the RFC does not allow.

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace brp {

inline std::optional<QList<QStringList>> ReadRfc4180(const QString& text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (text[i] == u'"') {
            ++i;
            for (;;) {
                if (i >= n)
                    return std::nullopt; // unterminated quote
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
        } else {
            while (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n') {
                if (text[i] == u'"')
                    return std::nullopt; // a quote inside an unquoted field
                field += text[i++];
            }
        }
        record << field;
        field.clear();
        if (i < n && text[i] == u',') {
            ++i;
            if (i == n)
                return std::nullopt; // a record cut after its comma
            continue;
        }
        if (i < n) {
            if (text.mid(i, 2) != QStringLiteral("\r\n"))
                return std::nullopt; // records end in CRLF only
            i += 2;
        }
        records << record;
        record.clear();
    }
    return records;
}

} // namespace brp
