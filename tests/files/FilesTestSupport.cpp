#include "tests/files/FilesTestSupport.h"

#include "base/Config.h"
#include "base/Log.h"
#include "widgets/StringGrid.h"

namespace orvane::test {

namespace {
std::unique_ptr<TLog> testLog;
}

void FilesTest::SetUp() {
    DeleteFileA(ConfigFilePath().c_str());
    logPath_ = MakeFolder("OrvaneFilesLog") + "files.log";
    testLog = std::make_unique<TLog>(logPath_);
    SetShellLog(testLog.get());
}

void FilesTest::TearDown() {
    for (TfrmFiles* browser : browsers_)
        if (TForm::FindLive(browser))
            App().FreeComponent(browser);
    SetShellLog(nullptr);
    testLog.reset();
    for (const std::string& folder : folders_)
        RemoveTree(folder);
    DeleteFileA(ConfigFilePath().c_str());
}

TfrmFiles* FilesTest::OpenBrowser(const std::string& folder) {
    auto* browser = CreateForm<TfrmFiles>(&App(), "frmFiles");
    browser->SetBounds(150, 40 + 30 * static_cast<int>(browsers_.size()), 410, 515);
    browsers_.push_back(browser);
    // Every delete asks first: the tests answer Yes and keep the questions.
    browser->Confirm = [this](const std::string& question) {
        questions_.push_back(question);
        return answerYes_;
    };
    browser->OpenFolder(folder);
    return browser;
}

int FilesTest::RowOf(TfrmFiles* browser, const std::string& name, const std::string& ext) const {
    for (int row = 1; row < browser->sgFiles->RowCount(); ++row)
        if (browser->sgFiles->Cells(kColName, row) == name &&
            browser->sgFiles->Cells(kColExt, row) == ext)
            return row;
    return -1;
}

std::vector<std::string> FilesTest::Names(TfrmFiles* browser) const {
    std::vector<std::string> names;
    for (int row = 1; row < browser->sgFiles->RowCount(); ++row) {
        std::string ext = browser->sgFiles->Cells(kColExt, row);
        names.push_back(browser->sgFiles->Cells(kColName, row) + (ext.empty() ? "" : "." + ext));
    }
    return names;
}

std::string FilesTest::MakeFolder(const std::string& name) {
    const std::string folder = "C:\\" + name;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    folders_.push_back(folder);
    return folder + "\\";
}

void FilesTest::Touch(const std::string& path, const std::string& text) {
    WriteFileText(path, text);
}

} // namespace orvane::test
