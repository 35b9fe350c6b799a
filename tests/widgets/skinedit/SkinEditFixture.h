#pragma once
// One application per test program and a fresh, shown form per test.
#include "tests/support/TestApp.h"
#include "toolkit/Form.h"

#include <gtest/gtest.h>

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
std::pair<DWORD, DWORD> EditSelection(HWND edit);

} // namespace orvane::test
