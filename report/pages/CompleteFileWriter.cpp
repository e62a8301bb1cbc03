#include "CompleteFileWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray encoded(const QString& name)
{
    return QFile::encodeName(name);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file a name stands for: links are followed, so that the link stays a
// link and the file it names is the one replaced.
QString resolvedTarget(const QString& name)
{
    const QFileInfo info(name);
    if (!info.isSymLink())
        return info.absoluteFilePath();
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

} // namespace

CompleteFileWriter::CompleteFileWriter(const QString& fileName) : m_fileName(fileName) {}

CompleteFileWriter::~CompleteFileWriter()
{
    Discard();
}

QString CompleteFileWriter::RefusalFor(const QString& fileName)
{
    struct stat st {};
    if (fileName.isEmpty() || ::stat(encoded(fileName).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return QString();
    const char* kind = "not a regular file";
    if (S_ISDIR(st.st_mode))
        kind = "a folder";
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        kind = "a device";
    else if (S_ISFIFO(st.st_mode))
        kind = "a pipe (FIFO)";
    else if (S_ISSOCK(st.st_mode))
        kind = "a socket";
    return QStringLiteral("it is %1, not a regular file").arg(QLatin1String(kind));
}

bool CompleteFileWriter::Open()
{
    if (m_fd >= 0)
        return true;
    m_failed = false;
    if (m_fileName.isEmpty()) {
        setErrorString(QStringLiteral("No file name given"));
        return false;
    }
    const QString refusal = RefusalFor(m_fileName);
    if (!refusal.isEmpty()) {
        setErrorString(refusal);
        return false;
    }
    const QString target = resolvedTarget(m_fileName);
    // Unnamed until committed where the file system allows it: then not even
    // a killed process leaves a partial file behind.
    m_fd = ::open(encoded(QFileInfo(target).absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        setErrorString(systemReason(errno));
        return false;
    }
    if (m_fd < 0 && !CreateNamed(target))
        return false;
    m_target = target;
    // The replaced file's permissions carry over, as an editor saving it would keep them.
    struct stat existing {};
    if (::stat(encoded(target).constData(), &existing) == 0)
        (void)::fchmod(m_fd, existing.st_mode & 07777);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

QString CompleteFileWriter::BesideName(const QString& target)
{
    return target + QStringLiteral(".%1").arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

bool CompleteFileWriter::CreateNamed(const QString& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = BesideName(target);
        m_fd = ::open(encoded(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0) {
            m_temporary = candidate;
            return true;
        }
        if (errno != EEXIST) {
            setErrorString(systemReason(errno));
            return false;
        }
    }
    setErrorString(QStringLiteral("No unused name for a file beside it"));
    return false;
}

bool CompleteFileWriter::GiveName()
{
    if (!m_temporary.isEmpty())
        return true;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString candidate = BesideName(m_target);
        if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, encoded(candidate).constData(), AT_SYMLINK_FOLLOW) == 0) {
            m_temporary = candidate;
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

bool CompleteFileWriter::Fail(int error)
{
    m_failed = true;
    setErrorString(systemReason(error));
    return false;
}

qint64 CompleteFileWriter::writeData(const char* data, qint64 length)
{
    if (m_fd < 0 || m_failed)
        return -1;
    qint64 done = 0;
    while (done < length) {
        const ssize_t n = ::write(m_fd, data + done, size_t(length - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            // A short write is as much a failure as an error: the file would be cut.
            Fail(n < 0 ? errno : ENOSPC);
            return -1;
        }
    }
    return done;
}

bool CompleteFileWriter::seek(qint64 position)
{
    if (m_fd < 0 || !QIODevice::seek(position))
        return false;
    if (::lseek(m_fd, position, SEEK_SET) < 0)
        return Fail(errno);
    return true;
}

qint64 CompleteFileWriter::size() const
{
    struct stat st {};
    return m_fd >= 0 && ::fstat(m_fd, &st) == 0 ? qint64(st.st_size) : 0;
}

bool CompleteFileWriter::Commit()
{
    if (m_fd < 0 && !Open())
        return false;
    // Delayed allocation may only say "full" when the data are flushed.
    if (!m_failed && ::fsync(m_fd) != 0 && errno != EINVAL && errno != EROFS)
        Fail(errno);
    if (!m_failed)
        GiveName();
    if (::close(m_fd) != 0 && errno != EINTR && !m_failed)
        Fail(errno);
    m_fd = -1;
    if (!m_failed && ::rename(encoded(m_temporary).constData(), encoded(m_target).constData()) != 0)
        Fail(errno);
    if (m_failed) {
        const QString reason = errorString();
        Discard();
        setErrorString(reason);
        return false;
    }
    m_temporary.clear();
    QIODevice::close();
    return true;
}

void CompleteFileWriter::RemoveTemporary()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(encoded(m_temporary).constData());
    m_temporary.clear();
}

void CompleteFileWriter::Discard()
{
    RemoveTemporary();
    if (isOpen())
        QIODevice::close();
}
