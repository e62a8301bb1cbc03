#include "TBRPageList.h"
#include "CompleteFileWriter.h"
#include "PageStoreError.h"
#include "TBRCompress.h"

#include <QFileInfo>
#include <QtEndian>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr quint16 FileWord0 = 3;
constexpr quint16 FileWord1 = 0x016A;
constexpr quint32 EmrHeader = 1;
constexpr quint32 EmfSignature = 0x464D4520; // " EMF"
constexpr qint32 MinEmfHeaderSize = 88;

qint32 int32At(const char* data)
{
    return qFromLittleEndian<qint32>(data);
}

quint32 uint32At(const char* data)
{
    return qFromLittleEndian<quint32>(data);
}

// True when both names reach the same file (also through links).
bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

TBRPageList::TBRPageList() = default;
TBRPageList::~TBRPageList() = default;

TBRStream& TBRPageList::RequiredStore()
{
    if (!m_store)
        throw PlatformError(QStringLiteral("The page list has no page store"));
    return *m_store;
}

void TBRPageList::SetStore(std::unique_ptr<TBRStream> store)
{
    std::lock_guard guard(m_lock);
    m_store = std::move(store);
    m_text.Clear();
}

void TBRPageList::Reset()
{
    std::lock_guard guard(m_lock);
    m_count = 0;
    m_text.Clear();
}

qint32 TBRPageList::ReadInt32At(qint32 position, qint32 size)
{
    if (position < 0 || qint64(position) + 4 > size)
        throw DamagedStoreError(QStringLiteral("Damaged report file: a record field at offset %1 lies outside "
                                               "the file (%2 bytes)").arg(position).arg(size));
    TBRStream& s = RequiredStore();
    s.SetPosition(position);
    char b[4];
    if (s.Read(b, 4) != 4)
        throw DamagedStoreError(QStringLiteral("Damaged report file: cannot read 4 bytes at offset %1").arg(position));
    return int32At(b);
}

QByteArray TBRPageList::ReadBytes(qint32 count)
{
    QByteArray data(count, Qt::Uninitialized);
    if (count > 0 && RequiredStore().Read(data.data(), count) != count)
        throw DamagedStoreError(QStringLiteral("Damaged report file: it ends inside a page record"));
    return data;
}

qint32 TBRPageList::MetafileSize(const char* data, qsizetype available, QString* problem)
{
    auto fail = [&](const QString& text) {
        if (problem)
            *problem = text;
        return -1;
    };
    if (available < MinEmfHeaderSize)
        return fail(QStringLiteral("%1 bytes are too few for a metafile header").arg(available));
    if (uint32At(data) != EmrHeader)
        return fail(QStringLiteral("the data do not start with a metafile header record"));
    if (uint32At(data + 40) != EmfSignature)
        return fail(QStringLiteral("the metafile signature is missing"));
    const quint32 headerSize = uint32At(data + 4);
    const quint32 nBytes = uint32At(data + 48);
    if (headerSize < quint32(MinEmfHeaderSize) || headerSize > nBytes)
        return fail(QStringLiteral("the metafile header size %1 is invalid").arg(headerSize));
    if (nBytes > quint64(available))
        return fail(QStringLiteral("the metafile claims %1 bytes but %2 are stored").arg(nBytes).arg(available));
    return qint32(nBytes);
}

QString TBRPageList::NextOffsetProblem(qint64 start, qint64 next, qint64 size)
{
    if (next < 0 || next > size)
        return QStringLiteral("points outside the file (%1 bytes)").arg(size);
    if (next <= start)
        return QStringLiteral("points backwards, to or before the record's start at %1").arg(start);
    if (next < start + RecordOverhead)
        return QStringLiteral("leaves no room for the record's %1 bytes of fields (it starts at %2)")
            .arg(RecordOverhead).arg(start);
    return QString();
}

