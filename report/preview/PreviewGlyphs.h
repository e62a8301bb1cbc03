#pragma once
// The preview tool bar's glyphs, drawn as vector shapes at whatever size and
// screen density they are asked for (never a scaled bitmap). Index order is
// the tool bar's image list: 0 zoom to fit, 1 100 %, 2 zoom to width, 3 first
// page, 4 previous, 5 next, 6 last, 7 printer setup, 8 print, 9 load, 10
// save, 11 go to page; 12 and 13 are blank (the dividers' images); 14 page
// thumbnails, 15 find.

#include <QIcon>

namespace PreviewGlyphs {
constexpr int Count = 16;
// A blank icon for an index outside 0..Count-1.
QIcon Glyph(int index);
} // namespace PreviewGlyphs
