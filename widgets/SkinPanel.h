#pragma once
// Panels: a face in the skin element's colours with a bevel round it, and an
// optional caption in the middle. The taskbar and the start panel are built
// from them.
#include "toolkit/Control.h"

#include <string>

namespace orvane {

// Frame: an etched ring, sunken outside and raised inside.
enum class TPanelBevel { None, Lowered, Raised, Frame };

class TSkinPanel : public TControl {
    ORVANE_COMPONENT(TSkinPanel, TControl)
  public:
    explicit TSkinPanel(TComponent* owner);

    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    const std::string& SkinElement() const { return skinElement_; }
    void SetSkinElement(const std::string& name);
    // The caption is drawn in the element's font when true, else in Font.
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool use);

    // The client rectangle less the bevel: where children and the caption go.
    RECT InnerRect() const;

  protected:
    void Paint(TCanvas& canvas) override;
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    TPanelBevel bevelOuter_ = TPanelBevel::Raised;
    std::string skinElement_ = "panel";
    bool useSkinFont_ = true;
};

} // namespace orvane
