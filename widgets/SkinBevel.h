#pragma once
// Bevels and divider lines drawn in the skin's light and shadow colours, and
// the fill and edge painting the other skinned controls share with them.
#include "toolkit/Control.h"
#include "paint/SkinData.h"

#include <string>

namespace orvane {

// Paints `rect` with a skin fill: one colour, or its gradient.
void PaintSkinFill(TCanvas& canvas, const RECT& rect, const SkinFill& fill);
// A `width` pixel edge inside `rect`, `topLeft` along the top and left sides and
// `bottomRight` along the others; `rect` shrinks to what lies inside the edge.
void PaintSkinEdge(TCanvas& canvas, RECT& rect, COLORREF topLeft, COLORREF bottomRight, int width);
// A `width` pixel border of one colour inside `rect`, which shrinks likewise.
void PaintSkinBorder(TCanvas& canvas, RECT& rect, COLORREF color, int width);

enum class TSkinBevelShape { Box, Frame, TopLine, BottomLine, LeftLine, RightLine, Spacer };
enum class TSkinBevelStyle { Lowered, Raised };

// A sunken or raised box, frame or line over whatever lies behind it.
class TSkinBevel : public TControl {
    ORVANE_COMPONENT(TSkinBevel, TControl)
  public:
    explicit TSkinBevel(TComponent* owner);

    TSkinBevelShape Shape() const { return shape_; }
    void SetShape(TSkinBevelShape shape);
    TSkinBevelStyle Style() const { return style_; }
    void SetStyle(TSkinBevelStyle style);
    const std::string& SkinElement() const { return skinElement_; }
    void SetSkinElement(const std::string& name);

  protected:
    void Paint(TCanvas& canvas) override;
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    TSkinBevelShape shape_ = TSkinBevelShape::Box;
    TSkinBevelStyle style_ = TSkinBevelStyle::Lowered;
    std::string skinElement_ = "bevel";
};

// A two-pixel groove across the middle of the control, dividing what is above
// from what is below (or left from right when vertical).
class TSkinDivider : public TControl {
    ORVANE_COMPONENT(TSkinDivider, TControl)
  public:
    explicit TSkinDivider(TComponent* owner);

    bool Vertical() const { return vertical_; }
    void SetVertical(bool vertical);
    const std::string& SkinElement() const { return skinElement_; }
    void SetSkinElement(const std::string& name);

  protected:
    void Paint(TCanvas& canvas) override;
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    bool vertical_ = false;
    std::string skinElement_ = "bevel";
};

} // namespace orvane
