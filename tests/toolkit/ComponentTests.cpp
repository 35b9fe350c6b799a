// Components: ownership, lookup by name, the class chain and published properties.
#include "toolkit/Component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane;

namespace {

std::vector<std::string> destroyed;

class TProbe : public TComponent {
    ORVANE_COMPONENT(TProbe, TComponent)
  public:
    explicit TProbe(TComponent* owner) : TComponent(owner) {}
    ~TProbe() override { destroyed.push_back(Name()); }
    int Count = 3;
    bool Flag = false;
    std::string Label;
    TStringList Lines;

  protected:
    void PublishProperties(std::vector<TProperty>& properties) override {
        TComponent::PublishProperties(properties);
        properties.push_back(IntegerProperty(
            "Count", [this] { return Count; }, [this](int64_t v) { Count = static_cast<int>(v); }));
        properties.push_back(BoolProperty(
            "Flag", [this] { return Flag; }, [this](bool v) { Flag = v; }));
        properties.push_back(StringProperty(
            "Label", [this] { return Label; }, [this](const std::string& v) { Label = v; }));
        properties.push_back(ListProperty("Lines", [this] { return &Lines; }));
    }
};

class TDerivedProbe : public TProbe {
    ORVANE_COMPONENT(TDerivedProbe, TProbe)
  public:
    using TProbe::TProbe;
};

} // namespace

TEST(Component, OwnerHoldsComponentsInCreationOrderAndFreesNewestFirst) {
    destroyed.clear();
    {
        TComponent owner(nullptr);
        for (const char* name : {"first", "second", "third"})
            NewComponent<TProbe>(&owner)->SetName(name);
        ASSERT_EQ(owner.Components().size(), 3u);
        EXPECT_EQ(owner.Components()[0]->Name(), "first");
        EXPECT_EQ(owner.FindComponent("SECOND"), owner.Components()[1].get());
        EXPECT_EQ(owner.FindComponent("fourth"), nullptr);
        EXPECT_EQ(owner.FindComponent(""), nullptr);

        owner.FreeComponent(owner.Components()[1].get());
        EXPECT_EQ(destroyed, std::vector<std::string>{"second"});
        EXPECT_EQ(owner.FindComponent("second"), nullptr);
    }
    EXPECT_EQ(destroyed, (std::vector<std::string>{"second", "third", "first"}));
}

TEST(Component, ClassChainAnswersForTheKindAndItsBases) {
    TComponent owner(nullptr);
    TComponent* derived = NewComponent<TDerivedProbe>(&owner);
    EXPECT_STREQ(derived->ClassName(), "TDerivedProbe");
    EXPECT_TRUE(derived->InheritsFrom("TDerivedProbe"));
    EXPECT_TRUE(derived->InheritsFrom("TProbe"));
    EXPECT_TRUE(derived->InheritsFrom("TComponent"));
    EXPECT_FALSE(derived->InheritsFrom("TButton"));
    EXPECT_FALSE(derived->InheritsFrom("tprobe")); // kinds are exact names
    EXPECT_FALSE(NewComponent<TProbe>(&owner)->Is<TDerivedProbe>());
}

TEST(Component, PropertiesAreFoundWithoutRegardToCaseAndSetThroughTheirKind) {
    TComponent owner(nullptr);
    auto* probe = NewComponent<TProbe>(&owner);
    const TProperty* count = probe->FindProperty("count");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count->Kind, TPropKind::Integer);
    count->SetOrdinal(42);
    EXPECT_EQ(probe->Count, 42);

    const TProperty* flag = probe->FindProperty("FLAG");
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->Kind, TPropKind::Enumeration);
    EXPECT_EQ(flag->MinValue, 0);
    EXPECT_EQ(flag->MaxValue, 1);
    flag->SetOrdinal(1);
    EXPECT_TRUE(probe->Flag);

    probe->FindProperty("Label")->SetText("hello");
    EXPECT_EQ(probe->Label, "hello");
    EXPECT_EQ(probe->FindProperty("Tag")->Kind, TPropKind::Integer);
    EXPECT_EQ(probe->FindProperty("Lines")->List(), &probe->Lines);
    EXPECT_EQ(probe->FindProperty("Missing"), nullptr);
}

TEST(StringList, CommaTextFollowsTheListRules) {
    EXPECT_EQ(ParseCommaText("a,,b c"), (std::vector<std::string>{"a", "", "b", "c"}));
    EXPECT_EQ(ParseCommaText("a,,\"b c\""), (std::vector<std::string>{"a", "", "b c"}));
    EXPECT_EQ(ParseCommaText("  x , y,"), (std::vector<std::string>{"x", "y", ""}));
    EXPECT_EQ(ParseCommaText("\"say \"\"hi\"\"\""), std::vector<std::string>{"say \"hi\""});
    EXPECT_TRUE(ParseCommaText("").empty());

    TStringList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.SetCommaText("one,\"two words\",");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.CommaText(), "one,\"two words\",\"\"");
    EXPECT_EQ(ParseCommaText(list.CommaText()), list.Lines());
    EXPECT_THROW(list.Set(5, "x"), std::out_of_range);
    EXPECT_EQ(changes, 1);
    list.Add("ПРИВЕТ Ωμέγα");
    EXPECT_EQ(list.IndexOf("привет ωμέγα"), 3);
}
