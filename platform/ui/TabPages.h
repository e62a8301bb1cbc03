#pragma once

class QWidget;

namespace brp {

// When `control` sits directly on a page of a tab widget, makes that page the
// current one so the control can be seen; otherwise does nothing.
void BringTabPageForward(QWidget* control);

} // namespace brp
