// Translating live windows: which section a window reads, the key forms, the
// default property of each kind of component, how values of each property
// kind are read, and keys that cannot be applied.
#include "i18n/Languages.h"
#include "widgets/Button.h"
#include "widgets/ComboBox.h"
#include "widgets/Dialogs.h"
#include "widgets/Edit.h"
#include "toolkit/Form.h"
#include "widgets/GroupBox.h"
#include "widgets/Label.h"
#include "widgets/ListBox.h"
#include "widgets/MenuItem.h"
#include "widgets/SkinButton.h"
#include "tests/i18n/LanguageTestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

using namespace orvane;
using namespace orvane::test;

namespace {

// Properties of the kinds no widget publishes yet.
class TKindProbe : public TComponent {
    ORVANE_COMPONENT(TKindProbe, TComponent)
  public:
    using TComponent::TComponent;
    char Letter = 'a';
    double Ratio = 1.0;
    std::string WideTitle = "wide";
    int OtherWrites = 0;

  protected:
    void PublishProperties(std::vector<TProperty>& properties) override {
        TComponent::PublishProperties(properties);
        TProperty letter;
        letter.Name = "Letter";
        letter.Kind = TPropKind::Char;
        letter.GetOrdinal = [this] { return static_cast<unsigned char>(Letter); };
        letter.SetOrdinal = [this](int64_t v) { Letter = static_cast<char>(v); };
        properties.push_back(letter);
        TProperty ratio;
        ratio.Name = "Ratio";
        ratio.Kind = TPropKind::Float;
        ratio.GetFloat = [this] { return Ratio; };
        ratio.SetFloat = [this](double v) { Ratio = v; };
        properties.push_back(ratio);
        TProperty wide = StringProperty(
            "WideTitle", [this] { return WideTitle; },
            [this](const std::string& v) { WideTitle = v; });
        wide.Kind = TPropKind::WideString;
        properties.push_back(wide);
        TProperty other = StringProperty(
            "OnChange", [] { return std::string(); },
            [this](const std::string&) { ++OtherWrites; });
        other.Kind = TPropKind::Other;
        properties.push_back(other);
    }
};

template <typename T> T* Add(TForm* form, const char* name) {
    T* component = NewComponent<T>(form);
    component->SetName(name);
    if constexpr (std::is_base_of_v<TControl, T>)
        component->SetParent(form);
    return component;
}

// A window like the settings dialog, with one component of each kind.
class TranslateFormTest : public testing::Test {
  protected:
    void SetUp() override {
        form = CreateForm<TForm>(&App(), "frmSettings");
        form->SetCaption("Designed");
        btnOK = Add<TButton>(form, "btnOK");
        btnOK->SetCaption("Ok?");
        lbxSettings = Add<TListBox>(form, "lbxSettings");
        lbxSettings->Items().Assign({"General", "Groups", "Clock"});
        cbTimeFormat = Add<TComboBox>(form, "cbTimeFormat");
        cbTimeFormat->Items().Assign({"hh:mm", "hh:mm:ss"});
        edCurrGroup = Add<TSkinEdit>(form, "edCurrGroup");
        Button1 = Add<TSkinButton>(form, "Button1");
        Button1->SetCaption("Skinned");
        lblGroup = Add<TLabel>(form, "lblGroup");
        gbClock = Add<TGroupBox>(form, "gbClock");
        miOpen = Add<TMenuItem>(form, "miOpen");
        spdSelectWallpaper = Add<TOpenPictureDialog>(form, "spdSelectWallpaper");
        probe = Add<TKindProbe>(form, "probe");
    }
    void TearDown() override { App().FreeComponent(form); }

    void Translate(const std::string& section) {
        TestLanguage language(UniqueLanguageName(), "[frmSettings]\r\n" + section);
        TranslateForm(form);
    }

