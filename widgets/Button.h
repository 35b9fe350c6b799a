#pragma once
// The standard push button of dialogs (OK, Cancel, Add...): the system's own
// button, so it looks and behaves as users expect, with the dialog roles of a
// modal result, the default button and the cancel button.
#include "base/Win32Handles.h"
#include "toolkit/Control.h"

namespace orvane {

class TButton : public TControl {
    ORVANE_COMPONENT(TButton, TControl)
  public:
    explicit TButton(TComponent* owner);
    // The window goes before the font it was given.
    ~TButton() override { DestroyHandle(); }

    // Clicking puts a non-zero value into the form's ModalResult, which ends
    // a modal loop with it.
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Enter clicks the default button, Escape the cancel button (TForm::DialogKey).
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // Hands the current Font to the system button.
    void ApplyFont();

    void Click() override;

    bool AnswersDialogKey(WORD key) const override;

  protected:
    const char* SystemClass() const override { return "BUTTON"; }
    DWORD WindowStyle() const override;
    void HandleCreated() override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
    UniqueFont font_;
};

} // namespace orvane