double TBRPageList::ToDays(const QDateTime& local)
{
    static const QDate epoch(1899, 12, 30);
    return double(epoch.daysTo(local.date())) + local.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime TBRPageList::FromDays(double days)
{
    // Years 1..9999 only; anything else is not a time stamp.
    if (!std::isfinite(days) || days < -693593.0 || days > 2958466.0)
        return {};
    static const QDate epoch(1899, 12, 30);
    const double whole = std::floor(days);
    const int msecs = int(std::lround((days - whole) * 86400000.0));
    return QDateTime(epoch.addDays(qint64(whole)), QTime(0, 0)).addMSecs(msecs);
}

void TBRPageList::WriteHeader()
{
    std::lock_guard guard(m_lock);
    TBRStream& s = RequiredStore();
    QByteArray header(HeaderSize, '\0');
    char* h = header.data();
    qToLittleEndian<quint16>(FileWord0, h);
    qToLittleEndian<quint16>(FileWord1, h + 2);
    qToLittleEndian<qint32>(m_count, h + HeaderCountOffset);
    const double days = ToDays(QDateTime::currentDateTime());
    quint64 bits;
    std::memcpy(&bits, &days, 8);
    qToLittleEndian<quint64>(bits, h + HeaderTimeOffset);
    h[HeaderCompressedOffset] = m_compressed ? 1 : 0;
    std::lock_guard storeGuard(s.Lock());
    s.SetPosition(0);
    s.Write(h, HeaderSize);
}

void TBRPageList::ReadHeader()
{
    std::lock_guard guard(m_lock);
    TBRStream& s = RequiredStore();
    std::lock_guard storeGuard(s.Lock());
    const qint32 size = s.Size();
    if (size < HeaderSize)
        throw DamagedStoreError(QStringLiteral("Not a saved report: %1 bytes are fewer than the %2-byte header")
                                    .arg(size).arg(HeaderSize));
    s.SetPosition(0);
    const QByteArray header = ReadBytes(HeaderSize);
    const qint32 count = int32At(header.constData() + HeaderCountOffset);
    // Each page takes at least its record's fixed fields.
    const qint32 room = (size - HeaderSize) / RecordOverhead;
    if (count < 0 || count > room)
        throw DamagedStoreError(QStringLiteral("Damaged report file: the header announces %1 pages, but the file "
                                               "has room for at most %2").arg(count).arg(room));
    m_count = count;
    m_compressed = header.at(HeaderCompressedOffset) != 0;
}

void TBRPageList::WriteRecord(TBRStream& s, qint32 number, qint32 start, const QByteArray& metafile)
{
    // Written in pieces straight from the page (or its code): a record is
    // as large as the page, and copying it into one block costs more than
    // the writes.
    char prefix[12];
    int prefixSize = 8;
    const char* data = metafile.constData();
    qsizetype size = metafile.size();
    if (m_compressed) {
        m_code.resize(0); // keeps the last page's room
        {
            TBRCompress coder(&m_code);
            coder.EncodeBytes(metafile.constData(), metafile.size());
        }
        qToLittleEndian<qint32>(qint32(metafile.size()), prefix + 8);
        prefixSize = 12;
        data = m_code.constData();
        size = m_code.size();
    }
    const qint64 end = qint64(start) + RecordOverhead + (prefixSize - 8) + size;
    if (end > std::numeric_limits<qint32>::max())
        throw StoreFileError(QStringLiteral("Page store full: it cannot grow beyond 2 GB"));
    qToLittleEndian<qint32>(number, prefix);
    qToLittleEndian<qint32>(qint32(end), prefix + 4);
    char trailer[4];
    qToLittleEndian<qint32>(start, trailer);
    s.Write(prefix, prefixSize);
    s.Write(data, qint32(size));
    s.Write(trailer, 4);
}

void TBRPageList::AppendPage(const QByteArray& metafile)
{
    QString problem;
    const qint32 nBytes = MetafileSize(metafile.constData(), metafile.size(), &problem);
    if (nBytes < 0)
        throw PlatformError(QStringLiteral("Cannot store the page: %1").arg(problem));
    if (nBytes != metafile.size())
        throw PlatformError(QStringLiteral("Cannot store the page: %1 bytes follow the metafile")
                                .arg(metafile.size() - nBytes));

    std::lock_guard guard(m_lock);
    TBRStream& s = RequiredStore();
    std::lock_guard storeGuard(s.Lock());
    const qint32 oldCount = m_count;
    const qint32 oldSize = s.Size();
    try {
        ++m_count;
        if (m_count == 1)
            WriteHeader();
        const qint32 start = s.Seek(0, TBRStream::SeekOrigin::End);
        WriteRecord(s, m_count, start, metafile);
    } catch (...) {
        // A half-written record would break the chain for every later page.
        m_count = oldCount;
        try {
            if (!s.ReadOnly())
                s.SetSize(oldSize);
            s.Seek(0, TBRStream::SeekOrigin::End);
        } catch (...) {
        }
        throw;
    }
    if (m_indexOnAppend && m_text.Pages() == m_count - 1)
        m_text.AddPage(metafile);
}

PageTextIndex& TBRPageList::TextIndex()
{
    std::lock_guard guard(m_lock);
    while (m_text.Pages() < m_count) {
        std::optional<QByteArray> page;
        try {
            page = FetchPage(m_text.Pages() + 1);
        } catch (const DamagedStoreError&) {
            // Searching goes on in the other pages; showing this one reports it.
            m_text.AddUnreadablePage();
            continue;
        }
        m_text.AddPage(page ? *page : QByteArray());
    }
    return m_text;
}

void TBRPageList::LocatePage(qint32 n)
{
    std::lock_guard guard(m_lock);
    TBRStream& s = RequiredStore();
    std::lock_guard storeGuard(s.Lock());
    if (n < 1 || n > m_count)
        throw PlatformError(QStringLiteral("Page %1 is not in the report (1 to %2)").arg(n).arg(m_count));
    const qint32 size = s.Size();
    const qint32 lastPossible = size - RecordOverhead;

    auto lastRecord = [&] {
        const qint32 last = ReadInt32At(size - 4, size);
        if (last < 0 || last >= size)
            throw DamagedStoreError(QStringLiteral("Damaged report file: the last record's offset %1 points "
                                                   "outside the file (%2 bytes)").arg(last).arg(size));
        if (last < HeaderSize)
            throw DamagedStoreError(QStringLiteral("Damaged report file: the last record's offset %1 points "
                                                   "into the %2-byte header").arg(last).arg(HeaderSize));
        if (last > lastPossible)
            throw DamagedStoreError(QStringLiteral("Damaged report file: the last record's offset %1 leaves no "
                                                   "room for a record before the end (%2 bytes)").arg(last).arg(size));
        return last;
    };
    auto notFound = [&](qint32 at) {
        return DamagedStoreError(QStringLiteral("Damaged report file: the record chain breaks at offset %1 "
                                                "before reaching page %2").arg(at).arg(n));
    };

    qint32 position;
    if (n == 1) {
        position = HeaderSize;
    } else if (n == m_count) {
        position = lastRecord();
    } else {
        position = s.Position();
        if (position < HeaderSize || position > lastPossible)
            position = lastRecord();
        qint32 p = ReadInt32At(position, size);
        // Pages are numbered one after the other, so |n - p| steps must reach n;
        // and offsets must move the right way. Either way the walk ends.
        qint64 stepsLeft = std::abs(qint64(n) - p);
        if (n > p) {
            // Forward through the next offsets.
            while (p != n) {
                const qint32 next = ReadInt32At(position + 4, size);
                if (next <= position || next > lastPossible || stepsLeft-- == 0)
                    throw notFound(position);
                position = next;
                p = ReadInt32At(position, size);
            }
        } else if (n < p) {
            // Backward through the trailing start offsets.
            while (p != n) {
                if (position - 4 < HeaderSize)
                    throw notFound(position);
                const qint32 previous = ReadInt32At(position - 4, size);
                if (previous >= position || previous < HeaderSize || stepsLeft-- == 0)
                    throw notFound(position);
                position = previous;
                p = ReadInt32At(position, size);
            }
        }
    }
    s.SetPosition(position);
}

std::optional<QByteArray> TBRPageList::FetchPage(qint32 n)
{
    std::lock_guard guard(m_lock);
    if (n < 1 || n > m_count || !m_store)
        return std::nullopt;
    TBRStream& s = *m_store;
    std::lock_guard storeGuard(s.Lock());
    try {
        LocatePage(n);
        const qint32 size = s.Size();
        const qint32 start = s.Position();
        const qint32 number = ReadInt32At(start, size);
        if (number != n)
            throw DamagedStoreError(QStringLiteral("Damaged report file: the record at offset %1 holds page %2, "
                                                   "expected page %3").arg(start).arg(number).arg(n));
        const qint32 next = ReadInt32At(start + 4, size);
        const QString wrongNext = NextOffsetProblem(start, next, size);
        if (!wrongNext.isEmpty())
            throw DamagedStoreError(QStringLiteral("Damaged report file: page %1's next-record offset %2 %3")
                                        .arg(n).arg(next).arg(wrongNext));
        const qint32 trailing = ReadInt32At(next - 4, size);
        if (trailing != start)
            throw DamagedStoreError(QStringLiteral("Damaged report file: page %1's record at offset %2 ends with "
                                                   "the offset %3").arg(n).arg(start).arg(trailing));
        const qint32 dataLength = next - RecordOverhead - start;
        s.SetPosition(start + 8);
        QByteArray page;
        if (m_compressed) {
            if (dataLength < 4)
                throw DamagedStoreError(QStringLiteral("Damaged report file: compressed page %1 has no byte count")
                                            .arg(n));
            const QByteArray data = ReadBytes(dataLength);
            const qint32 u = int32At(data.constData());
            // Every code bit yields at most one byte: this bounds what is allocated.
            const qint64 codeLength = dataLength - 4;
            if (u < 0 || u > codeLength * 8)
                throw DamagedStoreError(QStringLiteral("Damaged report file: compressed page %1 claims %2 bytes "
                                                       "from %3 bytes of code").arg(n).arg(u).arg(codeLength));
            try {
                page = TBRCompress::Decode(data.constData() + 4, codeLength, u);
            } catch (const DamagedStoreError& e) {
                throw DamagedStoreError(QStringLiteral("Damaged report file: page %1: %2").arg(n).arg(e.Message()));
            }
        } else {
            page = ReadBytes(dataLength);
        }
        QString problem;
        const qint32 nBytes = MetafileSize(page.constData(), page.size(), &problem);
        if (nBytes < 0)
            throw DamagedStoreError(QStringLiteral("Page %1 is not a valid metafile (damaged data or a wrong "
                                                   "compression flag): %2").arg(n).arg(problem));
        page.truncate(nBytes);
        s.SetPosition(next);
        return page;
    } catch (...) {
        // Leave the store where the next locate can start from.
        try {
            s.SetPosition(HeaderSize);
        } catch (...) {
        }
        throw;
    }
}

void TBRPageList::WriteToFile(const QString& fileName)
{
    std::lock_guard guard(m_lock);
    TBRStream& s = RequiredStore();
    std::lock_guard storeGuard(s.Lock());
    if (!s.FileName().isEmpty() && sameFile(s.FileName(), fileName))
        throw StoreFileError(QStringLiteral("Cannot create file \"%1\": the pages are being read from it")
                                 .arg(fileName));
    // Written beside the target and renamed over it once every byte is on
    // the disk, so a failed save leaves an existing file as it was.
    CompleteFileWriter out(fileName);
    if (!out.Open())
        throw StoreFileError(QStringLiteral("Cannot create file \"%1\": %2").arg(fileName, out.errorString()));
    try {
        s.CopyTo(out);
    } catch (const StoreFileError&) {
        if (!out.Failed())
            throw; // the store could not be read: its own reason
    }
    if (!out.Commit())
        throw StoreFileError(QStringLiteral("Cannot write file \"%1\": %2").arg(fileName, out.errorString()));
}

void TBRPageList::OpenFile(const QString& fileName)
{
    std::lock_guard guard(m_lock);
    m_store.reset();
    m_count = 0;
    m_text.Clear();
    const bool compressed = m_compressed;
    m_store = std::make_unique<TBRStream>(fileName);
    try {
        ReadHeader();
    } catch (...) {
        m_store.reset();
        m_count = 0;
        m_compressed = compressed;
        throw;
    }
}
