#pragma once
// The platform's virtual-key codes, which the windows store and compare.

#include <cstdint>

class QKeyEvent;

namespace VirtualKey {
constexpr std::uint16_t Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Escape = 27,
                        Space = 32, Prior = 33, Next = 34, End = 35, Home = 36, Left = 37, Up = 38,
                        Right = 39, Down = 40, Insert = 45, Delete = 46;
}

namespace brp {

// Virtual-key code of a Qt key press; 0 for keys without one.
std::uint16_t VirtualKeyOf(const QKeyEvent& event);

} // namespace brp
