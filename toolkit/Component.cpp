#include "toolkit/Component.h"

#include <algorithm>
#include <cctype>

namespace orvane {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

TProperty IntegerProperty(std::string name, std::function<int64_t()> get,
                          std::function<void(int64_t)> set) {
    TProperty p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Integer;
    p.GetOrdinal = std::move(get);
    p.SetOrdinal = std::move(set);
    return p;
}

TProperty BoolProperty(std::string name, std::function<bool()> get, std::function<void(bool)> set) {
    return EnumProperty(
        std::move(name), 2, [get] { return get() ? 1 : 0; },
        [set](int64_t value) { set(value != 0); });
}

TProperty EnumProperty(std::string name, int memberCount, std::function<int64_t()> get,
                       std::function<void(int64_t)> set) {
    TProperty p;
    p.Name = std::move(name);
    p.Kind = TPropKind::Enumeration;
    p.MinValue = 0;
    p.MaxValue = memberCount - 1;
    p.GetOrdinal = std::move(get);
    p.SetOrdinal = std::move(set);
    return p;
}

TProperty StringProperty(std::string name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set) {
    TProperty p;
    p.Name = std::move(name);
    p.Kind = TPropKind::String;
    p.GetText = std::move(get);
    p.SetText = std::move(set);
    return p;
}

TProperty ListProperty(std::string name, std::function<TStringList*()> list) {
    TProperty p;
    p.Name = std::move(name);
    p.Kind = TPropKind::StringList;
    p.List = std::move(list);
    return p;
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
    while (!components_.empty()) {
        // Moved out first, so the component is no longer listed while it goes.
        auto last = std::move(components_.back());
        components_.pop_back();
        last.reset();
    }
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    for (const auto& component : components_)
        if (SameText(component->Name(), name))
            return component.get();
    return nullptr;
}

void TComponent::FreeComponent(TComponent* component) {
    auto it = std::find_if(components_.begin(), components_.end(),
                           [component](const auto& owned) { return owned.get() == component; });
    if (it == components_.end())
        return;
    auto doomed = std::move(*it);
    components_.erase(it);
    doomed.reset();
}

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
    components_.push_back(std::move(component));
}

void TComponent::PublishProperties(std::vector<TProperty>& properties) {
    properties.push_back(IntegerProperty(
        "Tag", [this] { return static_cast<int64_t>(Tag); },
        [this](int64_t value) { Tag = static_cast<intptr_t>(value); }));
}

const std::vector<TProperty>& TComponent::Properties() {
    if (!published_) {
        PublishProperties(properties_);
        published_ = true;
    }
    return properties_;
}

const TProperty* TComponent::FindProperty(std::string_view name) {
    for (const auto& property : Properties())
        if (SameText(property.Name, name))
            return &property;
    return nullptr;
}

} // namespace orvane
