#pragma once
// A pen as a definition sub-object ("Pen.Style = psDash"): colour, style,
// width and mode, with a call back on every change.

#include "TGraphics.h"

#include <QObject>
#include <functional>

class PenHolder : public QObject {
    Q_OBJECT
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(int Mode READ ModeValue WRITE SetModeValue)
    Q_PROPERTY(int Style READ StyleValue WRITE SetStyleValue)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_CLASSINFO("BREnum:Style", "psSolid,psDash,psDot,psDashDot,psDashDotDot,psClear,psInsideFrame")
    Q_CLASSINFO("BREnum:Mode", "pmBlack,pmWhite,pmNop,pmNot,pmCopy,pmNotCopy,pmMergePenNot,pmMaskPenNot,"
                               "pmMergeNotPen,pmMaskNotPen,pmMerge,pmNotMerge,pmMask,pmNotMask,pmXor,pmNotXor")
public:
    explicit PenHolder(std::function<void()> changed = {}) : m_changed(std::move(changed)) {}

    const TPen& Pen() const { return m_pen; }
    void Assign(const TPen& pen);

    TColor Color() const { return m_pen.Color; }
    void SetColor(TColor color);
    int Width() const { return m_pen.Width; }
    void SetWidth(int width);

private:
    int ModeValue() const { return static_cast<int>(m_pen.Mode); }
    void SetModeValue(int v);
    int StyleValue() const { return static_cast<int>(m_pen.Style); }
    void SetStyleValue(int v);
    void Changed();

    TPen m_pen;
    std::function<void()> m_changed;
};
