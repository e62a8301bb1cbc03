#include "TBRStream.h"
#include "PageStoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
constexpr qint64 MaxSize = std::numeric_limits<qint32>::max();
}

TBRStream::TBRStream(qint32 spillLimit) : m_spillLimit(std::max<qint32>(spillLimit, 0)) {}

TBRStream::TBRStream(const QString& fileName) : m_usingMemory(false), m_readOnly(true)
{
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        throw StoreFileError(QStringLiteral("Cannot open file \"%1\": %2").arg(fileName, file->errorString()));
    if (file->size() > MaxSize)
        throw StoreFileError(QStringLiteral("Cannot open file \"%1\": larger than 2 GB").arg(fileName));
    m_file = std::move(file);
}

TBRStream::~TBRStream()
{
    std::lock_guard guard(m_lock);
    if (m_file)
        m_file->close();
    // A temporary file has no name left to delete: closing it frees it.
    m_file.reset();
}

QString TBRStream::FileName() const
{
    if (!m_tempFileName.isEmpty())
        return m_tempFileName;
    return m_file ? m_file->fileName() : QString();
}

void TBRStream::FileFailure(const QString& what) const
{
    throw StoreFileError(QStringLiteral("%1 \"%2\": %3").arg(what, m_file->fileName(), m_file->errorString()));
}

qint32 TBRStream::Read(void* buffer, qint32 count)
{
    std::lock_guard guard(m_lock);
    if (count <= 0)
        return 0;
    if (m_usingMemory) {
        const qint64 available = std::max<qint64>(0, m_memory.size() - m_memoryPosition);
        const qint32 n = qint32(std::min<qint64>(count, available));
        if (n > 0)
            std::memcpy(buffer, m_memory.constData() + m_memoryPosition, size_t(n));
        m_memoryPosition += n;
        return n;
    }
    const qint64 n = m_file->read(static_cast<char*>(buffer), count);
    if (n < 0)
        FileFailure(QStringLiteral("Cannot read file"));
    return qint32(n);
}

qint32 TBRStream::Write(const void* buffer, qint32 count)
{
    std::lock_guard guard(m_lock);
    if (count <= 0)
        return 0;
    if (m_readOnly)
        throw StoreFileError(QStringLiteral("Cannot write to \"%1\": the file is open read-only").arg(FileName()));
    const qint64 position = Position();
    if (position + count > MaxSize)
        throw StoreFileError(QStringLiteral("Page store full: it cannot grow beyond 2 GB"));
    if (m_usingMemory) {
        // Spill before writing, so that a temporary file that cannot be made
        // leaves the data as they were and the failed write did not happen.
        const qint64 newSize = std::max<qint64>(m_memory.size(), position + count);
        if (newSize > m_spillLimit)
            Spill();
    }
    if (m_usingMemory) {
        if (position + count > m_memory.size())
            m_memory.resize(position + count, '\0');
        std::memcpy(m_memory.data() + position, buffer, size_t(count));
        m_memoryPosition = qint32(position + count);
        return count;
    }
    if (m_file->write(static_cast<const char*>(buffer), count) != count)
        FileFailure(QStringLiteral("Cannot write file"));
    return count;
}

void TBRStream::Spill()
{
    // An unusable TMPDIR makes tempPath() empty: refuse rather than fall back
    // to a name relative to the root.
    const QString dir = QDir::tempPath();
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        throw StoreFileError(QStringLiteral("Cannot create a temporary page file: the temporary directory \"%1\" "
                                            "does not exist").arg(qEnvironmentVariable("TMPDIR", dir)));
    QByteArray pattern = QFile::encodeName(dir + QStringLiteral("/BRPXXXXXX.tmp"));
    const int fd = ::mkostemps(pattern.data(), 4, O_CLOEXEC);
    if (fd < 0)
        throw StoreFileError(QStringLiteral("Cannot create a temporary page file in \"%1\": %2")
                                 .arg(dir, QString::fromLocal8Bit(std::strerror(errno))));
    // Gone from the folder at once: the open descriptor keeps the data, and
    // the system frees them however the process ends (a signal included).
    ::unlink(pattern.constData());
    const QString name = QFile::decodeName(pattern);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw StoreFileError(QStringLiteral("Cannot open temporary page file \"%1\": %2").arg(name, file->errorString()));
    }
    if (file->write(m_memory) != m_memory.size() || !file->flush() || !file->seek(m_memoryPosition))
        throw StoreFileError(QStringLiteral("Cannot write temporary page file \"%1\": %2").arg(name, file->errorString()));
    m_tempFileName = name;
    m_file = std::move(file);
    m_memory = QByteArray();
    m_memoryPosition = 0;
    m_usingMemory = false;
}

qint32 TBRStream::Seek(qint32 offset, SeekOrigin origin)
{
    std::lock_guard guard(m_lock);
    qint64 base = 0;
    switch (origin) {
    case SeekOrigin::Beginning: base = 0; break;
    case SeekOrigin::Current: base = Position(); break;
    case SeekOrigin::End: base = Size(); break;
    }
    const qint64 target = base + offset;
    if (target < 0 || target > MaxSize)
        throw StoreFileError(QStringLiteral("Seek to %1 outside the page store").arg(target));
    if (m_usingMemory) {
        m_memoryPosition = qint32(target);
    } else if (!m_file->seek(target)) {
        FileFailure(QStringLiteral("Cannot seek in file"));
    }
    return qint32(target);
}

qint32 TBRStream::Size()
{
    std::lock_guard guard(m_lock);
    return m_usingMemory ? qint32(m_memory.size()) : qint32(std::min(m_file->size(), MaxSize));
}

qint32 TBRStream::Position()
{
    std::lock_guard guard(m_lock);
    return m_usingMemory ? m_memoryPosition : qint32(m_file->pos());
}

void TBRStream::SetSize(qint32 size)
{
    std::lock_guard guard(m_lock);
    if (size < 0)
        throw StoreFileError(QStringLiteral("Negative page store size"));
    if (m_readOnly)
        throw StoreFileError(QStringLiteral("Cannot change \"%1\": the file is open read-only").arg(FileName()));
    if (m_usingMemory) {
        if (size > m_spillLimit) {
            Spill();
        } else {
            m_memory.resize(size, '\0');
            m_memoryPosition = std::min(m_memoryPosition, size);
            return;
        }
    }
    const qint64 position = m_file->pos();
    if (!m_file->resize(size))
        FileFailure(QStringLiteral("Cannot resize file"));
    m_file->seek(std::min<qint64>(position, size));
}

void TBRStream::CopyTo(QIODevice& destination)
{
    std::lock_guard guard(m_lock);
    Seek(0, SeekOrigin::Beginning);
    QByteArray chunk(CopyChunkSize, Qt::Uninitialized);
    for (;;) {
        const qint32 n = Read(chunk.data(), CopyChunkSize);
        if (n <= 0)
            break;
        if (destination.write(chunk.constData(), n) != n)
            throw StoreFileError(QStringLiteral("Cannot write the copy of the page store: %1")
                                     .arg(destination.errorString()));
    }
}
