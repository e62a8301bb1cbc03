// brptool info FILE.BRP: the header, every record of the page chain with its
// offsets and sizes, and whether the chain holds together. Reads the file
// directly so that it can describe damaged files too.
#include "BrpCommand.h"
#include "BRPrntr.h"
#include "TBRCompress.h"

#include <QFile>
#include <QtEndian>

#include <cstdio>
#include <cstring>

namespace {

struct Reader {
    QFile& file;
    qint64 size;
    bool Int32At(qint64 at, qint32* value)
    {
        char b[4];
        if (at < 0 || at + 4 > size || !file.seek(at) || file.read(b, 4) != 4)
            return false;
        *value = qFromLittleEndian<qint32>(b);
        return true;
    }
};

int runInfo(const QStringList& args)
{
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: brptool info FILE.BRP\n");
        return 2;
    }
    const QString name = args[0];
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "brptool: cannot open \"%s\": %s\n", qPrintable(name), qPrintable(file.errorString()));
        return 1;
    }
    const qint64 size = file.size();
    if (size < TBRPageList::HeaderSize) {
        std::fprintf(stderr, "brptool: \"%s\" is not a saved report: %lld bytes, fewer than the 128-byte header\n",
                     qPrintable(name), size);
        return 1;
    }
    const QByteArray header = file.read(TBRPageList::HeaderSize);
    const char* h = header.constData();
    const qint32 count = qFromLittleEndian<qint32>(h + TBRPageList::HeaderCountOffset);
    const bool compressed = h[TBRPageList::HeaderCompressedOffset] != 0;
    double days;
    const quint64 bits = qFromLittleEndian<quint64>(h + TBRPageList::HeaderTimeOffset);
    std::memcpy(&days, &bits, 8);
    const QDateTime written = TBRPageList::FromDays(days);

    std::printf("file        %s (%lld bytes)\n", qPrintable(name), size);
    std::printf("words       %u, %u\n", qFromLittleEndian<quint16>(h), qFromLittleEndian<quint16>(h + 2));
    std::printf("pages       %d\n", count);
    std::printf("written     %s (%.6f)\n",
                written.isValid() ? qPrintable(written.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))) : "invalid",
                days);
    std::printf("compressed  %s (byte %d)\n", compressed ? "yes" : "no", int(quint8(h[TBRPageList::HeaderCompressedOffset])));

    std::printf("\n%6s %10s %6s %10s %10s %10s %10s\n", "record", "offset", "page", "next", "data", "trailing",
                compressed ? "metafile" : "emf bytes");
    Reader r{file, size};
    QStringList problems;
    const quint16 word0 = qFromLittleEndian<quint16>(h), word1 = qFromLittleEndian<quint16>(h + 2);
    if (word0 != 3 || word1 != 362)
        problems << QStringLiteral("the header's first words are %1 and %2, not 3 and 362").arg(word0).arg(word1);
    qint64 position = TBRPageList::HeaderSize;
    int records = 0;
    while (position < size) {
        ++records;
        qint32 page = 0, next = 0, trailing = 0;
        if (!r.Int32At(position, &page) || !r.Int32At(position + 4, &next)) {
            problems << QStringLiteral("record %1 at offset %2 is cut short").arg(records).arg(position);
            break;
        }
        const QString nextProblem = TBRPageList::NextOffsetProblem(position, next, size);
        if (!nextProblem.isEmpty()) {
            std::printf("%6d %10lld %6d %10d\n", records, position, page, next);
            problems << QStringLiteral("record %1 at offset %2: next offset %3 %4")
                            .arg(records).arg(position).arg(next).arg(nextProblem);
            break;
        }
        r.Int32At(next - 4, &trailing);
        const qint64 dataLength = next - position - TBRPageList::RecordOverhead;
        QString pageSize = QStringLiteral("-");
        if (compressed) {
            qint32 u = 0;
            if (dataLength >= 4 && r.Int32At(position + 8, &u))
                pageSize = QString::number(u);
        } else if (dataLength >= 52) {
            qint32 nBytes = 0;
            r.Int32At(position + 8 + 48, &nBytes);
            pageSize = QString::number(nBytes);
        }
        std::printf("%6d %10lld %6d %10d %10lld %10d %10s\n", records, position, page, next, dataLength, trailing,
                    qPrintable(pageSize));
        if (compressed && dataLength >= 4) {
            // The code must end where the record does: bytes the coder does
            // not use mean a damaged or forged record.
            qint32 u = 0;
            r.Int32At(position + 8, &u);
            const qint64 codeLength = dataLength - 4;
            if (u >= 0 && file.seek(position + 12)) {
                const QByteArray code = file.read(codeLength);
                qsizetype consumed = 0;
                try {
                    TBRCompress::Decode(code.constData(), code.size(), u, &consumed);
                    if (consumed < codeLength)
                        problems << QStringLiteral("record %1 holds %2 code bytes, the coder used %3 for its %4 bytes")
                                        .arg(records).arg(codeLength).arg(consumed).arg(u);
                } catch (const PlatformError&) {
                    // Reported by the decoding check below.
                }
            }
        }
        if (page != records)
            problems << QStringLiteral("record %1 holds page number %2").arg(records).arg(page);
        if (trailing != position)
            problems << QStringLiteral("record %1 ends with offset %2 instead of its start %3")
                            .arg(records).arg(trailing).arg(position);
        position = next;
    }
    if (records != count)
        problems << QStringLiteral("the header counts %1 pages, the chain has %2 records%3")
                        .arg(count).arg(records)
                        .arg(count == 1 ? QStringLiteral(" (an unfinished or aborted job keeps the count 1)") : QString());

    // Every page must also decode into a metafile.
    if (problems.isEmpty()) {
        TBRPageList list;
        try {
            list.OpenFile(name);
            for (qint32 n = 1; n <= list.Count(); ++n)
                list.FetchPage(n);
        } catch (const PlatformError& e) {
            problems << e.Message();
        }
    }

    if (problems.isEmpty()) {
        std::printf("\nchain       consistent: %d records, ending at the file size\n", records);
        return 0;
    }
    std::printf("\nchain       NOT consistent\n");
    for (const QString& p : problems)
        std::printf("  %s\n", qPrintable(p));
    return 1;
}

BrpCommandRegistrar reg("info", "info FILE.BRP                      header, page records and chain check", runInfo);

} // namespace
