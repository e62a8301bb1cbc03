#pragma once
// What the operator reads when a print or a printer set-up finds no printer
// installed: that there is none, and how one is added.

#include <QString>

namespace brp {

QString NoPrinterMessage();

} // namespace brp
