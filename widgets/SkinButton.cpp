#include "widgets/SkinButton.h"

#include "base/ShellError.h"
#include "paint/Dib.h"
#include "toolkit/Form.h"
#include "widgets/ImageList.h"
#include "paint/Skin.h"
#include "widgets/SkinBevel.h"

#include <algorithm>

namespace orvane {

namespace {

UniqueBitmap CopyBitmap(HBITMAP bitmap) {
    UniqueBitmap copy(static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0)));
    if (!copy)
        ThrowLastError("CopyImage");
    return copy;
}

COLORREF BottomLeftPixel(HBITMAP bitmap, SIZE size) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        ThrowLastError("CreateCompatibleDC");
    SelectedObject selected(dc.get(), bitmap);
    return GetPixel(dc.get(), 0, size.cy - 1);
}

} // namespace

TSkinButton::TSkinButton(TComponent* owner) : TControl(owner) {}

void TSkinButton::SetGlyph(HBITMAP bitmap) {
    if (!bitmap) {
        glyph_.reset();
        glyphList_.reset();
        Invalidate();
        return;
    }
    SIZE size = BitmapSize(bitmap, "Button: the glyph is not a bitmap");
    UniqueBitmap kept = CopyBitmap(bitmap);
    // The image list blackens the masked pixels of what it is given, so it
    // gets a copy of its own.
    UniqueBitmap masked = CopyBitmap(bitmap);
    COLORREF transparent = BottomLeftPixel(masked.get(), size);
    UniqueImageList list(ImageList_Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, 1, 0));
    if (!list)
        ThrowLastError("ImageList_Create");
    if (ImageList_AddMasked(list.get(), masked.get(), transparent) < 0)
        throw ShellError("Button: the glyph could not be taken");
    glyph_ = std::move(kept);
    glyphList_ = std::move(list);
    Invalidate();
}

void TSkinButton::SetImageIndex(int index) {
    imageIndex_ = index;
    Invalidate();
}

void TSkinButton::SetImages(TImageList* images) {
    images_ = images;
    Invalidate();
}

void TSkinButton::SetMargin(int margin) {
    margin_ = margin;
    Invalidate();
}

void TSkinButton::SetSpacing(int spacing) {
    spacing_ = spacing;
    Invalidate();
}

void TSkinButton::SetUseSkinFont(bool use) {
    useSkinFont_ = use;
    Invalidate();
}

void TSkinButton::SetSkinElement(const std::string& name) {
    skinElement_ = name;
    Invalidate();
}

void TSkinButton::SetFlat(bool flat) {
    flat_ = flat;
    Invalidate();
}

void TSkinButton::SetDown(bool down) {
    if (down_ == down)
        return;
    down_ = down;
    if (down_)
        ReleaseGroup();
    Invalidate();
}

void TSkinButton::SetGroupIndex(int index) {
    groupIndex_ = index;
    if (down_)
        ReleaseGroup();
}

void TSkinButton::SetAllowAllUp(bool allow) {
    allowAllUp_ = allow;
    if (!groupIndex_ || !Parent())
        return;
    for (TControl* control : Parent()->Controls())
        if (control != this && control->Is<TSkinButton>()) {
            auto* other = static_cast<TSkinButton*>(control);
            if (other->groupIndex_ == groupIndex_)
                other->allowAllUp_ = allow;
        }
}

void TSkinButton::ReleaseGroup() {
    if (!groupIndex_ || !Parent())
        return;
    for (TControl* control : Parent()->Controls())
        if (control != this && control->Is<TSkinButton>()) {
            auto* other = static_cast<TSkinButton*>(control);
            if (other->groupIndex_ == groupIndex_ && other->down_) {
                other->down_ = false;
                other->Invalidate();
            }
        }
}

void TSkinButton::SetBounds(int left, int top, int width, int height) {
    RECT before = BoundsRect();
    TControl::SetBounds(left, top, width, height);
    RECT after = BoundsRect();
    if (!EqualRect(&before, &after))
        TellHost();
}

void TSkinButton::SetVisible(bool visible) {
    bool changed = visible != Visible();
    TControl::SetVisible(visible);
    if (changed)
        TellHost();
}

