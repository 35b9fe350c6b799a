#include <gtest/gtest.h>
#include "tests/support/TestSupport.h"
TEST(Smoke, StageExists) { EXPECT_TRUE(orvane::test::FileExists(orvane::test::StageDir() + "\\Orvane_Shell.exe")); }
