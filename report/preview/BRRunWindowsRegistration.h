#pragma once
// Gives the report's run this library's progress window and print set-up
// dialog; done with the standard preview's registration at start.

void RegisterRunWindows();
