#include <gtest/gtest.h>
#include <objbase.h>

// The shortcut helpers need COM on the thread, as in the program.
int main(int argc, char** argv) {
    CoInitialize(nullptr);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
