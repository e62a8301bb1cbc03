#pragma once
// Full disks for tests: a small tmpfs mounted on a fresh folder (needs the
// right to mount; tests skip with the reason where it is refused), and a
// file size limit for the process, which works anywhere.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

class SmallDisk {
public:
    explicit SmallDisk(qint64 bytes)
    {
        if (!m_dir.isValid()) {
            m_reason = QStringLiteral("no temporary folder");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
        if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    options.constData()) != 0) {
            m_reason = QStringLiteral("cannot mount a small tmpfs here: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    const QString& Reason() const { return m_reason; }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    qint64 FreeBytes() const
    {
        struct statvfs st {};
        if (::statvfs(QFile::encodeName(m_dir.path()).constData(), &st) != 0)
            return -1;
        return qint64(st.f_bavail) * qint64(st.f_frsize);
    }
    // Takes room with a filler file until at most `bytes` are free.
    void LeaveFree(qint64 bytes)
    {
        QFile filler(Path(QStringLiteral("filler")));
        if (!filler.open(QIODevice::Append))
            return;
        const QByteArray block(4096, 'f');
        while (FreeBytes() > bytes && filler.write(block) == block.size() && filler.flush()) {
        }
    }
    // Files on the disk other than the filler, hidden ones included.
    QStringList Files() const
    {
        QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        files.removeAll(QStringLiteral("filler"));
        return files;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_reason;
};

// A file size limit for the process while it lives, SIGXFSZ ignored so that
// writing past it fails with EFBIG ("File too large") instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
};
