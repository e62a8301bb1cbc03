#pragma once
// Types shared by the printable controls.

#include <QString>
#include <functional>

class TBRCustomLabel;

// Bidirectional mode of a control, as the platform orders them.
enum TBiDiMode { bdLeftToRight = 0, bdRightToLeft = 1, bdRightToLeftNoAlign = 2, bdRightToLeftReadingOnly = 3 };

// The figure a shape draws (ordinals as stored in definitions).
enum TBRShapeType {
    brsRectangle = 0,
    brsCircle = 1,
    brsVertLine = 2,
    brsHorLine = 3,
    brsTopAndBottom = 4,
    brsRightAndLeft = 5,
    brsRoundRect = 6
};

// Called before a label prints; the handler may change the text printed.
using TBRLabelOnPrintEvent = std::function<void(TBRCustomLabel* sender, QString& text)>;
