#pragma once
// One application per test program and a fresh, shown form per test.
#include "tests/support/TestApp.h"
#include "toolkit/Form.h"

#include <gtest/gtest.h>

#include <string>

namespace orvane::test {

class SkinEditTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    TForm* form = nullptr;
};

// Types one character into a window as the keyboard would.
void TypeChar(HWND window, char key);
void TypeText(HWND window, const char* text);
// Types text in any script as a Unicode window gets it: one WM_CHAR per
// UTF-16 unit, so a character beyond the BMP comes as two.
void TypeWide(HWND window, const std::wstring& text);
std::pair<DWORD, DWORD> EditSelection(HWND edit);

} // namespace orvane::test