TSkinButtonHost* TSkinButton::Host() const {
    return dynamic_cast<TSkinButtonHost*>(Parent());
}

void TSkinButton::TellHost() {
    if (TSkinButtonHost* host = Host())
        host->ButtonLayoutChanged();
}

void TSkinButton::Click() {
    if (LatchesOnClick()) {
        if (!down_)
            SetDown(true);
        else if (allowAllUp_)
            SetDown(false);
    }
    if (ModalResult != 0)
        for (TControl* control = Parent(); control; control = control->Parent())
            if (control->Is<TForm>()) {
                static_cast<TForm*>(control)->SetModalResult(ModalResult);
                break;
            }
    TControl::Click();
}

TSkinButton::State TSkinButton::CurrentState() const {
    if (!Enabled())
        return State::Disabled;
    if (down_ || (pressed_ && pressedInside_))
        return State::Down;
    if (MouseInside() && !pressed_)
        return State::Hot;
    return State::Normal;
}

TImageList* TSkinButton::EffectiveImages() const {
    if (images_)
        return images_;
    TSkinButtonHost* host = Host();
    return host ? host->ButtonImages() : nullptr;
}

bool TSkinButton::ShowsCaption() const {
    TSkinButtonHost* host = Host();
    return host ? host->ButtonCaptionsShown() : true;
}

void TSkinButton::Paint(TCanvas& canvas) {
    const TSkinElement& element = CurrentSkin().Element(skinElement_);
    const State state = CurrentState();
    RECT rect = ClientRect();
    // Margin counts from the outer edge, so the glyph stays put whatever the
    // skin's border width.
    RECT outer = rect;
    PaintFace(canvas, rect, element, state);
    if (state == State::Down) {
        OffsetRect(&rect, 1, 1);
        OffsetRect(&outer, 1, 1);
    }
    SelectCaptionFont(canvas, element, state);
    PaintGlyphAndCaption(canvas, rect, outer, state);
}

// The face, border and bevel; `rect` shrinks to what lies inside them.
void TSkinButton::PaintFace(TCanvas& canvas, RECT& rect, const TSkinElement& element, State state) {
    if (flat_ && (state == State::Normal || state == State::Disabled)) {
        if (Parent())
            PaintParentBackground(canvas);
        else
            PaintSkinFill(canvas, rect, element.face);
        return;
    }
    PaintSkinFill(canvas, rect,
                  state == State::Down  ? element.down
                  : state == State::Hot ? element.hot
                                        : element.face);
    if (element.borderWidth > 0)
        PaintSkinBorder(canvas, rect, element.border, element.borderWidth);
    if (state == State::Down)
        PaintSkinEdge(canvas, rect, element.shadow, element.light, element.bevelWidth);
    else
        PaintSkinEdge(canvas, rect, element.light, element.shadow, element.bevelWidth);
}

void TSkinButton::SelectCaptionFont(TCanvas& canvas, const TSkinElement& element,
                                    State state) const {
    if (useSkinFont_) {
        canvas.Font.Name = element.font.name;
        canvas.Font.Size = element.font.size;
        canvas.Font.Bold = element.font.bold;
        canvas.Font.Color = state == State::Hot    ? element.hotFontColor
                            : state == State::Down ? element.downFontColor
                                                   : element.font.color;
    } else {
        canvas.Font = Font;
    }
    if (state == State::Disabled)
        canvas.Font.Color = element.disabledFontColor;
}

TSkinButton::GlyphSource TSkinButton::CurrentGlyph() const {
    GlyphSource glyph;
    if (glyphList_) {
        glyph.list = glyphList_.get();
        glyph.index = 0;
    } else if (TImageList* images = EffectiveImages(); images && imageIndex_ >= 0) {
        glyph.list = images->Handle();
        glyph.index = imageIndex_;
    }
    if (glyph.list && glyph.index < ImageList_GetImageCount(glyph.list))
        ImageList_GetIconSize(glyph.list, &glyph.width, &glyph.height);
    else
        glyph = GlyphSource{};
    return glyph;
}

