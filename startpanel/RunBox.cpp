// The Run section: a command line with a history of the ten newest commands
// that started, kept in [Run] of the configuration file.
#include "startpanel/StartPanel.h"

#include "base/Config.h"
#include "base/History.h"
#include "widgets/ComboBox.h"

namespace orvane {

void TfrmStart::InitRunBox() {
    cbRun->SetText(IniFile::Config().ReadString("Run", "0", "calc"));
}

void TfrmStart::LoadRunHistory() {
    std::vector<std::string> lines;
    for (const auto& [key, value] : IniFile::Config().ReadSection("Run"))
        lines.push_back(value);
    cbRun->Items().Assign(lines);
}

void TfrmStart::cbRunKeyPress(char& key) {
    if (key == '\r') {
        // The box keeps its text and the panel stays: the user may run the
        // same line again or change it.
        const std::string command = cbRun->Text();
        key = 0;
        if (RunCommand && RunCommand(command))
            AddToHistory("Run", command);
        return;
    }
    cbRun->Items().Clear();
    LoadRunHistory();
    // Dropping down reads the history once more (cbRunDropDown); an empty
    // list does not open.
    cbRun->SetDroppedDown(true);
}

} // namespace orvane
