#pragma once
// A captioned frame around related controls (the pages of the settings
// dialog). Its children lie inside the frame, below the caption.
#include "toolkit/Control.h"

namespace orvane {

class TGroupBox : public TControl {
    ORVANE_COMPONENT(TGroupBox, TControl)
  public:
    explicit TGroupBox(TComponent* owner);

    // Inside the frame and below the caption: where aligned children go.
    RECT ClientRect() const override;

  protected:
    void Paint(TCanvas& canvas) override;

  private:
    int CaptionHeight() const;
};

} // namespace orvane
