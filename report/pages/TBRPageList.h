#pragma once
// The recorded pages of a report run, kept in one TBRStream whose layout is
// also the saved-report file:
//
//   header, 128 bytes: u16 3, u16 362, 4 zero, i32 page count, 4 zero,
//       double time of writing (days since 30/12/1899, local), 1 zero,
//       1 byte compressed flag, 102 zero
//   then one record per page, back to back, page 1 at offset 128:
//       i32 page number, i32 offset of the next record (the file size for the
//       last), page data, i32 offset of this record's start
//
// Page data are the page's enhanced metafile, or, when compressed, an i32 byte
// count followed by its TBRCompress code. All integers little-endian.
//
// Whatever a file holds, reading it only ever gives a page or a
// DamagedStoreError: every offset and length is checked against the file, and
// chain walks move strictly in one direction.

#include "PageTextIndex.h"
#include "TBRStream.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>
#include <mutex>
#include <optional>

class TBRPageList {
public:
    static constexpr qint32 HeaderSize = TBRStream::HeaderSize;
    static constexpr int HeaderCountOffset = 8;
    static constexpr int HeaderTimeOffset = 16;
    static constexpr int HeaderCompressedOffset = 25;
    // Page number, next offset and trailing start offset.
    static constexpr qint32 RecordOverhead = 12;

    TBRPageList();
    ~TBRPageList();

    TBRPageList(const TBRPageList&) = delete;
    TBRPageList& operator=(const TBRPageList&) = delete;

    // Count := 0; the store is not touched.
    void Reset();
    // Appends metafile as page Count + 1. On failure the store and Count are
    // as they were before the call.
    void AppendPage(const QByteArray& metafile);
    // Page n as a new metafile, or none when n is outside 1..Count or there is
    // no store. Throws DamagedStoreError when the stored page is damaged.
    std::optional<QByteArray> FetchPage(qint32 n);
    // Positions the store at the start of page n's record (1 <= n <= Count).
    void LocatePage(qint32 n);
    void WriteHeader();
    void ReadHeader();
    // Copies the whole store into fileName. The file is replaced only when the
    // copy is complete; the store's own file is refused.
    void WriteToFile(const QString& fileName);
    // Frees the current store and opens fileName as the store, read-only.
    // On failure the list has no store and Count is 0.
    void OpenFile(const QString& fileName);

    bool Compressed() const { return m_compressed; }
    void SetCompressed(bool value) { m_compressed = value; }
    qint32 Count() const { return m_count; }

    TBRStream* Store() const { return m_store.get(); }
    // Frees the current store (deleting its temporary file) and takes store.
    void SetStore(std::unique_ptr<TBRStream> store);

    std::recursive_mutex& Lock() { return m_lock; }

    // The text of pages 1..Count for searching. Appended pages are indexed as
    // they come; the pages of an opened file are read on the first call (a
    // damaged page is counted as unreadable and left out).
    PageTextIndex& TextIndex();
    // Pages TextIndex would still have to read.
    qint32 PagesToIndex() const { return m_count - m_text.Pages(); }
    // Whether appended pages are indexed as they come (the default). Off,
    // nobody searching, the index costs nothing; TextIndex still reads every
    // page when it is asked for.
    void SetIndexOnAppend(bool value) { m_indexOnAppend = value; }

    // Size of the enhanced metafile at data (its header's byte count), or -1
    // with *problem set when the bytes do not start a metafile that fits in
    // available bytes.
    static qint32 MetafileSize(const char* data, qsizetype available, QString* problem = nullptr);
    // What is wrong with a record's next-record offset, in words ("points
    // backwards ..."); empty when it is plausible for a record at start in a
    // file of size bytes.
    static QString NextOffsetProblem(qint64 start, qint64 next, qint64 size);
    // The header's time stamp: days since 30/12/1899 with the time as fraction.
    static double ToDays(const QDateTime& local);
    static QDateTime FromDays(double days);

private:
    qint32 ReadInt32At(qint32 position, qint32 size);
    QByteArray ReadBytes(qint32 count);
    void WriteRecord(TBRStream& s, qint32 number, qint32 start, const QByteArray& metafile);
    TBRStream& RequiredStore();

    std::recursive_mutex m_lock;
    bool m_compressed = false;
    qint32 m_count = 0;
    std::unique_ptr<TBRStream> m_store;
    // The last page's code, kept for its room.
    QByteArray m_code;
    PageTextIndex m_text;
    bool m_indexOnAppend = true;
};