// Glyph and caption side by side, placed by Margin and Spacing within `outer`;
// the caption keeps inside `rect`.
void TSkinButton::PaintGlyphAndCaption(TCanvas& canvas, const RECT& rect, const RECT& outer,
                                       State state) {
    const GlyphSource glyph = CurrentGlyph();
    const bool caption = ShowsCaption() && !Caption().empty();
    const int textWidth = caption ? canvas.TextWidth(Caption()) : 0;
    const int room = outer.right - outer.left;
    int x = outer.left;
    int gap = glyph.list && caption ? std::max(spacing_, 0) : 0;
    bool centreText = false;
    if (spacing_ < 0 && glyph.list && caption) {
        if (margin_ < 0) {
            // Margin and spacing alike: the free room in three equal parts.
            gap = std::max(0, (room - glyph.width - textWidth) / 3);
            x += gap;
        } else {
            x += margin_;
            centreText = true;
        }
    } else if (margin_ < 0) {
        x += std::max(0, (room - glyph.width - gap - textWidth) / 2);
    } else {
        x += margin_;
    }

    if (glyph.list)
        DrawImageListImage(canvas.Handle(), glyph.list, glyph.index, x,
                           outer.top + (outer.bottom - outer.top - glyph.height) / 2,
                           state != State::Disabled);
    if (caption) {
        RECT text{std::max<int>(x + glyph.width + gap, rect.left), rect.top, rect.right,
                  rect.bottom};
        canvas.Brush.Style = TBrushStyle::Clear;
        canvas.DrawText(text, Caption(),
                        (centreText ? DT_CENTER : DT_LEFT) | DT_VCENTER | DT_SINGLELINE |
                            DT_NOPREFIX);
    }
}

LRESULT TSkinButton::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_GETCHECK:
        return down_ ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        SetDown(wParam == BST_CHECKED);
        return 0;
    case BM_CLICK:
        Click();
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_) {
            pressed_ = false;
            Invalidate();
        }
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

void TSkinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::Left) {
        pressed_ = true;
        pressedInside_ = true;
        Invalidate();
    }
    TControl::MouseDown(button, shift, x, y);
}

void TSkinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == TMouseButton::Left && pressed_) {
        pressed_ = false;
        Invalidate();
    }
    TControl::MouseUp(button, shift, x, y);
}

void TSkinButton::MouseMove(TShiftState shift, int x, int y) {
    if (pressed_) {
        RECT client = ClientRect();
        bool inside = PtInRect(&client, POINT{x, y});
        if (inside != pressedInside_) {
            pressedInside_ = inside;
            Invalidate();
        }
    }
    TControl::MouseMove(shift, x, y);
}

void TSkinButton::MouseEnter() {
    Invalidate();
    TControl::MouseEnter();
}

void TSkinButton::MouseLeave() {
    Invalidate();
    TControl::MouseLeave();
}

void TSkinButton::PublishProperties(std::vector<TProperty>& properties) {
    TControl::PublishProperties(properties);
    properties.push_back(BoolProperty(
        "Down", [this] { return down_; }, [this](bool v) { SetDown(v); }));
    properties.push_back(IntegerProperty(
        "GroupIndex", [this] { return groupIndex_; },
        [this](int64_t v) { SetGroupIndex(static_cast<int>(v)); }));
    properties.push_back(BoolProperty(
        "AllowAllUp", [this] { return allowAllUp_; }, [this](bool v) { SetAllowAllUp(v); }));
    properties.push_back(BoolProperty(
        "Flat", [this] { return flat_; }, [this](bool v) { SetFlat(v); }));
    properties.push_back(IntegerProperty(
        "Margin", [this] { return margin_; },
        [this](int64_t v) { SetMargin(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "Spacing", [this] { return spacing_; },
        [this](int64_t v) { SetSpacing(static_cast<int>(v)); }));
    properties.push_back(IntegerProperty(
        "ImageIndex", [this] { return imageIndex_; },
        [this](int64_t v) { SetImageIndex(static_cast<int>(v)); }));
    properties.push_back(StringProperty(
        "SkinElement", [this] { return skinElement_; },
        [this](const std::string& v) { SetSkinElement(v); }));
}

} // namespace orvane
