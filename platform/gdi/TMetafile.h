#pragma once
// A recorded page: the bytes of one enhanced metafile and its size in
// reference pixels (the size it was recorded at).

#include <QByteArray>
#include <utility>

class TMetafile {
public:
    TMetafile() = default;
    TMetafile(int width, int height) : m_width(width), m_height(height) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetWidth(int w) { m_width = w; }
    void SetHeight(int h) { m_height = h; }

    const QByteArray& Data() const { return m_data; }
    // Takes a finished recording (keeps Width/Height).
    void SetData(const QByteArray& data) { m_data = data; }
    // Hands the bytes over, leaving the metafile empty.
    QByteArray TakeData() { return std::exchange(m_data, QByteArray()); }
    bool Empty() const { return m_data.isEmpty(); }

    // Loads EMF bytes and takes Width/Height from the header's frame at the
    // header's reference resolution. Throws PlatformError on a bad header.
    void LoadFromBytes(const QByteArray& data);
    // The reference resolution Width and Height are in: the loaded header's,
    // 0 when nothing was loaded.
    double PixelsPerInchX() const { return m_ppiX; }
    double PixelsPerInchY() const { return m_ppiY; }

private:
    int m_width = 0;
    int m_height = 0;
    double m_ppiX = 0, m_ppiY = 0;
    QByteArray m_data;
};
