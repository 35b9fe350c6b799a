#pragma once
// The component model of the window toolkit: named components owned by other
// components, a class chain that answers "is this kind, or derived from it",
// and published properties that can be found and set by name (the language
// files translate windows through them).
#include "toolkit/StringList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

enum class TPropKind { Integer, Enumeration, Char, Float, String, WideString, StringList, Other };

// One published property. Only the accessors of its kind are set:
// Integer/Enumeration/Char use GetOrdinal/SetOrdinal (a character by its code),
// Float GetFloat/SetFloat, String/WideString GetText/SetText (UTF-8 text, as
// every string of the toolkit), StringList List.
struct TProperty {
    std::string Name;
    TPropKind Kind = TPropKind::Other;
    int64_t MinValue = INT32_MIN; // the declared range of Integer and Enumeration
    int64_t MaxValue = INT32_MAX;
    std::function<int64_t()> GetOrdinal;
    std::function<void(int64_t)> SetOrdinal;
    std::function<double()> GetFloat;
    std::function<void(double)> SetFloat;
    std::function<std::string()> GetText;
    std::function<void(const std::string&)> SetText;
    std::function<TStringList*()> List;
};

// Helpers to publish the usual kinds.
TProperty IntegerProperty(std::string name, std::function<int64_t()> get,
                          std::function<void(int64_t)> set);
TProperty BoolProperty(std::string name, std::function<bool()> get, std::function<void(bool)> set);
TProperty EnumProperty(std::string name, int memberCount, std::function<int64_t()> get,
                       std::function<void(int64_t)> set);
TProperty StringProperty(std::string name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set);
TProperty ListProperty(std::string name, std::function<TStringList*()> list);

class TComponent;
using TNotifyEvent = std::function<void(TComponent& sender)>;

// Declares a class's place in the chain: its name and its base.
#define ORVANE_COMPONENT(Class, Base)                                                              \
  public:                                                                                          \
    static constexpr const char* StaticClassName = #Class;                                         \
    const char* ClassName() const override {                                                       \
        return #Class;                                                                             \
    }                                                                                              \
    bool InheritsFrom(std::string_view name) const override {                                      \
        return name == #Class || Base::InheritsFrom(name);                                         \
    }

class TComponent {
  public:
    explicit TComponent(TComponent* owner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    // Frees the owned components, the newest first.
    virtual ~TComponent();

    static constexpr const char* StaticClassName = "TComponent";
    virtual const char* ClassName() const { return "TComponent"; }
    virtual bool InheritsFrom(std::string_view name) const { return name == "TComponent"; }
    template <typename T> bool Is() const { return InheritsFrom(T::StaticClassName); }

    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name) { name_ = name; }
    TComponent* Owner() const { return owner_; }
    intptr_t Tag = 0;

    // Owned components in creation order.
    const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }
    // An owned component by name, without regard to case; null when none.
    TComponent* FindComponent(std::string_view name) const;
    // Destroys an owned component now.
    void FreeComponent(TComponent* component);

    // A published property by name, without regard to case; null when none.
    const TProperty* FindProperty(std::string_view name);
    const std::vector<TProperty>& Properties();

    // Takes over a component created with this one as its owner.
    void InsertComponent(std::unique_ptr<TComponent> component);

  protected:
    // Each class adds its properties after its base's.
    virtual void PublishProperties(std::vector<TProperty>& properties);

  private:
    std::string name_;
    TComponent* owner_;
    std::vector<std::unique_ptr<TComponent>> components_;
    std::vector<TProperty> properties_;
    bool published_ = false;
};

// Creates a component owned by `owner`, who frees it.
template <typename T, typename... Args> T* NewComponent(TComponent* owner, Args&&... args) {
    auto component = std::make_unique<T>(owner, std::forward<Args>(args)...);
    T* created = component.get();
    owner->InsertComponent(std::move(component));
    return created;
}

bool SameText(std::string_view a, std::string_view b);

} // namespace orvane
