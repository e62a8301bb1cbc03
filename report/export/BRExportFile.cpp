#include "BRExportFile.h"
#include "EBRError.h"

#include <QDir>

BRExportFile::BRExportFile(const QString& fileName) : m_fileName(fileName), m_file(fileName) {}

BRExportFile::~BRExportFile()
{
    Discard();
}

void BRExportFile::Open()
{
    if (!m_file.open(QIODevice::WriteOnly))
        fail(QStringLiteral("Cannot create"));
}

void BRExportFile::Write(const QByteArray& bytes)
{
    if (!m_file.isOpen())
        Open();
    if (m_file.write(bytes) != bytes.size())
        fail(QStringLiteral("Cannot write"));
}

void BRExportFile::Commit()
{
    if (!m_file.isOpen())
        Open();
    // A write cut short by a full disk or a file size limit is not always an
    // error to QSaveFile: compare what reached the file with what was written.
    const qint64 written = m_file.pos();
    if (!m_file.flush() || m_file.size() != written) {
        if (m_file.error() == QFileDevice::NoError)
            fail(QStringLiteral("Cannot write"),
                 QStringLiteral("only %1 of %2 bytes reached the disk (is it full?)").arg(m_file.size()).arg(written));
        fail(QStringLiteral("Cannot write"));
    }
    if (!m_file.commit())
        fail(QStringLiteral("Cannot write"));
}

void BRExportFile::Discard()
{
    if (!m_file.isOpen())
        return;
    // A cancelled commit removes the file made beside the chosen name.
    m_file.cancelWriting();
    m_file.commit();
}

void BRExportFile::fail(const QString& what, const QString& why)
{
    const QString reason = why.isEmpty() ? m_file.errorString() : why;
    Discard();
    throw EBRError(QStringLiteral("%1 \"%2\": %3").arg(what, QDir::toNativeSeparators(m_fileName), reason));
}
