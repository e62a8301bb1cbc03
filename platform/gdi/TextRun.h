#pragma once
// One piece of text drawn on a page and the box it covers, in the page's
// reference pixels (the units it was recorded in).

#include <QRect>
#include <QString>

struct TextRun {
    QString Text;
    QRect Rect;
};
