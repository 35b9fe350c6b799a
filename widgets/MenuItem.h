#pragma once
// One entry of a pop-up menu and the entries below it. Captions are shown
// exactly as set: an '&' is an ordinary character and separators are never
// merged or dropped, because the start panel shows file names in its menus.
#include "paint/Canvas.h"
#include "toolkit/Component.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace orvane {

class TMenuItem;

// Paints one item: the canvas is the menu's, `rect` the item's rectangle in it.
using TMenuDrawItemEvent =
    std::function<void(TMenuItem& item, TCanvas& canvas, RECT rect, bool selected)>;
// Lets an item ask for its own size; both values come in with the default.
using TMenuMeasureItemEvent = std::function<void(TMenuItem& item, int& width, int& height)>;

class TMenuItem : public TComponent {
    ORVANE_COMPONENT(TMenuItem, TComponent)
  public:
    explicit TMenuItem(TComponent* owner);
    // Frees the sub-items and leaves the parent's list.
    ~TMenuItem() override;

    std::string Caption;
    bool Default = false; // drawn bold
    bool Enabled = true;
    bool Checked = false;
    // Shown at the item's left when set; the menu does not own it.
    HICON Icon = nullptr;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    virtual bool IsSeparator() const { return Caption == "-"; }

    // Sub-items. An item takes another from any former parent when it adds it.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes the item out of the list without freeing it.
    void Remove(TMenuItem* item);
    // Takes the item at `index` out and frees it.
    void Delete(int index);
    // Frees every sub-item.
    void Clear();

    // Runs the click action.
    virtual void Click();

    // Whether `item` still exists: the menu checks the items it shows after
    // every action, since an action may free any of them.
    static bool Alive(const TMenuItem* item);

  protected:
    void PublishProperties(std::vector<TProperty>& properties) override;

  private:
    void CheckIndex(int index, int limit) const;
    static void Free(TMenuItem* item);

    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

} // namespace orvane
