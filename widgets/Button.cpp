#include "widgets/Button.h"

#include "toolkit/Form.h"

namespace orvane {

namespace {

TForm* ParentForm(TControl* control) {
    for (TControl* at = control->Parent(); at; at = at->Parent())
        if (at->Is<TForm>())
            return static_cast<TForm*>(at);
    return nullptr;
}

} // namespace

TButton::TButton(TComponent* owner) : TControl(owner) {
    SetBounds(0, 0, 75, 25);
}

DWORD TButton::WindowStyle() const {
    return TControl::WindowStyle() | WS_TABSTOP | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
}

void TButton::SetDefault(bool value) {
    default_ = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::HandleCreated() {
    ApplyFont();
}

void TButton::ApplyFont() {
    if (!HandleAllocated())
        return;
    WindowDc screen(nullptr);
    const LOGFONTW description = DescribeFont(Font, screen.get());
    UniqueFont font(CreateFontIndirectW(&description));
    if (!font)
        return; // the system font stays, which is still readable
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    // The button keeps using the old font until told otherwise, so it goes only now.
    font_ = std::move(font);
}

void TButton::Click() {
    // Taken before the handler runs: OnClick may close or free the form.
    if (modalResult_ != 0)
        if (TForm* form = ParentForm(this))
            form->SetModalResult(modalResult_);
    TControl::Click();
}

bool TButton::Reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Click();
        result = 0;
        return true;
    }
    return false;
}

bool TButton::AnswersDialogKey(WORD key) const {
    return key == VK_RETURN ? default_ : key == VK_ESCAPE && cancel_;
}

void TButton::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(IntegerProperty(
        "ModalResult", [this] { return modalResult_; },
        [this](int64_t v) { modalResult_ = static_cast<int>(v); }));
    properties.push_back(BoolProperty(
        "Default", [this] { return default_; }, [this](bool v) { SetDefault(v); }));
    properties.push_back(BoolProperty(
        "Cancel", [this] { return cancel_; }, [this](bool v) { cancel_ = v; }));
}

} // namespace orvane
