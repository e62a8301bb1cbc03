#pragma once
// Plays enhanced metafile bytes onto a QPainter, the picture's frame stretched
// over a target rectangle. Reads what real files contain and skips by size
// what it does not paint. Input is untrusted: every size, offset and count is
// checked against the buffer, allocations are capped, and a damaged file ends
// playback with an error text instead of a crash.

#include <QByteArray>
#include <QRectF>
#include <QString>

class QPainter;

struct EmfHeaderInfo {
    int BoundsLeft = 0, BoundsTop = 0, BoundsRight = 0, BoundsBottom = 0;  // reference pixels, inclusive
    int FrameLeft = 0, FrameTop = 0, FrameRight = 0, FrameBottom = 0;      // 0.01 mm, inclusive
    quint32 Bytes = 0;
    quint32 Records = 0;
    quint16 Handles = 0;
    int DeviceWidth = 0, DeviceHeight = 0;        // reference device, pixels
    int MillimetersWidth = 0, MillimetersHeight = 0;
    int MicrometersWidth = 0, MicrometersHeight = 0;  // 0 when the header is short
    quint32 HeaderSize = 0;
    QString Description;
    // Frame size in reference pixels.
    double FrameWidthPixels() const;
    double FrameHeightPixels() const;
};

struct EmfPlayResult {
    enum class Status { Complete, Partial, Refused };
    Status status = Status::Refused;
    QString error;          // empty when Complete
    int recordsPlayed = 0;  // records read, painted or skipped
    int recordsSkipped = 0; // records of a type that is not painted
    bool Ok() const { return status == Status::Complete; }
};

class EmfPlayer {
public:
    // Larger pictures are refused.
    static constexpr qint64 MaxBytes = 256 * 1024 * 1024;

    // Reads and checks the header; false with a message when it is not an
    // enhanced metafile.
    static bool ReadHeader(const QByteArray& emf, EmfHeaderInfo* info, QString* error = nullptr);

    // Paints the picture into `target` (painter coordinates).
    static EmfPlayResult Play(const QByteArray& emf, QPainter* painter, const QRectF& target);
};
