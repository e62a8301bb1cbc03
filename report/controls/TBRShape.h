#pragma once
// A printable figure: rectangle, ellipse, lines or rounded rectangle drawn
// with its own pen and brush. It never stretches and draws no frame.

#include "BRControlTypes.h"
#include "BrushHolder.h"
#include "PenHolder.h"
#include "TBRPrintable.h"

#include <memory>

class TBRShape : public TBRPrintable {
    Q_OBJECT
    Q_PROPERTY(BrushHolder* Brush READ BrushObject)
    Q_PROPERTY(PenHolder* Pen READ PenObject)
    Q_PROPERTY(int Shape READ ShapeValue WRITE SetShapeValue)
    Q_PROPERTY(double RoundFactor READ RoundFactor WRITE SetRoundFactor)
    Q_PROPERTY(int VertAdjust READ VertAdjust WRITE SetVertAdjust)
    Q_CLASSINFO("BREnum:Shape", "brsRectangle,brsCircle,brsVertLine,brsHorLine,brsTopAndBottom,brsRightAndLeft,"
                                "brsRoundRect")
public:
    explicit TBRShape(TComponent* owner = nullptr);
    ~TBRShape() override;

    void PrintAt(int offsetX, int offsetY) override;

    TBRShapeType Shape() const { return m_shape; }
    void SetShape(TBRShapeType shape);
    const TPen& Pen() const { return m_pen->Pen(); }
    void SetPen(const TPen& pen) { m_pen->Assign(pen); }
    const TBrush& Brush() const { return m_brush->Brush(); }
    void SetBrush(const TBrush& brush) { m_brush->Assign(brush); }
    PenHolder* PenObject() const { return m_pen.get(); }
    BrushHolder* BrushObject() const { return m_brush.get(); }
    // Corner size of a rounded rectangle as a fraction of the pixel width.
    float RoundFactor() const { return m_roundFactor; }
    void SetRoundFactor(double factor);
    // Kept for definitions; drawing does not use it.
    int VertAdjust() const { return m_vertAdjust; }
    void SetVertAdjust(int value) { m_vertAdjust = value; }

    void WriteProperties(BRDefinitionWriter& writer) const override;

private:
    int ShapeValue() const { return m_shape; }
    void SetShapeValue(int v);

    std::unique_ptr<PenHolder> m_pen;
    std::unique_ptr<BrushHolder> m_brush;
    TBRShapeType m_shape = brsRectangle;
    float m_roundFactor = 0;
    int m_vertAdjust = 0;
};
