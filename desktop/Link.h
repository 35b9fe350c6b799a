#pragma once
// A desktop link: an icon and a caption on the desktop for one entry of a
// desktop folder. Pressing, dragging, double clicking and the context menu are
// handed to the desktop that owns it.
#include "base/Win32Handles.h"
#include "system/IconLookup.h"
#include "toolkit/Control.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace orvane {

class TLink;

// Where an entry came from.
enum : uint8_t { kLinkCommonDesktop = 0, kLinkUserDesktop = 1, kLinkProgramLinks = 2 };

// What a link asks of the desktop it lies on. Points are screen coordinates.
class TLinkHost {
  public:
    virtual void LinkPressed(TLink& link, TMouseButton button) = 0;
    // True when the desktop would take the link at `point`.
    virtual bool LinkDragOver(TLink& link, POINT point) = 0;
    virtual void LinkDropped(TLink& link, POINT point) = 0;
    virtual void LinkOpen(TLink& link) = 0;
    virtual void LinkContextMenu(TLink& link, POINT point) = 0;
    // The link's look changed over `area`, in desktop coordinates.
    virtual void LinkChanged(const RECT& area) = 0;

  protected:
    ~TLinkHost() = default;
};

// A part of a link: its place in the link.
class TLinkPart {
  public:
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    const RECT& BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height) {
        bounds_ = RECT{left, top, left + width, top + height};
    }

  private:
    RECT bounds_{0, 0, 0, 0};
};

// The entry's icon, stretched to its part. Held as the shell handed it out:
// no copy, and no size to ask for, since the part gives the size.
class TLinkIcon : public TLinkPart {
  public:
    HICON Handle() const { return own_ ? own_->get() : icon_.get(); }
    // The type icon; an own icon asked for before is dropped.
    void SetIcon(UniqueIcon icon) {
        request_.Cancel();
        own_.reset();
        icon_ = std::move(icon);
    }
    // Shows the own icon of `path` in place of the type icon once it arrives,
    // then calls `arrived`; cancelled when the link goes.
    void AskOwnIcon(const std::string& path, bool small, std::function<void()> arrived) {
        request_ = IconLookup().FileIcon(path, small, [this, arrived](TIconFound& found) {
            if (!found.icon)
                return;
            own_ = found.icon;
            arrived();
        });
    }

  private:
    UniqueIcon icon_;
    SharedIcon own_;
    TIconRequest request_;
};

// The caption: one line from the part's left edge, white on the wallpaper,
// or dark green on an opaque light background while the link is selected.
class TLinkCaption : public TLinkPart {
  public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    TFont Font;
    COLORREF Color = RGB(224, 238, 168);

  private:
    std::string caption_;
    bool transparent_ = true;
};

// A link draws itself into the desktop's wallpaper: it has no window of its
// own, since under Wine each window costs as much as the icon lookup, and a
// desktop of some hundred links spent half its start making them. The
// desktop hands it the mouse events that fall on it.
class TLink : public TComponent {
    ORVANE_COMPONENT(TLink, TComponent)
  public:
    TLink(TComponent* owner, TLinkHost& host);

    std::unique_ptr<TLinkIcon> Icon;
    std::unique_ptr<TLinkCaption> ApplLable;
    POINT PressPos{0, 0}; // where the left button went down, in link coordinates
    bool Small = false;
    uint8_t Source = kLinkUserDesktop;
    // The entry the link was read from, exactly as listed: what it opens and
    // what "DeleteLink" removes. Its caption alone names no file ("Mail" may
    // come from "Mail.lnk.bak", and a folder "Games" may lie beside
    // "Games.lnk").
    std::string Path;
    // The entry was a folder when it was read.
    bool Folder = false;
    std::string WorkingFolder;
    int ShowCommand = SW_SHOWNORMAL;
    // The shortcut's target, folder and show command have been read.
    bool Resolved = false;

    // Place on the desktop, in its client coordinates.
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    const RECT& BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    bool Contains(POINT desktopPoint) const;

    // Puts the parts in the large or small layout; the icon is left alone.
    void ApplyLayout(bool small);
    void SetLinkCaption(const std::string& caption);
    // The tooltip: the shortcut's target.
    const std::string& Target() const { return target_; }
    void SetTarget(const std::string& target) { target_ = target; }
    // Selection is the caption's opacity.
    bool Selected() const;
    void SetSelected(bool selected);
    bool Dragging() const { return dragging_; }
    // Asks the desktop to paint the link's place again.
    void Invalidate();

    // Draws the link with its top left corner at the canvas' origin.
    void Paint(TCanvas& canvas) const;
    // Mouse events at link coordinates, from the desktop.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

  private:
    void EndDrag();

    TLinkHost& host_;
    RECT bounds_{0, 0, 0, 0};
    std::string target_;
    bool armed_ = false; // left button down, no drag yet
    bool dragging_ = false;
    POINT pressScreen_{0, 0};
};

} // namespace orvane
