#include "VirtualKeys.h"

#include <QKeyEvent>

namespace brp {

std::uint16_t VirtualKeyOf(const QKeyEvent& event)
{
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (event.modifiers() & Qt::KeypadModifier)
            return static_cast<std::uint16_t>(0x60 + (key - Qt::Key_0));
        return static_cast<std::uint16_t>(key);
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<std::uint16_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<std::uint16_t>(0x70 + (key - Qt::Key_F1));
    using namespace VirtualKey;
    switch (key) {
    case Qt::Key_Backspace: return Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Return;
    case Qt::Key_Shift: return Shift;
    case Qt::Key_Control: return Control;
    case Qt::Key_Alt: return Menu;
    case Qt::Key_Escape: return Escape;
    case Qt::Key_Space: return Space;
    case Qt::Key_PageUp: return Prior;
    case Qt::Key_PageDown: return Next;
    case Qt::Key_End: return End;
    case Qt::Key_Home: return Home;
    case Qt::Key_Left: return Left;
    case Qt::Key_Up: return Up;
    case Qt::Key_Right: return Right;
    case Qt::Key_Down: return Down;
    case Qt::Key_Insert: return Insert;
    case Qt::Key_Delete: return Delete;
    case Qt::Key_Slash: return 0xBF;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
    }
}

} // namespace brp
