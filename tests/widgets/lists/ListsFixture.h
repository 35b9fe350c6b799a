#pragma once
// A shown form for the list and grid tests to place their controls on.
#include "tests/support/TestApp.h"
#include "toolkit/Form.h"

#include <gtest/gtest.h>

namespace orvane::test {

class ListsTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Paints what is invalid now, so that drawing handlers have run on return.
    static void PaintNow(TControl& control);

    TForm* form_ = nullptr;
};

} // namespace orvane::test
