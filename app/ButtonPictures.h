#pragma once
// Pictures of the window's buttons, 16 x 16, each with a greyed version for
// the disabled state.

#include <QIcon>

namespace ButtonPictures {
QIcon Impressora();   // a printer
QIcon PaginaNova();   // a blank page with a plus sign
QIcon PortaAberta();  // an open door

// The 16 x 16 normal and greyed pixmaps behind an icon.
QPixmap Normal(const QIcon& icon);
QPixmap Acinzentada(const QIcon& icon);
} // namespace ButtonPictures
