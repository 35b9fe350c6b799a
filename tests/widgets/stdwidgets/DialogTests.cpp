#include "WidgetFixture.h"

#include "widgets/Dialogs.h"
#include "base/Utf.h"
#include "toolkit/Timer.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>

namespace orvane::test {
namespace {

using namespace std::string_literals;

// The libraries a program file names in its import table, in lower case.
std::vector<std::string> ImportedLibraries(const std::string& path) {
    const std::string file = ReadFileText(path);
    auto at = [&](size_t offset, auto value) {
        std::memcpy(&value, file.data() + offset, sizeof value);
        return value;
    };
    const size_t nt = at(0x3c, uint32_t{});
    const size_t optional = nt + 24;
    const uint16_t sections = at(nt + 6, uint16_t{});
    const uint16_t optionalSize = at(nt + 20, uint16_t{});
    const bool pe64 = at(optional, uint16_t{}) == 0x20b;
    const uint32_t importRva = at(optional + (pe64 ? 120 : 104), uint32_t{});
    auto offsetOf = [&](uint32_t rva) -> size_t {
        for (uint16_t i = 0; i < sections; ++i) {
            const size_t header = optional + optionalSize + 40u * i;
            const uint32_t start = at(header + 12, uint32_t{}), size = at(header + 8, uint32_t{});
            if (rva >= start && rva < start + size)
                return at(header + 20, uint32_t{}) + (rva - start);
        }
        return 0;
    };
    std::vector<std::string> names;
    for (size_t entry = offsetOf(importRva); entry && at(entry + 12, uint32_t{}); entry += 20) {
        std::string name = file.c_str() + offsetOf(at(entry + 12, uint32_t{}));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        names.push_back(name);
    }
    return names;
}

TEST(FileDialogLibrary, IsLoadedWhenADialogOpensNotWithTheProgram) {
    const std::vector<std::string> imports = ImportedLibraries(StageDir() + "\\Orvane_Shell.exe");
    ASSERT_NE(std::find(imports.begin(), imports.end(), "user32.dll"), imports.end());
    EXPECT_EQ(std::find(imports.begin(), imports.end(), "comdlg32.dll"), imports.end());
}

TEST(FileDialogFilter, DelphiSyntaxBecomesTheSystemForm) {
    EXPECT_EQ(TOpenDialog::SystemFilter("Bitmaps (*.bmp)|*.bmp|All|*.*"),
              "Bitmaps (*.bmp)\0*.bmp\0All\0*.*\0\0"s);
    // A description left without its pattern still gets one.
    EXPECT_EQ(TOpenDialog::SystemFilter("Links|*.lnk|All files"),
              "Links\0*.lnk\0All files\0*.*\0\0"s);
    EXPECT_EQ(TOpenDialog::SystemFilter(""), "");
}

// Runs `answer` on the system dialog titled `title` once it is up.
class DialogAnswerer {
  public:
    DialogAnswerer(TComponent* owner, std::string title, std::function<void(HWND)> answer)
        : owner_(owner), title_(std::move(title)), answer_(std::move(answer)) {
        timer_ = NewComponent<TTimer>(owner);
        timer_->SetInterval(100);
        timer_->OnTimer = [this](TComponent&) {
            HWND dialog = FindWindowW(L"#32770", Wide(title_).c_str());
            if (!dialog)
                return;
            timer_->SetEnabled(false);
            answered_ = true;
            answer_(dialog);
        };
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;
    // The timer refers to this object, so it goes first.
    ~DialogAnswerer() { owner_->FreeComponent(timer_); }
    bool Answered() const { return answered_; }

  private:
    TComponent* owner_;
    std::string title_;
    std::function<void(HWND)> answer_;
    TTimer* timer_;
    bool answered_ = false;
};

TEST_F(WidgetTest, OpenDialogReturnsTheChosenFile) {
    ScratchDir folder("stdwidgets");
    // Names in any script go to the dialog and come back as they were.
    std::string path = folder / "программа 日本.exe";
    CloseHandle(
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    auto* dialog = NewComponent<TOpenDialog>(form);
    dialog->Title = "Выбор программы для группы";
    dialog->Filter = "Προγράμματα|*.exe|Links|*.lnk|All files|*.*";
    dialog->FileName = path;
    DialogAnswerer answerer(form, dialog->Title,
                            [](HWND window) { PostMessageA(window, WM_COMMAND, IDOK, 0); });
    ASSERT_TRUE(dialog->Execute());
    EXPECT_TRUE(answerer.Answered());
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Wide(dialog->FileName).c_str(),
                             -1, Wide(path).c_str(), -1),
              CSTR_EQUAL)
        << dialog->FileName;
    EXPECT_EQ(dialog->FilterIndex, 1);
}

TEST_F(WidgetTest, CancelledPictureDialogHasAPreviewAndReturnsFalse) {
    auto* dialog = NewComponent<TSavePictureDialog>(form);
    dialog->Title = "Select a wallpaper...";
    dialog->FileName = "unchanged.bmp";
    bool hadPreview = false;
    DialogAnswerer answerer(form, dialog->Title, [&](HWND window) {
        hadPreview = FindWindowExA(window, nullptr, "TPicturePreview", nullptr) != nullptr;
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(dialog->Execute());
    EXPECT_TRUE(answerer.Answered());
    EXPECT_TRUE(hadPreview);
    EXPECT_EQ(dialog->FileName, "unchanged.bmp");
}

} // namespace
} // namespace orvane::test
