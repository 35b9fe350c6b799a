#include "tests/system/AutorunFixture.h"

#include "base/Win32Handles.h"

#include <algorithm>
#include <shlobj.h>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace orvane::test {

RecorderFolder::RecorderFolder() : dir_("autorun") {
    std::string source = BinDir() + "\\autorun_recorder.exe";
    if (!CopyFileA(source.c_str(), RecorderPath().c_str(), FALSE))
        throw std::runtime_error("cannot copy " + source);
}

std::string RecorderFolder::Command(const std::string& tag) const {
    return "\"" + RecorderPath() + "\" " + tag;
}

std::string RecorderFolder::CopyAs(const std::string& name) const {
    std::string target = dir_ / (name + ".exe");
    if (!CopyFileA(RecorderPath().c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy the recorder to " + target);
    return target;
}

std::vector<std::string> RecorderFolder::Tags() const {
    std::string file = dir_ / "records.txt";
    if (!FileExists(file))
        return {};
    // A recorder holds the file exclusively while it appends its line.
    std::string text;
    for (int attempt = 0;; ++attempt) {
        try {
            text = ReadFileText(file);
            break;
        } catch (const std::runtime_error&) {
            if (attempt == 200)
                throw;
            Sleep(10);
        }
    }
    std::vector<std::pair<unsigned long long, std::string>> records;
    for (const auto& line : SplitLines(text)) {
        std::istringstream fields(line);
        std::string tag;
        unsigned long long created = 0;
        if (fields >> tag >> created)
            records.emplace_back(created, tag);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> tags;
    for (auto& record : records)
        tags.push_back(std::move(record.second));
    return tags;
}

std::vector<std::string> RecorderFolder::WaitForTags(size_t count) const {
    WaitUntil([&] { return Tags().size() >= count; }, 20000);
    PumpMessagesFor(1000);
    return Tags();
}

std::optional<DWORD> RunRunner(const std::string& arguments) {
    auto runner = ChildProcess::Start("\"" + BinDir() + "\\autorun_runner.exe\" " + arguments);
    return runner.wait(30000);
}

std::string SpecialFolder(int csidl) {
    char buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, buffer, csidl, TRUE))
        throw std::runtime_error("no special folder " + std::to_string(csidl));
    return buffer;
}

ScopedRegValue::ScopedRegValue(HKEY root, std::string key, std::string name,
                               const std::string& value)
    : root_(root), key_(std::move(key)), name_(std::move(name)),
      previous_(GetRegString(root_, key_, name_)) {
    SetRegString(root_, key_, name_, value);
}

ScopedRegValue::~ScopedRegValue() {
    if (previous_) {
        SetRegString(root_, key_, name_, *previous_);
        return;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }
}

std::optional<std::string> ReadIniValue(const std::string& file, const std::string& section,
                                        const std::string& key) {
    // A default no real value holds tells a missing key from an empty one.
    const char* missing = "\x01missing\x01";
    char buffer[2048] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), missing, buffer, sizeof buffer,
                             file.c_str());
    if (std::string(buffer) == missing)
        return std::nullopt;
    return std::string(buffer);
}

ScopedIniValue::ScopedIniValue(std::string file, std::string section, std::string key,
                               const std::optional<std::string>& value)
    : file_(std::move(file)), section_(std::move(section)), key_(std::move(key)),
      previous_(ReadIniValue(file_, section_, key_)) {
    WritePrivateProfileStringA(section_.c_str(), key_.c_str(), value ? value->c_str() : nullptr,
                               file_.c_str());
}

ScopedIniValue::~ScopedIniValue() {
    WritePrivateProfileStringA(section_.c_str(), key_.c_str(),
                               previous_ ? previous_->c_str() : nullptr, file_.c_str());
}

ScopedFile::~ScopedFile() {
    SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path_.c_str());
}

} // namespace orvane::test
