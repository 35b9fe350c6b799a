#pragma once
// A box its owner draws into on every paint (the desktop's calendar). Whatever
// the handler leaves unpainted shows the parent behind the box.
#include "toolkit/Control.h"

#include <functional>

namespace orvane {

class TPaintBox;
using TPaintBoxEvent = std::function<void(TPaintBox& sender, TCanvas& canvas)>;

class TPaintBox : public TControl {
    ORVANE_COMPONENT(TPaintBox, TControl)
  public:
    explicit TPaintBox(TComponent* owner);

    TPaintBoxEvent OnPaint;

  protected:
    void Paint(TCanvas& canvas) override;
};

} // namespace orvane
