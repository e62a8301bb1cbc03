#include "TabPages.h"

#include <QStackedWidget>
#include <QTabWidget>

namespace brp {

void BringTabPageForward(QWidget* control)
{
    if (!control)
        return;
    QWidget* page = control->parentWidget();
    if (!page)
        return;
    // A tab widget keeps its pages in an inner stack.
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (tabs && tabs->indexOf(page) >= 0)
        tabs->setCurrentWidget(page);
}

} // namespace brp
