#pragma once
// What the file browser's tests share: a browser window over a scratch
// folder of the prefix, and a look at its rows.
#include "files/FilesForm.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace orvane::test {

class FilesTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A new browser window over `folder` (which ends with "\").
    TfrmFiles* OpenBrowser(const std::string& folder);
    // The row whose name and extension cells are these; -1 when none.
    int RowOf(TfrmFiles* browser, const std::string& name, const std::string& ext = "") const;
    std::vector<std::string> Names(TfrmFiles* browser) const;
    // A folder under C:\ of the scratch prefix, made anew, with a "\".
    std::string MakeFolder(const std::string& name);
    void Touch(const std::string& path, const std::string& text = "");

    std::vector<TfrmFiles*> browsers_;
    // The delete questions the browsers asked, and the answer they get.
    std::vector<std::string> questions_;
    bool answerYes_ = true;
    std::vector<std::string> folders_;
    std::string logPath_;
};

} // namespace orvane::test
