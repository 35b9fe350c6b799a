// The cells of one entry: names split at the last dot, the size ladder, the
// parent of a folder.
#include "files/FileRows.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(FileRows, NamesSplitAtTheLastDot) {
    EXPECT_EQ(SplitFileName("Makefile").name, "Makefile");
    EXPECT_EQ(SplitFileName("Makefile").extension, "");
    EXPECT_EQ(SplitFileName(".profile").name, "");
    EXPECT_EQ(SplitFileName(".profile").extension, "profile");
    EXPECT_EQ(SplitFileName("archive.tar.gz").name, "archive.tar");
    EXPECT_EQ(SplitFileName("archive.tar.gz").extension, "gz");
    EXPECT_EQ(SplitFileName("A.EXE").extension, "EXE");
}

TEST(FileRows, SizesClimbTheLadderWithOneDecimal) {
    EXPECT_EQ(FormatFileSize(0, "."), "0");
    EXPECT_EQ(FormatFileSize(1023, "."), "1023");
    EXPECT_EQ(FormatFileSize(1024, "."), "1.0 k");
    EXPECT_EQ(FormatFileSize(1536, "."), "1.5 k");
    EXPECT_EQ(FormatFileSize(1048575, "."), "1024.0 k");
    EXPECT_EQ(FormatFileSize(1048576, "."), "1.0 M");
    EXPECT_EQ(FormatFileSize(5ull << 30, "."), "5.0 G");
    EXPECT_EQ(FormatFileSize(3ull << 40, "."), "3.0 T");
    EXPECT_EQ(FormatFileSize(2048ull << 40, "."), "2048.0 T");
    EXPECT_EQ(FormatFileSize(1536, ","), "1,5 k");
}

TEST(FileRows, ParentFoldersKeepTheDriveRootsBackslash) {
    EXPECT_EQ(ParentFolder("C:\\A\\B\\"), "C:\\A");
    EXPECT_EQ(ParentFolder("C:\\A\\"), "C:\\");
    EXPECT_EQ(ParentFolder("C:\\"), "C:\\");
}
