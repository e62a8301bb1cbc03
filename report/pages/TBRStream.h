#pragma once
// Byte stream behind the page store. It keeps its data in memory until they
// grow past a limit and then moves them once to a unique temporary file named
// "BRP..." in the system's temporary directory. That file's name is removed
// as soon as it is made and only the open file is kept, so it goes when the
// stream is freed, and also when the process is killed or interrupted. A
// stream can also be opened read-only on an existing file (a loaded
// saved-report file).
//
// Positions and sizes are 32-bit, as in the file format. Every operation holds
// the re-entrant lock, so a page read never interleaves with a page append.

#include <QByteArray>
#include <QString>
#include <memory>
#include <mutex>

class QFile;
class QIODevice;

class TBRStream {
public:
    enum class SeekOrigin { Beginning, Current, End };

    static constexpr qint32 HeaderSize = 128;
    static constexpr qint32 CopyChunkSize = 10240;

    // In memory, spilling to a temporary file once the data exceed spillLimit bytes.
    explicit TBRStream(qint32 spillLimit);
    // On an existing file, read-only. Throws StoreFileError when it cannot be opened.
    explicit TBRStream(const QString& fileName);
    ~TBRStream();

    TBRStream(const TBRStream&) = delete;
    TBRStream& operator=(const TBRStream&) = delete;

    // Reads up to count bytes at the position; returns how many were read
    // (fewer at the end of the data).
    qint32 Read(void* buffer, qint32 count);
    // Writes count bytes at the position (extending the data as needed) and
    // returns count; throws StoreFileError when they cannot be written.
    qint32 Write(const void* buffer, qint32 count);
    // Returns the new position.
    qint32 Seek(qint32 offset, SeekOrigin origin);

    qint32 Size();
    qint32 Position();
    void SetPosition(qint32 position) { Seek(position, SeekOrigin::Beginning); }
    // Cuts or extends the data (extension with zero bytes).
    void SetSize(qint32 size);

    // Copies everything from position 0 to destination in CopyChunkSize pieces;
    // the position is left at the end.
    void CopyTo(QIODevice& destination);

    bool UsingMemory() const { return m_usingMemory; }
    bool ReadOnly() const { return m_readOnly; }
    // The name the temporary file had when it was made (for messages; it is
    // no longer in the folder); empty before a spill.
    QString TempFileName() const { return m_tempFileName; }
    // The file behind the stream (temporary or opened); empty while in memory.
    QString FileName() const;
    qint32 SpillLimit() const { return m_spillLimit; }

    std::recursive_mutex& Lock() { return m_lock; }

private:
    void Spill();
    [[noreturn]] void FileFailure(const QString& what) const;

    std::recursive_mutex m_lock;
    QByteArray m_memory;
    qint32 m_memoryPosition = 0;
    QString m_tempFileName;
    std::unique_ptr<QFile> m_file;
    bool m_usingMemory = true;
    bool m_readOnly = false;
    qint32 m_spillLimit = 0;
};
