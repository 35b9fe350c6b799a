#pragma once
// A desktop link: an icon and a caption on the desktop for one entry of a
// desktop folder. The link itself draws nothing but the wallpaper behind it;
// pressing, dragging, double clicking and the context menu are handed to the
// desktop that owns it.
#include "toolkit/Control.h"

#include <cstdint>
#include <string>

namespace orvane {

class TImage;
class TLabel;
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

  protected:
    ~TLinkHost() = default;
};

class TLink : public TControl {
    ORVANE_COMPONENT(TLink, TControl)
  public:
    TLink(TComponent* owner, TLinkHost& host);

    TImage* Icon = nullptr;
    TLabel* ApplLable = nullptr;
    POINT PressPos{0, 0}; // where the left button went down, in link coordinates
    bool Small = false;
    uint8_t Source = kLinkUserDesktop;
    std::string Path;
    std::string WorkingFolder;
    int ShowCommand = SW_SHOWNORMAL;
    // The shortcut's target, folder and show command have been read.
    bool Resolved = false;

    // Puts the controls in the large or small layout; the icon is left alone.
    void ApplyLayout(bool small);
    // The tooltip of the link and its parts.
    void SetTarget(const std::string& target);
    // Selection is the caption's opacity.
    bool Selected() const;
    void SetSelected(bool selected);
    bool Dragging() const { return dragging_; }

  protected:
    DWORD WindowExStyle() const override { return WS_EX_TRANSPARENT; }
    void Paint(TCanvas& canvas) override;

  private:
    void WirePart(TControl& part);
    void PartDown(TControl& part, TMouseButton button, TShiftState shift, int x, int y);
    void PartMove(TShiftState shift);
    void PartUp(TMouseButton button);
    void EndDrag();

    TLinkHost& host_;
    bool armed_ = false; // left button down, no drag yet
    bool dragging_ = false;
    POINT pressScreen_{0, 0};
};

} // namespace orvane
