#include "campaign/assist_marks.h"

#include <cstdio>
#include <sstream>

#include "campaign/progress.h"

namespace {

constexpr size_t kLargestFileBytes = 64u << 10;  // 255 levels of two marks take a few kilobytes
constexpr int kMostLevels = 255;                 // as many as a progress file holds
const char* const kHeading = "# Levels whose completion or golden crown came only from runs with assists\n";
const char* const kCompletedWord = "completed";
const char* const kGoldenWord = "golden";

using Marks = std::set<std::pair<int, AssistMarks::Mark>>;

// What a file of marks holds: the marks of its readable lines, and whether it was sound.
struct MarksRead {
  Marks marks;
  Result<> sound;  // the first line that is not a mark, blank or a comment, when one stands
};

// Every line that is a mark is taken, also from a damaged file.
MarksRead readMarks(const std::string& text) {
  std::istringstream lines(text);
  MarksRead read;
  int lineNumber = 0;
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    // Only the form this game writes: "12 golden", no other spacing or digits.
    std::istringstream words(line);
    int number = 0;
    std::string word;
    bool mark = static_cast<bool>(words >> number >> word) && number >= 1 && number <= kMostLevels &&
                (word == kCompletedWord || word == kGoldenWord) && line == std::to_string(number) + " " + word;
    if (!mark) {
      if (read.sound.ok()) {
        Problem damage = fail(Failure::Malformed, "a line that is not a mark");
        damage.line = lineNumber;
        read.sound = damage;
      }
      continue;
    }
    read.marks.insert({number - 1, word == kGoldenWord ? AssistMarks::Mark::Golden : AssistMarks::Mark::Completed});
  }
  return read;
}

std::string marksText(const Marks& marks) {
  std::string text = kHeading;
  for (const auto& [index, mark] : marks) {
    text += std::to_string(index + 1) + " " + (mark == AssistMarks::Mark::Golden ? kGoldenWord : kCompletedWord) + "\n";
  }
  return text;
}

}  // namespace

std::string assistMarksPath(const std::string& progressPath) {
  const std::string suffix = ".dat";
  bool dat = progressPath.size() > suffix.size() &&
             progressPath.compare(progressPath.size() - suffix.size(), suffix.size(), suffix) == 0;
  return (dat ? progressPath.substr(0, progressPath.size() - suffix.size()) : progressPath) + ".assisted";
}

void AssistMarks::set(const Key& key) {
  if (marks_.insert(key).second) set_.insert(key);
  cleared_.erase(key);
}

void AssistMarks::clear(const Key& key) {
  marks_.erase(key);
  set_.erase(key);
  cleared_.insert(key);
}

void AssistMarks::recordCompletion(int levelIndex, const LevelRecord& before, bool allGarbage, bool assisted) {
  const Key completed{levelIndex, Mark::Completed}, golden{levelIndex, Mark::Golden};
  if (!assisted) {
    clear(completed);
    if (allGarbage) clear(golden);
    return;
  }
  if (!before.completed) set(completed);
  if (allGarbage && !before.golden) set(golden);
}

bool AssistMarks::marked(int levelIndex, Mark mark) const { return marks_.count({levelIndex, mark}) != 0; }

Result<std::string> AssistMarks::setAside(const std::string& bytes, std::vector<std::string>& lines) {
  Result<std::string> copied = keepDamagedCopy(path, bytes, kLargestFileBytes);
  lines.push_back("The file of levels completed with assists '" + path +
                  "' was damaged; its readable lines were kept.");
  lines.push_back(damagedCopyLine(copied));
  setAsideBytes_ = bytes;
  return copied;
}

// Under the file's lock: the marks stored, with this game's changes over them. A damaged file is
// set aside first (once), and one that cannot be set aside is not replaced.
Merged AssistMarks::merge(const FoundFile& found, std::set<Key>& merged, std::vector<std::string>& lines) {
  MarksRead read = found.exists ? readMarks(found.bytes) : MarksRead{};
  merged = std::move(read.marks);
  if (!read.sound.ok() && found.bytes != setAsideBytes_) {
    Result<std::string> copied = setAside(found.bytes, lines);
    if (!copied.ok()) return Merged::refuse("the damaged file could not be copied to '" + copied.problem().file + "'");
  }
  merged.insert(set_.begin(), set_.end());
  for (const Key& key : cleared_) merged.erase(key);
  return Merged::write(marksText(merged));
}

std::vector<std::string> AssistMarks::load() {
  marks_.clear();
  set_.clear();
  cleared_.clear();
  refusal_.clear();
  setAsideBytes_.clear();
  std::vector<std::string> lines;
  // Most players never turn an assist on: without a file no lock file is made either.
  Result<std::string> there = readWholeFile(path, kLargestFileBytes);
  if (!there.ok() && there.kind() == Failure::Missing) return lines;
  Result<> read = updateFile(path, kLargestFileBytes, [&](const FoundFile& found) {
    if (!found.exists) return Merged::keep();
    MarksRead stored = readMarks(found.bytes);
    marks_ = std::move(stored.marks);
    if (!stored.sound.ok()) {
      Result<std::string> copied = setAside(found.bytes, lines);
      if (!copied.ok()) refusal_ = copied.problem().message;
    }
    return Merged::keep();
  });
  if (!read.ok()) {
    refusal_ = read.problem().message;
    lines.push_back("The file of levels completed with assists '" + path + "' cannot be read: " + refusal_ + ".");
  }
  return lines;
}

Result<> AssistMarks::save() {
  if (path.empty() || (set_.empty() && cleared_.empty())) return {};
  if (!refusal_.empty()) return fail(Failure::Refused, refusal_, path);
  std::set<Key> merged;
  std::vector<std::string> lines;
  Result<> written =
      updateFile(path, kLargestFileBytes, [&](const FoundFile& found) { return merge(found, merged, lines); });
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  if (!written.ok()) {
    std::printf("%s\n", failedSaveLine("the levels completed with assists", written.problem()).c_str());
  } else {
    marks_ = std::move(merged);
    set_.clear();
    cleared_.clear();
  }
  std::fflush(stdout);
  return written;
}
