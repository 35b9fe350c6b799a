#include "widgets/SkinToolBar.h"

#include "paint/Skin.h"
#include "widgets/SkinBevel.h"
#include "widgets/SkinButton.h"

#include <algorithm>
#include <utility>

namespace orvane {

TSkinToolBar::TSkinToolBar(TComponent* owner) : TControl(owner) {}

void TSkinToolBar::SetFlat(bool flat) {
    flat_ = flat;
    for (TControl* control : Controls())
        if (control->Is<TSkinButton>())
            static_cast<TSkinButton*>(control)->SetFlat(flat);
    Invalidate();
}

void TSkinToolBar::SetShowCaptions(bool show) {
    showCaptions_ = show;
    for (TControl* control : Controls())
        control->Invalidate();
}

void TSkinToolBar::SetShowHints(bool show) {
    showHints_ = show;
    for (TControl* control : Controls())
        if (control->Is<TSkinButton>())
            control->SetShowHint(show);
}

void TSkinToolBar::SetImages(TImageList* images) {
    images_ = images;
    for (TControl* control : Controls())
        control->Invalidate();
}

void TSkinToolBar::SetSkinElement(const std::string& name) {
    skinElement_ = name;
    Invalidate();
}

void TSkinToolBar::SetButtonWidth(int width) {
    buttonWidth_ = std::max(width, 0);
    ResizeButtons();
}

void TSkinToolBar::SetButtonHeight(int height) {
    buttonHeight_ = std::max(height, 0);
    ResizeButtons();
}

void TSkinToolBar::ResizeButtons() {
    {
        // One arrangement at the end, not one per button.
        bool wasArranging = std::exchange(arranging_, true);
        for (TControl* control : Controls())
            if (control->Is<TSkinButton>())
                control->SetBounds(control->Left(), control->Top(), buttonWidth_, buttonHeight_);
        arranging_ = wasArranging;
    }
    Arrange();
}

TSkinSpeedButton* TSkinToolBar::AddButton(const std::string& caption, int imageIndex) {
    auto* button = NewComponent<TSkinSpeedButton>(this);
    button->SetBounds(0, 0, buttonWidth_, buttonHeight_);
    button->SetCaption(caption);
    button->SetImageIndex(imageIndex);
    Adopt(*button);
    button->SetParent(this);
    Arrange();
    return button;
}

void TSkinToolBar::Adopt(TControl& child) {
    if (!child.Is<TSkinButton>())
        return;
    static_cast<TSkinButton&>(child).SetFlat(flat_);
    child.SetShowHint(showHints_);
}

void TSkinToolBar::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        Arrange();
}

void TSkinToolBar::Arrange() {
    if (arranging_ || updateCount_ > 0)
        return;
    arranging_ = true;
    Realign();
    RECT client = ClientRect();
    int x = client.left;
    for (TControl* control : Controls())
        if (control->Visible() && control->Align() == TAlign::Left)
            x = std::max(x, control->Left() + control->Width());
    for (TControl* control : Controls())
        if (control->Visible() && control->Align() == TAlign::None) {
            control->SetBounds(x, client.top, control->Width(), control->Height());
            x += control->Width();
        }
    arranging_ = false;
}

void TSkinToolBar::Resized() {
    Arrange();
    TControl::Resized();
}

void TSkinToolBar::Paint(TCanvas& canvas) {
    if (Transparent())
        PaintParentBackground(canvas);
    else
        PaintSkinFill(canvas, ClientRect(), CurrentSkin().Element(skinElement_).face);
}

LRESULT TSkinToolBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PARENTNOTIFY:
        // A child window came or went: the row closes up or grows.
        if (LOWORD(wParam) == WM_CREATE) {
            if (TControl* child = FromHandle(reinterpret_cast<HWND>(lParam)))
                Adopt(*child);
            Arrange();
        } else if (LOWORD(wParam) == WM_DESTROY) {
            Arrange();
        }
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

void TSkinToolBar::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(BoolProperty(
        "Flat", [this] { return flat_; }, [this](bool v) { SetFlat(v); }));
    properties.push_back(BoolProperty(
        "ShowCaptions", [this] { return showCaptions_; }, [this](bool v) { SetShowCaptions(v); }));
    properties.push_back(IntegerProperty(
        "ButtonWidth", [this] { return buttonWidth_; },
        [this](int64_t v) { SetButtonWidth(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "ButtonHeight", [this] { return buttonHeight_; },
        [this](int64_t v) { SetButtonHeight(static_cast<int>(v)); }));
    properties.push_back(StringProperty(
        "SkinElement", [this] { return skinElement_; },
        [this](const std::string& v) { SetSkinElement(v); }));
}

} // namespace orvane