    TForm* form = nullptr;
    TButton* btnOK = nullptr;
    TListBox* lbxSettings = nullptr;
    TComboBox* cbTimeFormat = nullptr;
    TSkinEdit* edCurrGroup = nullptr;
    TSkinButton* Button1 = nullptr;
    TLabel* lblGroup = nullptr;
    TGroupBox* gbClock = nullptr;
    TMenuItem* miOpen = nullptr;
    TOpenPictureDialog* spdSelectWallpaper = nullptr;
    TKindProbe* probe = nullptr;
};

TEST(LanguageSection, DropsOnlyOneOrTwoDigitCounters) {
    const std::pair<const char*, const char*> cases[] = {
        {"frmFiles_2", "frmFiles"},       {"frmStart_12", "frmStart"},
        {"frmStart_123", "frmStart_123"}, {"frmStart_", "frmStart_"},
        {"frmStart_x1", "frmStart_x1"},   {"_7", ""}};
    for (const auto& [name, section] : cases)
        EXPECT_EQ(LanguageSectionName(name), section) << name;
}

TEST(LanguageSection, SecondLiveWindowReadsTheDesignedSection) {
    TestLanguage language(UniqueLanguageName(), "[frmFiles]\r\nCaption=Dateien\r\n"
                                                "[frmStart]\r\nCaption=Start\r\n");
    TForm* first = CreateForm<TForm>(&App(), "frmFiles");
    TForm* second = CreateForm<TForm>(&App(), "frmFiles");
    TForm* counted = CreateForm<TForm>(&App(), "frmStart");
    counted->SetName("frmStart_123");
    ASSERT_EQ(second->Name(), "frmFiles_1");
    TranslateAllForms();
    EXPECT_EQ(first->Caption(), "Dateien");
    EXPECT_EQ(second->Caption(), "Dateien");
    EXPECT_EQ(counted->Caption(), "");
    App().FreeComponent(counted);
    App().FreeComponent(second);
    App().FreeComponent(first);
}

TEST_F(TranslateFormTest, ListKeysByIndexAndCommaText) {
    Translate("lbxSettings(3)=far\r\nlbxSettings(-1)=before\r\ncbTimeFormat.Items(2)=far\r\n");
    EXPECT_EQ(lbxSettings->Items().Lines(),
              (std::vector<std::string>{"General", "Groups", "Clock"}));
    EXPECT_EQ(cbTimeFormat->Items().Count(), 2);
    Translate("lbxSettings(1)=.  Groups\r\n"
              "LBXSETTINGS(2)=Uhr\r\n"
              "cbTimeFormat.Items(0)=.x\r\n"
              "cbTimeFormat.items($1)=hh\r\n");
    EXPECT_EQ(lbxSettings->Items().Lines(),
              (std::vector<std::string>{"General", "  Groups", "Uhr"}));
    EXPECT_EQ(cbTimeFormat->Items().Lines(), (std::vector<std::string>{".x", "hh"}));
    Translate("lbxSettings.Items=a,,b c\r\ncbTimeFormat.Items=a,,\"b c\"\r\n");
    EXPECT_EQ(lbxSettings->Items().Lines(), (std::vector<std::string>{"a", "", "b", "c"}));
    EXPECT_EQ(cbTimeFormat->Items().Lines(), (std::vector<std::string>{"a", "", "b c"}));
}

TEST_F(TranslateFormTest, PlainKeysSetTheDefaultPropertyAndDottedKeysAnyProperty) {
    Translate("Caption=Settings\r\n"
              "btnOK=OK\r\n"
              "Button1=Ignored\r\n"
              "edCurrGroup=abc\r\n"
              "spdSelectWallpaper=Pick\r\n"
              "lblGroup=Gruppe\r\n"
              "gbClock=Uhr\r\n"
              "miOpen=Oeffnen\r\n"
              "lbxSettings=a,b\r\n");
    EXPECT_EQ(form->Caption(), "Settings");
    EXPECT_EQ(btnOK->Caption(), "OK");
    EXPECT_EQ(Button1->Caption(), "Skinned");
    EXPECT_EQ(edCurrGroup->Text(), "abc");
    EXPECT_EQ(spdSelectWallpaper->Title, "Pick");
    EXPECT_EQ(lblGroup->Caption(), "Gruppe");
    EXPECT_EQ(gbClock->Caption(), "Uhr");
    EXPECT_EQ(miOpen->Caption, "Oeffnen");
    EXPECT_EQ(lbxSettings->Items().Count(), 3); // a bare list name sets nothing
    char text[64] = {};
    GetWindowTextA(btnOK->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "OK");
    Translate("Button1.Caption=OK\r\nbtnok.hint=Save\r\n");
    EXPECT_EQ(Button1->Caption(), "OK");
    EXPECT_EQ(btnOK->Hint(), "Save");
}

TEST_F(TranslateFormTest, EnumerationsAndIntegersTakeNumbersInRange) {
    Translate("btnOK.Visible=False\r\nbtnOK.Enabled=2\r\nbtnOK.Width=wide\r\n");
    EXPECT_TRUE(btnOK->Visible());
    EXPECT_TRUE(btnOK->Enabled());
    btnOK->SetWidth(75);
    Translate("btnOK.Visible=0\r\nbtnOK.ModalResult=$2\r\nbtnOK.Width=1e2\r\n");
    EXPECT_FALSE(btnOK->Visible());
    EXPECT_EQ(btnOK->ModalResult(), 2);
    EXPECT_EQ(btnOK->Width(), 75);
}

TEST_F(TranslateFormTest, OtherKindsOfValues) {
    char separator[8] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator);
    Translate(std::string("probe.Letter=Zebra\r\nprobe.Ratio=2") + separator +
              "5\r\nprobe.WideTitle=Ширина 幅 🚀\r\nprobe.OnChange=x\r\n");
    EXPECT_EQ(probe->Letter, 'Z');
    EXPECT_DOUBLE_EQ(probe->Ratio, 2.5);
    EXPECT_EQ(probe->WideTitle, "Ширина 幅 🚀") << "the UTF-8 text as it is";
    EXPECT_EQ(probe->OtherWrites, 0);
    // A letter beyond ASCII does not fit one byte: no half of it goes in.
    Translate("probe.Letter=Жук\r\nprobe.Ratio=two\r\n");
    EXPECT_EQ(probe->Letter, 'Z');
    Translate("probe.Letter=\r\nprobe.Ratio=two\r\n");
    EXPECT_EQ(probe->Letter, 'Z');
    EXPECT_DOUBLE_EQ(probe->Ratio, 2.5);
}

