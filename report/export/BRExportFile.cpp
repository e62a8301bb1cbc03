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
    if (!m_file.Open())
        Fail(QStringLiteral("Cannot create"));
}

void BRExportFile::Write(const QByteArray& bytes)
{
    if (!m_file.isOpen())
        Open();
    if (m_file.write(bytes) != bytes.size())
        Fail(QStringLiteral("Cannot write"));
}

void BRExportFile::Commit()
{
    if (!m_file.isOpen())
        Open();
    if (!m_file.Commit())
        Fail(QStringLiteral("Cannot write"));
}

void BRExportFile::Discard()
{
    m_file.Discard();
}

void BRExportFile::Fail(const QString& what)
{
    const QString reason = m_file.errorString();
    Discard();
    throw EBRError(QStringLiteral("%1 \"%2\": %3").arg(what, QDir::toNativeSeparators(m_fileName), reason));
}
