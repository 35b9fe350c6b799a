// The about box: its texts with and without a language file, and its logo.
#include "base/Version.h"
#include "i18n/Languages.h"
#include "settings/AboutForm.h"
#include "tests/i18n/LanguageTestSupport.h"
#include "tests/support/TestSupport.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/SkinButton.h"

#include <gtest/gtest.h>

#include <set>

using namespace orvane;
using namespace orvane::test;

namespace {

TEST(About, ReadsTheProgramAndItsVersionWithoutALanguageFile) {
    const std::string previous = CurrentLanguage();
    SetCurrentLanguage(UniqueLanguageName()); // no such file
    auto* about = CreateForm<TfrmAbout>(&App());
    EXPECT_EQ(about->Caption(), "About...");
    EXPECT_EQ(about->lbProgName->Caption(), "Orvane Shell");
    EXPECT_EQ(about->lbVer->Caption(), ORVANE_VERSION_TEXT);
    EXPECT_EQ(about->lbLaws->Caption(), "lbLaws");
    EXPECT_EQ(about->ClientWidth(), 269);
    EXPECT_EQ(about->ClientHeight(), 344);
    EXPECT_FALSE(about->Visible()) << "shown on demand only";
    // The logo is a picture, not a plain fill.
    const TPicture& logo = about->Image1->Picture();
    ASSERT_EQ(logo.Width(), 34);
    ASSERT_EQ(logo.Height(), 193);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, logo.Bitmap());
    std::set<COLORREF> colours;
    for (int y = 0; y < 193; y += 3)
        for (int x = 0; x < 34; x += 3)
            colours.insert(GetPixel(dc, x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_GT(colours.size(), 20u);
    App().FreeComponent(about);
    SetCurrentLanguage(previous);
}

TEST(About, ALanguageFileReplacesTheVersionText) {
    TestLanguage language(UniqueLanguageName(), "[frmAbout]\r\nlbVer=Version 1.0.0\r\n"
                                                "lbLaws=Free to pass on.\r\n");
    auto* about = CreateForm<TfrmAbout>(&App());
    EXPECT_EQ(about->lbVer->Caption(), "Version 1.0.0");
    EXPECT_EQ(about->lbProgName->Caption(), "Orvane Shell");
    EXPECT_EQ(about->lbLaws->Caption(), "Free to pass on.");
    // OK hides the box, as Enter and Escape do.
    about->Show();
    EXPECT_TRUE(about->btnOK->AnswersDialogKey(VK_ESCAPE));
    about->btnOK->Click();
    EXPECT_FALSE(about->Visible());
    App().FreeComponent(about);
}

} // namespace
