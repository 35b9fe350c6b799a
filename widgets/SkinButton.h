#pragma once
// Skinned buttons: a face in the skin element's colours that lights up under
// the pointer and sinks while pressed or held down, with a glyph and a caption.
// Speed buttons also latch: in a group (same non-zero GroupIndex under the same
// parent) a click holds one down and lets the others up.
//
// Other programs see a button's down state through BM_GETCHECK, as with a
// system check box.
#include "base/Win32Handles.h"
#include "toolkit/Control.h"

#include <string>

namespace orvane {

class TImageList;
struct TSkinElement;

// The control that lines skinned buttons up (a tool bar). Its buttons take
// their images and caption setting from it and tell it when they move, resize
// or show, so that it can arrange the row again.
class TSkinButtonHost {
  public:
    virtual TImageList* ButtonImages() const = 0;
    virtual bool ButtonCaptionsShown() const = 0;
    virtual void ButtonLayoutChanged() = 0;

  protected:
    ~TSkinButtonHost() = default;
};

class TSkinButton : public TControl {
    ORVANE_COMPONENT(TSkinButton, TControl)
  public:
    explicit TSkinButton(TComponent* owner);

    // A copy of `bitmap` is kept (null clears the glyph); its bottom-left pixel
    // gives the colour drawn transparent. A glyph wins over an image index.
    void SetGlyph(HBITMAP bitmap);
    HBITMAP Glyph() const { return glyph_.get(); }
    // An image of Images (or of the tool bar the button sits on); -1 for none.
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);

    // Pixels from the left edge to the glyph (or caption); -1 centres both.
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    // Pixels between glyph and caption; -1 centres the caption in the room
    // right of the glyph.
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);

    // True: the caption is drawn in the skin element's font and in its hot,
    // down and disabled font colours. False: in Font, whatever the state (but
    // disabled); the owner sets name, size, colour and bold there.
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool use);
    const std::string& SkinElement() const { return skinElement_; }
    void SetSkinElement(const std::string& name);
    // A flat button shows its face and border only under the pointer, pressed
    // or down; otherwise what lies behind it.
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);

    // Setting Down on a grouped button lets the others of its group up.
    bool Down() const { return down_; }
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    // Whether a click may let the last down button of a group up. Shared by
    // the whole group, as it only makes sense for all of it.
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow);

    // Set on the form that holds the button when it is clicked (0: none).
    int ModalResult = 0;

    void SetBounds(int left, int top, int width, int height) override;
    void SetVisible(bool visible) override;
    void Click() override;

  protected:
    void Paint(TCanvas& canvas) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PublishProperties(std::vector<TProperty>& properties) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // Whether a click latches the button (speed buttons in a group).
    virtual bool LatchesOnClick() const { return false; }

  private:
    enum class State { Normal, Hot, Down, Disabled };
    // The image the button shows: its own glyph, or an image of Images.
    struct GlyphSource {
        HIMAGELIST list = nullptr;
        int index = -1;
        int width = 0;
        int height = 0;
    };
    State CurrentState() const;
    void PaintFace(TCanvas& canvas, RECT& rect, const TSkinElement& element, State state);
    void SelectCaptionFont(TCanvas& canvas, const TSkinElement& element, State state) const;
    GlyphSource CurrentGlyph() const;
    void PaintGlyphAndCaption(TCanvas& canvas, const RECT& rect, const RECT& outer, State state);
    TImageList* EffectiveImages() const;
    bool ShowsCaption() const;
    void ReleaseGroup();
    TSkinButtonHost* Host() const;
    void TellHost();

    UniqueBitmap glyph_;
    UniqueImageList glyphList_;
    int imageIndex_ = -1;
    TImageList* images_ = nullptr;
    int margin_ = -1;
    int spacing_ = 4;
    bool useSkinFont_ = true;
    std::string skinElement_ = "button";
    bool flat_ = false;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    bool pressed_ = false;       // the left button went down on it and is held
    bool pressedInside_ = false; // ... and the pointer is over it
};

// A tool or task button: a click on one with a GroupIndex holds it down.
class TSkinSpeedButton : public TSkinButton {
    ORVANE_COMPONENT(TSkinSpeedButton, TSkinButton)
  public:
    using TSkinButton::TSkinButton;

  protected:
    bool LatchesOnClick() const override { return GroupIndex() != 0; }
};

} // namespace orvane
