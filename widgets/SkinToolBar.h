#pragma once
// Tool bars: a skinned strip whose buttons stand in one row, left to right in
// the order they joined it. Buttons added with AddButton take the bar's button
// size, flat look and hint setting; buttons whose sizes change later (task
// buttons) push the ones after them along.
#include "toolkit/Control.h"
#include "widgets/SkinButton.h"

#include <string>

namespace orvane {

class TSkinToolBar : public TControl, public TSkinButtonHost {
    ORVANE_COMPONENT(TSkinToolBar, TControl)
  public:
    explicit TSkinToolBar(TComponent* owner);

    // Joins the bar's flat look with its buttons'.
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    // Off: the buttons show only their images.
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool show);
    // Whether the buttons' hints pop up; off leaves the hints as plain data.
    bool ShowHints() const { return showHints_; }
    void SetShowHints(bool show);
    // The images of buttons that have an image index but no glyph.
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    const std::string& SkinElement() const { return skinElement_; }
    void SetSkinElement(const std::string& name);
    // The size of the buttons added from now on; setting it resizes the
    // buttons already there.
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int width);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int height);

    // A new speed button owned by the bar, at the right end of the row.
    TSkinSpeedButton* AddButton(const std::string& caption, int imageIndex = -1);

    // Places the children: aligned ones by their Align, then the others one
    // after another from the left, at the top, in the order they joined.
    void Arrange();
    // Many button changes in a row (the task buttons' layout) arrange the row
    // once, at EndUpdate, instead of once per change.
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();

    TImageList* ButtonImages() const override { return images_; }
    bool ButtonCaptionsShown() const override { return showCaptions_; }
    void ButtonLayoutChanged() override { Arrange(); }

  protected:
    void Paint(TCanvas& canvas) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Resized() override;
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    void Adopt(TControl& child);
    void ResizeButtons();

    bool flat_ = false;
    bool showCaptions_ = false;
    bool showHints_ = false;
    TImageList* images_ = nullptr;
    std::string skinElement_ = "panel";
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool arranging_ = false;
    int updateCount_ = 0;
};

} // namespace orvane
