#pragma once
// Labels: a caption painted on its own small window, usually transparent over
// the dialog or the wallpaper behind it.
#include "toolkit/Control.h"

namespace orvane {

enum class TAlignment { LeftJustify, RightJustify, Center };

class TCustomLabel : public TControl {
    ORVANE_COMPONENT(TCustomLabel, TControl)
  public:
    explicit TCustomLabel(TComponent* owner);

    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // The label follows the size of its text: its width and height, or only
    // the height when the text wraps.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    // Fits the bounds to the text again; call it after changing Font.
    void AdjustBounds();

  protected:
    void Paint(TCanvas& canvas) override;
    void CaptionChanged() override;
    void HandleCreated() override;
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    UINT TextFlags() const;

    bool wordWrap_ = false;
    TAlignment alignment_ = TAlignment::LeftJustify;
    bool autoSize_ = true;
};

class TLabel : public TCustomLabel {
    ORVANE_COMPONENT(TLabel, TCustomLabel)
  public:
    using TCustomLabel::TCustomLabel;
};

} // namespace orvane
