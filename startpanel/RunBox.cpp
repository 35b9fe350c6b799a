// The Run section: a command line with a history of the ten newest commands
// that started, kept in [Run] of the configuration file.
#include "startpanel/StartPanel.h"

#include "base/Config.h"
#include "base/History.h"
#include "base/Utf.h"
#include "paint/Canvas.h"
#include "system/ProgramStart.h"
#include "widgets/ComboBox.h"

#include <shellapi.h>

namespace orvane {

namespace {

// The run box's text: Arial, 14 pixels high whatever the screen's resolution
// (a size in points cannot say 14 pixels at 96 dots per inch).
constexpr int kRunFontPixels = 14;

std::wstring EditText(HWND edit) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

bool RunLine(const std::string& line) {
    if (LaunchProgram(line, SW_SHOWNORMAL))
        return true;
    // Not a program: a document, a folder or an address, opened by what the
    // platform has registered for it. A line quoted whole is one name.
    std::string target = line;
    if (target.size() >= 2 && target.front() == '"' && target.back() == '"')
        target = target.substr(1, target.size() - 2);
    if (target.empty())
        return false;
    const std::wstring file = Wide(target);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    execute.lpFile = file.c_str();
    execute.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&execute) != FALSE;
}

void TfrmStart::SetRunBoxFont() {
    HWND window = cbRun->Handle();
    if (!window)
        return;
    LOGFONTW description{};
    description.lfHeight = -kRunFontPixels;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    SetFaceName(description, "Arial");
    runFont_.reset(CreateFontIndirectW(&description));
    if (runFont_)
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(runFont_.get()), TRUE);
}

void TfrmStart::InitRunBox() {
    cbRun->SetText(IniFile::Config().ReadString("Run", "0", "calc"));
}

void TfrmStart::LoadRunHistory() {
    std::vector<std::string> lines;
    for (const auto& [key, value] : IniFile::Config().ReadSection("Run"))
        lines.push_back(value);
    cbRun->Items().Assign(lines);
}

void TfrmStart::DropRunHistory() {
    // The system's combo box selects the whole line when its list opens, and
    // the key being typed would replace it.
    HWND edit = cbRun->EditHandle();
    if (!edit) {
        cbRun->SetDroppedDown(true);
        return;
    }
    const std::wstring text = EditText(edit);
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    cbRun->SetDroppedDown(true);
    if (EditText(edit) != text)
        SetWindowTextW(edit, text.c_str());
    SendMessageW(edit, EM_SETSEL, start, end);
}

void TfrmStart::cbRunKeyPress(char& key) {
    if (key == '\r') {
        // The box keeps its text and the panel stays: the user may run the
        // same line again or change it.
        const std::string command = cbRun->Text();
        key = 0;
        if (RunCommand && RunCommand(command))
            AddToHistory("Run", command);
        else if (ShowRunFailure)
            ShowRunFailure("Cannot run \"" + command + "\"");
        return;
    }
    // Escape's character follows the key that closed the list or the panel,
    // Tab's the key that moved the keyboard to another section.
    if (key == VK_ESCAPE || key == '\t') {
        key = 0;
        return;
    }
    cbRun->Items().Clear();
    LoadRunHistory();
    // Dropping down reads the history once more (cbRunDropDown); an empty
    // list does not open.
    DropRunHistory();
}

} // namespace orvane
