#include "toolkit/Form.h"

#include "base/Platform.h"
#include "base/WindowMessages.h"
#include "toolkit/Application.h"

#include <algorithm>
#include <vector>

namespace orvane {

namespace {

// Task lists and Alt+Tab ask a window for its icon (WM_GETICON): a form
// without one of its own answers with the program's. A shared icon of the
// program's resources, freed with the module; none in a program without it.
LRESULT ProgramIcon(WPARAM which) {
    const int size = GetSystemMetrics(which == ICON_BIG ? SM_CXICON : SM_CXSMICON);
    return reinterpret_cast<LRESULT>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1),
                                                IMAGE_ICON, size, size, LR_SHARED));
}

std::vector<TForm*>& LiveForms() {
    static std::vector<TForm*> forms;
    return forms;
}

} // namespace

TForm::TForm(TComponent* owner, std::string designedName)
    : TControl(owner), designedName_(std::move(designedName)) {
    SetVisible(false);
    SetColor(RGB(236, 233, 216));
    LiveForms().push_back(this);
}

TForm::~TForm() {
    auto& forms = LiveForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Application() && Application()->MainForm() == this)
        Application()->SetMainForm(nullptr);
}

std::string TForm::FreeName() const {
    auto taken = [this](const std::string& name) {
        return std::any_of(LiveForms().begin(), LiveForms().end(), [&](TForm* form) {
            return form != this && SameText(form->Name(), name);
        });
    };
    if (!taken(designedName_))
        return designedName_;
    for (int n = 1;; ++n) {
        std::string candidate = designedName_ + "_" + std::to_string(n);
        if (!taken(candidate))
            return candidate;
    }
}

void TForm::CreateWindowAndRun() {
    SetName(FreeName());
    CreateHandle(Application() ? Application()->Handle() : nullptr);
    FormCreate();
    if (OnCreate)
        OnCreate(*this);
}

DWORD TForm::WindowStyle() const {
    DWORD style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    auto icons = [this] {
        DWORD bits = 0;
        if (borderIcons_.SystemMenu)
            bits |= WS_SYSMENU;
        if (borderIcons_.Minimize)
            bits |= WS_MINIMIZEBOX;
        if (borderIcons_.Maximize)
            bits |= WS_MAXIMIZEBOX;
        return bits;
    };
    // A skinned frame is all ours: neither the system nor an X window manager
    // may draw or reserve a frame of its own, so no caption or border styles;
    // the frame's size comes from WM_NCCALCSIZE.
    if (skinnedFrame_ && borderStyle_ != TBorderStyle::None)
        return style | (borderIcons_.SystemMenu ? WS_SYSMENU : 0) |
               (borderIcons_.Minimize ? WS_MINIMIZEBOX : 0);
    switch (borderStyle_) {
    case TBorderStyle::None:
        break;
    case TBorderStyle::Single:
        style |= WS_CAPTION | WS_BORDER | icons();
        break;
    case TBorderStyle::Sizeable:
        style |= WS_CAPTION | WS_THICKFRAME | icons();
        break;
    case TBorderStyle::Dialog:
        style |= WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        break;
    }
    return style;
}

DWORD TForm::WindowExStyle() const {
    DWORD ex = 0;
    if (formStyle_ == TFormStyle::StayOnTop)
        ex |= WS_EX_TOPMOST;
    if (borderStyle_ == TBorderStyle::Dialog && !skinnedFrame_)
        ex |= WS_EX_DLGMODALFRAME;
    return ex;
}

