#pragma once
// The owner-drawn list of the start panel's sections and the settings pages:
// the system list box does the selection, scrolling and keyboard, and each
// entry is painted by the program (an icon and a text), one fixed height for
// all. The entries live in Items (a text and an object such as an icon handle
// each); the window's list follows every change made to them.
#include "base/Win32Handles.h"
#include "toolkit/Control.h"
#include "toolkit/StringList.h"

#include <functional>
#include <vector>

namespace orvane {

class TListBox;

// `rect` is in the list's client coordinates; the canvas paints off screen and
// shows the entry in one piece once the handler returns.
using TDrawItemEvent = std::function<void(TListBox& sender, TCanvas& canvas, int index, RECT rect,
                                          bool selected, bool focused)>;

class TListBox : public TControl {
    ORVANE_COMPONENT(TListBox, TControl)
  public:
    explicit TListBox(TComponent* owner);

    TStringList& Items() { return items_; }
    const TStringList& Items() const { return items_; }

    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int height);

    // The selected entry, -1 for none. Setting an index outside the list
    // clears the selection.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // The entry at a point of the client area, -1 where there is none.
    int ItemAtPos(POINT point) const;
    // The entry's rectangle in client coordinates; empty when it is not there.
    RECT ItemRect(int index) const;

    // Paints each entry; without it the list paints its texts in the skin's look.
    // The entry's object is Items().Object(index); an object set alone reaches
    // the window's list with the next change of Items or the next paint.
    TDrawItemEvent OnDrawItem;

  protected:
    const char* SystemClass() const override { return "LISTBOX"; }
    DWORD WindowStyle() const override;
    void HandleCreated() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool Reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void PublishProperties(std::vector<TProperty>& properties) override;

    // The look of an entry when no OnDrawItem is set.
    virtual void DrawItem(TCanvas& canvas, int index, RECT rect, bool selected, bool focused);

  private:
    struct ShownItem {
        std::string text;
        intptr_t object = 0;
    };

    void SyncWindowList();
    void SyncObjects();
    void PaintItem(const DRAWITEMSTRUCT& item);
    HBRUSH BackgroundBrush();

    TStringList items_;
    // What the window's list holds now, so a change touches only what differs.
    std::vector<ShownItem> shown_;
    int itemHeight_ = 16;
    int itemIndex_ = -1; // kept while there is no window
    UniqueBrush background_;
    COLORREF backgroundColor_ = CLR_INVALID;
};

} // namespace orvane
