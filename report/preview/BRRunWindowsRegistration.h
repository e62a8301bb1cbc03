#pragma once
// Gives the report's run this library's progress window and print set-up
// dialog; done by the engine's start-up with the standard preview's registration.

namespace brp {

void RegisterRunWindows();

} // namespace brp
