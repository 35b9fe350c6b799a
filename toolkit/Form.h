#pragma once
// Forms: the top-level windows of the shell. A form's window class is its
// class name (TfrmTaskbar, TfrmStart...), its window text the caption.
#include "toolkit/Control.h"

#include <functional>
#include <string>

namespace orvane {

enum class TBorderStyle { None, Single, Sizeable, Dialog };
enum class TFormStyle { Normal, StayOnTop };
enum class TPosition { Designed, ScreenCenter };
enum class TCloseAction { None, Hide, Free, Minimize };

struct TBorderIcons {
    bool SystemMenu = true;
    bool Minimize = true;
    bool Maximize = true;
};

// Modal results of dialog buttons.
enum : int { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrYes = IDYES, mrNo = IDNO };

class TForm : public TControl {
    ORVANE_COMPONENT(TForm, TControl)
  public:
    // The window is made by CreateForm, once the derived form is complete.
    TForm(TComponent* owner, std::string designedName);
    ~TForm() override;

    const std::string& DesignedName() const { return designedName_; }

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    // Drawn by the skin (caption bar, border, roll-up button) instead of the system.
    bool SkinnedFrame() const { return skinnedFrame_; }
    void SetSkinnedFrame(bool skinned);
    // Whether a skinned frame offers its roll-up button (when the skin has one).
    bool RollUpButton() const { return rollUpButton_; }
    void SetRollUpButton(bool shown) { rollUpButton_ = shown; }
    // A dialog's look: the skinned frame without frame buttons, centred on
    // the screen.
    void SetSkinnedDialog();
    int HelpContext = 0;

    void SetClientSize(int width, int height);

    // Showing centres a ScreenCenter form, activates the form and runs OnShow;
    // hiding runs OnHide.
    void SetVisible(bool visible) override;
    void Close();
    // Shows the form and handles messages until ModalResult is set or the form
    // hides; returns ModalResult. Other forms are disabled meanwhile.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // Destroyed once the current message is handled: WM_RELEASEFORM to the
    // main form's window, or to the application's when there is none.
    void Release();
    // What a window does with WM_RELEASEFORM: frees the form `form` names
    // when it is live and has asked to be released (the message may come from
    // any program), and is neither `receiver` nor the main form. True when
    // freed.
    static bool FreeReleased(LPARAM form, const TForm* receiver);
    // Enter or Escape pressed in the form: clicks the first visible, enabled
    // control that answers the key. True when one was clicked.
    bool DialogKey(WORD key);
    // Tab and Shift+Tab in a dialog: the shown, enabled control with a tab
    // stop after (or before) the one holding `focus`, in creation order,
    // wrapping round; null when the form has none.
    TControl* NextTabStop(HWND focus, bool forward);
    // The live form at `address`, or null: for form references that arrive in
    // messages, which any program could forge.
    static TForm* FindLive(const void* address);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnPaint; // Canvas() is valid while it runs
    std::function<void(TForm& sender, TCloseAction& action)> OnClose;
    std::function<void(TForm& sender, bool& canClose)> OnCloseQuery;

    // The canvas of the paint in progress; null outside painting.
    TCanvas* Canvas() const { return paintCanvas_; }

    // Creates the window, names the form (a second live form of the designed
    // name gets "_1", then "_2"...), runs OnCreate.
    void CreateWindowAndRun();

  protected:
    DWORD WindowStyle() const override;
    DWORD WindowExStyle() const override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint(TCanvas& canvas) override;
    void PublishProperties(std::vector<TProperty>& properties) override;
    // Runs once the window exists: what a designed form sets up at creation.
    virtual void FormCreate() {}

  private:
    void ApplyStyles();
    std::string FreeName() const;

    std::string designedName_;
    TBorderStyle borderStyle_ = TBorderStyle::Sizeable;
    TBorderIcons borderIcons_;
    TFormStyle formStyle_ = TFormStyle::Normal;
    TPosition position_ = TPosition::Designed;
    bool skinnedFrame_ = false;
    bool rollUpButton_ = true;
    int modalResult_ = mrNone;
    bool inModalLoop_ = false;
    bool releasePending_ = false;
    TCanvas* paintCanvas_ = nullptr;
};

// Creates a form owned by `owner` (the application for the main windows) and
// makes its window.
template <typename T, typename... Args> T* CreateForm(TComponent* owner, Args&&... args) {
    T* form = NewComponent<T>(owner, std::forward<Args>(args)...);
    form->CreateWindowAndRun();
    return form;
}

// A control of a dialog (NewChild) in the form's font, at x, y with that size.
template <typename T>
T* PlaceChild(TForm* form, TControl* parent, const std::string& name, int x, int y, int w, int h) {
    return NewChild<T>(form, parent, name, [&](T& control) {
        control.Font = form->Font;
        control.SetBounds(x, y, w, h);
    });
}

// The skinned frame's share of a form's messages (caption bar, border,
// roll-up); true when it handled the message.
bool HandleSkinnedFrameMessage(TForm& form, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result);

} // namespace orvane
