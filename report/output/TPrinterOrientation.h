#pragma once
// Page orientation shared by the report page, the settings and the output target.

enum TPrinterOrientation { poPortrait = 0, poLandscape = 1 };
