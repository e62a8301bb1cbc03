#pragma once
// Helpers for the drawing surface tests: a sample page that uses every record
// the recorder writes, a walker over EMF records, and a writer for hand-made
// (and deliberately broken) metafiles.

#include "TCanvas.h"

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstdint>
#include <vector>

namespace emftest {

constexpr int kA4Width = 794;   // A4 portrait at 96 pixels per inch
constexpr int kA4Height = 1123;

inline const QString kAccented = QStringLiteral("Relatório de Pedidos: Ação, Índice, Über");

// Draws a page with text in three alignments and both background modes,
// fonts of three families and styles, solid and dashed pens, solid and clear
// brushes, every shape, a fill, a clipping reset and a nested picture.
void DrawSamplePage(TCanvas& c, const QByteArray& nestedPicture = {});

struct RecordInfo {
    std::uint32_t type;
    std::uint32_t offset;
    std::uint32_t size;
};
// Every record in order; stops at the first size that does not fit.
std::vector<RecordInfo> Records(const QByteArray& emf);

inline std::uint32_t U32(const QByteArray& b, qsizetype off)
{
    return qFromLittleEndian<std::uint32_t>(reinterpret_cast<const uchar*>(b.constData()) + off);
}
inline std::int32_t I32(const QByteArray& b, qsizetype off) { return std::int32_t(U32(b, off)); }

// Appends records to a metafile; Header() gives a 108-byte header for a
// 100 x 100 pixel picture at 96 pixels per inch, Bytes() the whole file.
class Writer {
public:
    Writer& Record(std::uint32_t type, const std::vector<std::uint32_t>& fields);
    Writer& Raw(const QByteArray& bytes) { m_body.append(bytes); return *this; }
    QByteArray Bytes(bool withEof = true) const;
    // Replaces the header's 25 fields after type and size.
    Writer& Header(const std::vector<std::uint32_t>& fields) { m_header = fields; return *this; }

private:
    QByteArray m_body;
    std::vector<std::uint32_t> m_header;
};

}  // namespace emftest
