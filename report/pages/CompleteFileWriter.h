#pragma once
// A file that appears under its name only when it is whole. Bytes go to a
// new file beside the target; Commit makes sure every byte reached the disk
// and then renames it over the target in one step, so a full disk, a file
// size limit or a failure of the caller leaves an existing file as it was
// (and no partial file beside it). Every failure keeps the system's reason
// ("No space left on device") for the message.
//
// An existing target that is not a regular file (a device, a FIFO, a folder)
// is refused and left untouched: renaming over it would replace the node. A
// symbolic link is followed, as the file it names is the one meant.

#include <QIODevice>
#include <QString>

class CompleteFileWriter : public QIODevice {
public:
    explicit CompleteFileWriter(const QString& fileName);
    // Unless committed, the partial file is removed.
    ~CompleteFileWriter() override;

    CompleteFileWriter(const CompleteFileWriter&) = delete;
    CompleteFileWriter& operator=(const CompleteFileWriter&) = delete;

    // Makes the file beside the target; false with errorString() set.
    bool Open();
    // Puts the file in place; false with errorString() set (the partial file
    // is gone and the target untouched) when any write failed or the data
    // cannot be made durable.
    bool Commit();
    // Drops what was written; the target is untouched.
    void Discard();

    const QString& FileName() const { return m_fileName; }
    // A write failed; Commit will refuse.
    bool Failed() const { return m_failed; }

    // Why fileName cannot be written through this class: an existing node
    // that is not a regular file. Empty when nothing stands in the way.
    static QString RefusalFor(const QString& fileName);

    bool isSequential() const override { return false; }
    bool seek(qint64 position) override;
    qint64 size() const override;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override;

private:
    static QString BesideName(const QString& target);
    bool CreateNamed(const QString& target);
    // An unnamed file gets its name beside the target, for the rename.
    bool GiveName();
    bool Fail(int error);
    void RemoveTemporary();

    QString m_fileName;
    QString m_target;
    QString m_temporary;
    int m_fd = -1;
    bool m_failed = false;
};
