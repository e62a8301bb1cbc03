#pragma once
// Where the commands put what they make. An output is a file, written
// complete or not at all (CompleteFileWriter), or "-" for standard output.
// Before any work, an output is refused when it is one of the command's own
// inputs (the same file, whatever the name) or an existing node that is not
// a regular file (a device, a FIFO, a folder): either would be destroyed.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QIODevice;

namespace brptool {

// Exit code of a refused output: the arguments are wrong.
constexpr int RefusedOutputExit = 2;

inline bool isStandardOutput(const QString& out)
{
    return out == QLatin1String("-");
}

// Why out cannot be written by a command that reads inputs; empty when it can.
QString outputRefusal(const QString& out, const QStringList& inputs);
// The same as a command's check: prints "command: why" and returns
// RefusedOutputExit when refused, 0 when the output can be written.
int checkOutput(const char* command, const QString& out, const QStringList& inputs);

// Says what was written ("OUT: what"): on standard output, unless that is
// where the output itself went.
void reportWritten(const QString& out, const QString& what);

// Writes what `write` puts into the device to out. False with *error set
// (the system's reason) when any of it could not be written; a file is then
// left as it was.
bool writeOutput(const QString& out, const std::function<bool(QIODevice&)>& write, QString* error);
bool writeOutput(const QString& out, const QByteArray& bytes, QString* error);
// An image as PNG, encoded in memory first: the PNG library gives up on a
// failed write by jumping out of Qt's encoder, which then leaks its buffers.
bool writePng(const QString& out, const QImage& image, QString* error);

// A file name for code that writes to a name of its own choosing (the export
// filters, the page store): the output itself, or for "-" a temporary file
// (named with the given extension) that Finish copies to standard output.
class OutputPath {
public:
    OutputPath(const QString& out, const QString& extension);
    const QString& Path() const { return m_path; }
    bool Finish(QString* error);

private:
    QString m_out;
    QString m_path;
    std::unique_ptr<QTemporaryDir> m_staging;
};

} // namespace brptool