TEST_F(TranslateFormTest, BadKeysAreSkippedAndLaterKeysStillApply) {
    Translate("lbxSettings(a)=bad\r\n"
              "btnOK.Caption=One\r\n"
              "lbxSettings)0(=bad\r\n"
              "lbxSettings.Items)1(=bad\r\n"
              "lblGroup.Caption=Two\r\n"
              "nothing(0)=bad\r\n"
              "nothing.Caption=bad\r\n"
              "btnOK.Nothing=bad\r\n"
              "lbxSettings.Caption(0)=bad\r\n"
              "edCurrGroup(0)=bad\r\n"
              ".Caption=bad\r\n"
              "gbClock.Caption=Three\r\n");
    EXPECT_EQ(btnOK->Caption(), "One");
    EXPECT_EQ(lblGroup->Caption(), "Two");
    EXPECT_EQ(gbClock->Caption(), "Three");
    EXPECT_EQ(lbxSettings->Items().Lines(),
              (std::vector<std::string>{"General", "Groups", "Clock"}));
    EXPECT_EQ(form->Caption(), "Designed");
    EXPECT_EQ(edCurrGroup->Text(), "");
}

TEST_F(TranslateFormTest, MissingFileOrSectionLeavesTheWindow) {
    SetCurrentLanguage(UniqueLanguageName());
    TranslateForm(form);
    TranslateForm(nullptr);
    SetCurrentLanguage("English");
    Translate(""); // the section header alone
    EXPECT_EQ(form->Caption(), "Designed");
    EXPECT_EQ(btnOK->Caption(), "Ok?");
}

} // namespace
