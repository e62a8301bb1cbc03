#pragma once

class QWidget;

// When `control` sits directly on a page of a tab widget, makes that page the
// current one so the control can be seen; otherwise does nothing.
void BringTabPageForward(QWidget* control);
