#include "widgets/MenuItem.h"

#include "base/ShellError.h"

#include <algorithm>
#include <unordered_set>

namespace orvane {

namespace {

// Menus live on the GUI thread only, so a plain set is enough.
std::unordered_set<const TMenuItem*>& LiveItems() {
    static std::unordered_set<const TMenuItem*> items;
    return items;
}

} // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
    LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
    Clear();
    if (parent_)
        parent_->Remove(this);
    LiveItems().erase(this);
}

bool TMenuItem::Alive(const TMenuItem* item) {
    return item && LiveItems().contains(item);
}

void TMenuItem::CheckIndex(int index, int limit) const {
    if (index < 0 || index > limit)
        throw ShellError("TMenuItem: index " + std::to_string(index) + " out of range in \"" +
                         Caption + "\"");
}

TMenuItem* TMenuItem::Items(int index) const {
    CheckIndex(index, Count() - 1);
    return items_[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item)
        throw ShellError("TMenuItem: no item to insert");
    // An item below itself would make the menu endless.
    for (const TMenuItem* above = this; above; above = above->parent_)
        if (above == item)
            throw ShellError("TMenuItem: \"" + item->Caption + "\" cannot hold itself");
    CheckIndex(index, Count());
    if (item->parent_) {
        TMenuItem* former = item->parent_;
        int formerIndex = former->IndexOf(item);
        former->Remove(item);
        if (former == this && formerIndex < index)
            --index;
    }
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end())
        return;
    items_.erase(it);
    item->parent_ = nullptr;
}

void TMenuItem::Free(TMenuItem* item) {
    // An item nobody owns belongs to whoever made it; it is only let go.
    if (item->Owner())
        item->Owner()->FreeComponent(item);
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    Remove(item);
    Free(item);
}

void TMenuItem::Clear() {
    while (!items_.empty()) {
        TMenuItem* item = items_.back();
        Remove(item);
        Free(item);
    }
}

void TMenuItem::Click() {
    if (OnClick)
        OnClick(*this);
}

void TMenuItem::PublishProperties(std::vector<TProperty>& properties) {
    TComponent::PublishProperties(properties);
    properties.push_back(StringProperty(
        "Caption", [this] { return Caption; },
        [this](const std::string& value) { Caption = value; }));
    properties.push_back(BoolProperty(
        "Default", [this] { return Default; }, [this](bool value) { Default = value; }));
    properties.push_back(BoolProperty(
        "Enabled", [this] { return Enabled; }, [this](bool value) { Enabled = value; }));
    properties.push_back(BoolProperty(
        "Checked", [this] { return Checked; }, [this](bool value) { Checked = value; }));
}

} // namespace orvane
