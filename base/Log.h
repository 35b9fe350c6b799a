#pragma once
// The work log beside the executable: a record of the run, and the marker
// lines by which the next start tells whether this run ended cleanly.
#include <string>
#include <vector>

namespace orvane {

class TLog {
  public:
    // Starts a new log file holding only the banner line and an empty line.
    // A file that grows past `rotateAt` bytes is moved aside (see Rotate).
    explicit TLog(std::string fileName, unsigned long long rotateAt = kDefaultRotateAt);

    // A long run may log errors without end: past this size the file is moved
    // aside, so the two files together stay below twice this much.
    static constexpr unsigned long long kDefaultRotateAt = 1024 * 1024;
    // The texts by which the next start tells how this run ended; they survive
    // a rotation.
    static const std::vector<std::string>& MarkerTexts();

    // Appends "<long time> <text>".
    void Add(const std::string& text);
    // As Add, unless `text` already occurs anywhere in the file.
    void AddOnce(const std::string& text);
    // Extends the last line by "... " + text (no time).
    void AppendToLast(const std::string& text);
    // True when `text` occurs in the named file (case-sensitive).
    static bool Contains(const std::string& fileName, const std::string& text);

    const std::string& FileName() const { return fileName_; }
    // The earlier part of a rotated log: FileName() + ".1".
    std::string RotatedName() const { return fileName_ + ".1"; }

  private:
    void Append(const std::string& line);
    void Rotate();

    std::string fileName_;
    unsigned long long rotateAt_;
    // Texts AddOnce found or wrote: they stay in the file.
    std::vector<std::string> known_;
};

// Whole-file helpers (tests, and the rare whole-file operations); a failure
// raises ShellError with the platform's message.
std::vector<std::string> ReadLogLines(const std::string& fileName);
void WriteLogLines(const std::string& fileName, const std::vector<std::string>& lines);

// The run's log, owned by the main window; null before it exists.
TLog* ShellLog();
void SetShellLog(TLog* log);

// Logs "<where>: <message>" to the run's log when there is one.
void LogFailure(const std::string& where, const std::string& message);

} // namespace orvane
