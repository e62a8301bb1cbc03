#pragma once
// Windows font names to the installed faces every canvas uses ("Arial" to
// Liberation Sans and so on), and the QFont for a canvas font at a device
// resolution. Recording, painting and playback all measure with these.

#include "TGraphics.h"

#include <QFont>
#include <QString>

class FontMapper {
public:
    // The installed family that stands in for a font name.
    static QString MapFamily(const QString& name);
    // A pixel-sized QFont for the font; Height is in device pixels
    // (negative: em height; positive: cell height; 0: the default 13 pixels).
    static QFont ToQFont(const TFont& font);
    // The same from raw record fields (what a metafile's font record holds).
    static QFont ToQFont(const QString& name, int height, int weight, bool italic, bool underline,
                         bool strikeOut, std::uint8_t charset, std::uint8_t pitchAndFamily);
};