void TForm::ApplyStyles() {
    if (!Handle())
        return;
    DWORD visible = GetWindowLongW(Handle(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED);
    SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>(WindowStyle() | visible));
    SetWindowLongW(Handle(), GWL_EXSTYLE, static_cast<LONG>(WindowExStyle()));
    SetWindowPos(Handle(), formStyle_ == TFormStyle::StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TForm::SetBorderStyle(TBorderStyle style) {
    borderStyle_ = style;
    ApplyStyles();
}

void TForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
    ApplyStyles();
}

void TForm::SetFormStyle(TFormStyle style) {
    formStyle_ = style;
    ApplyStyles();
}

void TForm::SetSkinnedFrame(bool skinned) {
    skinnedFrame_ = skinned;
    ApplyStyles();
}

void TForm::SetSkinnedDialog() {
    SetSkinnedFrame(true);
    SetRollUpButton(false);
    SetBorderStyle(TBorderStyle::Dialog);
    SetBorderIcons({false, false, false});
    SetPosition(TPosition::ScreenCenter);
}

void TForm::SetClientSize(int width, int height) {
    RECT rect{0, 0, width, height};
    if (Handle()) {
        // A skinned frame cannot take its share of a window smaller than
        // itself, so a window not sized yet reports all of itself as client
        // area: it gets room for the frame before the frame is measured.
        constexpr int kFrameRoom = 64;
        if (Width() < width + kFrameRoom || Height() < height + kFrameRoom)
            SetBounds(Left(), Top(), width + kFrameRoom, height + kFrameRoom);
        RECT window, client;
        GetWindowRect(Handle(), &window);
        GetClientRect(Handle(), &client);
        width += (window.right - window.left) - client.right;
        height += (window.bottom - window.top) - client.bottom;
    } else {
        AdjustWindowRectEx(&rect, WindowStyle(), FALSE, WindowExStyle());
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
    SetBounds(Left(), Top(), width, height);
}

// Show() and Hide() come here too, also when called through a TControl.
void TForm::SetVisible(bool visible) {
    const bool wasVisible = Visible();
    if (!visible) {
        TControl::SetVisible(false);
        if (wasVisible && OnHide)
            OnHide(*this);
        return;
    }
    if (position_ == TPosition::ScreenCenter && !wasVisible)
        SetBounds((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2,
                  (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2, Width(), Height());
    TControl::SetVisible(true);
    // Showing a shown form brings it forward and runs OnShow again.
    if (Handle()) {
        ShowWindow(Handle(), SW_SHOW);
        if (OnShow)
            OnShow(*this);
    }
}

namespace {

TControl* FindDialogKeyControl(TControl& root, WORD key) {
    for (TControl* child : root.Controls()) {
        if (!child->Visible() || !child->Enabled())
            continue;
        if (child->AnswersDialogKey(key))
            return child;
        if (TControl* inner = FindDialogKeyControl(*child, key))
            return inner;
    }
    return nullptr;
}

} // namespace

namespace {

// Hidden pages and their controls are left out with their container.
void CollectTabStops(TControl& root, std::vector<TControl*>& stops) {
    for (TControl* child : root.Controls()) {
        if (!child->Visible() || !child->Enabled() || !child->HandleAllocated())
            continue;
        if (GetWindowLongW(child->Handle(), GWL_STYLE) & WS_TABSTOP)
            stops.push_back(child);
        CollectTabStops(*child, stops);
    }
}

} // namespace

TControl* TForm::NextTabStop(HWND focus, bool forward) {
    std::vector<TControl*> stops;
    CollectTabStops(*this, stops);
    if (stops.empty())
        return nullptr;
    const size_t count = stops.size();
    for (size_t i = 0; i < count; ++i) {
        HWND stop = stops[i]->Handle();
        // The focus may be a part of the control (a combo box's edit field).
        if (focus && (stop == focus || IsChild(stop, focus)))
            return stops[(i + (forward ? 1 : count - 1)) % count];
    }
    return forward ? stops.front() : stops.back();
}

bool TForm::DialogKey(WORD key) {
    TControl* control = FindDialogKeyControl(*this, key);
    if (!control)
        return false;
    control->Click();
    return true;
}

void TForm::Close() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(*this, canClose);
    if (!canClose)
        return;
    TCloseAction action = TCloseAction::Hide;
    if (OnClose)
        OnClose(*this, action);
    if (inModalLoop_ && modalResult_ == mrNone)
        modalResult_ = mrCancel;
    bool isMain = Application() && Application()->MainForm() == this;
    if (isMain && action != TCloseAction::None) {
        Application()->Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::Hide:
        Hide();
        break;
    case TCloseAction::Minimize:
        ShowWindow(Handle(), SW_MINIMIZE);
        break;
    case TCloseAction::Free:
        Release();
        break;
    case TCloseAction::None:
        break;
    }
}

TForm* TForm::FindLive(const void* address) {
    for (TForm* form : LiveForms())
        if (form == address)
            return form;
    return nullptr;
}

void TForm::Release() {
    // Handed to the main form's window, as the program's forms have always
    // been; a form cannot free itself while its own message is running.
    HWND receiver = nullptr;
    if (TApplication* application = Application()) {
        TForm* main = application->MainForm();
        receiver = main && main != this && main->Handle() ? main->Handle() : application->Handle();
    }
    if (!receiver)
        return;
    releasePending_ = true;
    PostMessageW(receiver, WM_RELEASEFORM, 0, reinterpret_cast<LPARAM>(this));
}

bool TForm::FreeReleased(LPARAM form, const TForm* receiver) {
    TForm* released = FindLive(reinterpret_cast<const void*>(form));
    if (!released || !released->releasePending_ || released == receiver || !released->Owner())
        return false;
    if (Application() && Application()->MainForm() == released)
        return false;
    released->Owner()->FreeComponent(released);
    return true;
}

int TForm::ShowModal() {
    modalResult_ = mrNone;
    std::vector<HWND> disabled;
    if (Application())
        for (TForm* form : Application()->Forms())
            if (form != this && form->Handle() && IsWindowEnabled(form->Handle())) {
                EnableWindow(form->Handle(), FALSE);
                disabled.push_back(form->Handle());
            }
    inModalLoop_ = true;
    Show();
    while (modalResult_ == mrNone && Visible() && Application() && !Application()->Terminated())
        Application()->HandleMessage();
    inModalLoop_ = false;
    for (HWND window : disabled)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    Hide();
    return modalResult_;
}

void TForm::Paint(TCanvas& canvas) {
    TControl::Paint(canvas);
    if (OnPaint) {
        paintCanvas_ = &canvas;
        try {
            OnPaint(*this);
        } catch (...) {
            paintCanvas_ = nullptr;
            throw;
        }
        paintCanvas_ = nullptr;
    }
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (skinnedFrame_) {
        LRESULT result = 0;
        if (HandleSkinnedFrameMessage(*this, message, wParam, lParam, result))
            return result;
    }
    switch (message) {
    case WM_RELEASEFORM:
        FreeReleased(lParam, this);
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_GETICON:
        if (LRESULT own = TControl::WndProc(message, wParam, lParam))
            return own;
        return ProgramIcon(wParam);
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

void TForm::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(EnumProperty(
        "BorderStyle", 4, [this] { return static_cast<int64_t>(borderStyle_); },
        [this](int64_t v) { SetBorderStyle(static_cast<TBorderStyle>(v)); }));
    properties.push_back(EnumProperty(
        "FormStyle", 2, [this] { return static_cast<int64_t>(formStyle_); },
        [this](int64_t v) { SetFormStyle(static_cast<TFormStyle>(v)); }));
    properties.push_back(IntegerProperty(
        "ClientWidth", [this] { return ClientWidth(); },
        [this](int64_t v) { SetClientSize(static_cast<int>(v), ClientHeight()); }));
    properties.push_back(IntegerProperty(
        "ClientHeight", [this] { return ClientHeight(); },
        [this](int64_t v) { SetClientSize(ClientWidth(), static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "HelpContext", [this] { return HelpContext; },
        [this](int64_t v) { HelpContext = static_cast<int>(v); }));
}

} // namespace orvane
