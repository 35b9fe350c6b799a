#pragma once
// The about box: the program's name, version and logo. Made once at start,
// kept hidden, shown (not modally) from the start panel's Help section; its
// OK button hides it again.
#include "toolkit/Form.h"

namespace orvane {

class TImage;
class TLabel;
class TSkinBevel;
class TSkinButton;
class TSkinPanel;

class TfrmAbout : public TForm {
    ORVANE_COMPONENT(TfrmAbout, TForm)
  public:
    explicit TfrmAbout(TComponent* owner);

    TSkinPanel* plLogo = nullptr;
    TImage* Image1 = nullptr;
    TLabel* lbProgName = nullptr;
    TLabel* lbVer = nullptr;
    TSkinBevel* Bevel1 = nullptr;
    TLabel* lbLaws = nullptr;
    TSkinButton* btnOK = nullptr;

    void btnOKClick();

  protected:
    void FormCreate() override;

  private:
    void CreateControls();
    void WireEvents();
};

// The about box; null before it exists.

} // namespace orvane
