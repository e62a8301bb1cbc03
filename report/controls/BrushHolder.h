#pragma once
// A brush as a definition sub-object ("Brush.Color = clSilver"): colour and
// style, with a call back on every change.

#include "TGraphics.h"

#include <QObject>
#include <functional>

class BrushHolder : public QObject {
    Q_OBJECT
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(int Style READ StyleValue WRITE SetStyleValue)
    Q_CLASSINFO("BREnum:Style", "bsSolid,bsClear")
public:
    explicit BrushHolder(std::function<void()> changed = {}) : m_changed(std::move(changed)) {}

    const TBrush& Brush() const { return m_brush; }
    void Assign(const TBrush& brush);

    TColor Color() const { return m_brush.Color; }
    void SetColor(TColor color);

private:
    int StyleValue() const { return static_cast<int>(m_brush.Style); }
    void SetStyleValue(int v);
    void Changed();

    TBrush m_brush;
    std::function<void()> m_changed;
};
