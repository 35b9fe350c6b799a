#pragma once
// The work log beside the executable: a record of the run, and the marker
// lines by which the next start tells whether this run ended cleanly.
#include <string>
#include <vector>

namespace orvane {

class TLog {
  public:
    // Starts a new log file holding only the banner line and an empty line.
    explicit TLog(std::string fileName);

    // Appends "<long time> <text>".
    void Add(const std::string& text);
    // As Add, unless `text` already occurs anywhere in the file.
    void AddOnce(const std::string& text);
    // Extends the last line by "... " + text (no time).
    void AppendToLast(const std::string& text);
    // True when `text` occurs in the named file (case-sensitive).
    static bool Contains(const std::string& fileName, const std::string& text);

    const std::string& FileName() const { return fileName_; }

  private:
    std::string fileName_;
};

// The file is read and written whole at every call; a failure raises ShellError
// with the platform's message.
std::vector<std::string> ReadLogLines(const std::string& fileName);
void WriteLogLines(const std::string& fileName, const std::vector<std::string>& lines);

// The run's log, owned by the main window; null before it exists.
TLog* ShellLog();
void SetShellLog(TLog* log);

// Logs "<where>: <message>" to the run's log when there is one.
void LogFailure(const std::string& where, const std::string& message);

} // namespace orvane
