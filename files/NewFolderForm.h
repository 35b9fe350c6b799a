#pragma once
// The name-entry dialog of the file browser's folder commands: a prompt, an
// edit box, OK and Cancel. It lives for one command only.
#include "toolkit/Form.h"

namespace orvane {

class TLabel;
class TSkinButton;
class TSkinEdit;

class TfrmNewFolder : public TForm {
    ORVANE_COMPONENT(TfrmNewFolder, TForm)
  public:
    TfrmNewFolder(TComponent* owner, std::string designedName);

    TLabel* lbNewFolder = nullptr;
    TSkinEdit* edFolderName = nullptr;
    TSkinButton* Button1 = nullptr;
    TSkinButton* btnCancel = nullptr;

  protected:
    void FormCreate() override;

  private:
    void CreateControls();
    void WireEvents();
};

} // namespace orvane
