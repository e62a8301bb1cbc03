#pragma once
// The file an export filter writes: made beside its final name and put in
// place only by Commit, so a failed or cancelled export leaves nothing behind
// (and never a half-written file under the chosen name). The engine's face
// of CompleteFileWriter: failures are EBRError naming the file.

#include "CompleteFileWriter.h"

#include <QString>

class BRExportFile {
public:
    explicit BRExportFile(const QString& fileName);
    // Unless committed, the partial file is removed.
    ~BRExportFile();

    // Raises EBRError naming the file when it cannot be made.
    void Open();
    bool IsOpen() const { return m_file.isOpen(); }
    // Raises EBRError when the bytes cannot be written (a full disk).
    void Write(const QByteArray& bytes);
    QIODevice* Device() { return &m_file; }
    // Puts the file in place; raises EBRError when that fails.
    void Commit();
    void Discard();

private:
    [[noreturn]] void Fail(const QString& what);

    QString m_fileName;
    CompleteFileWriter m_file;
};
