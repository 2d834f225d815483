// Odd files in every place the game reads: a FIFO, a directory, a link to an endless device, a
// file it may not read, one too large and an empty one, as settings, progress, levels and a
// campaign's pack.txt. Each gives its message without hanging, and nothing the game could not
// read is replaced.
#include <gtest/gtest.h>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "campaign/campaign.h"
#include "campaign/pack_text.h"
#include "campaign/progress.h"
#include "entities/prototypes.h"
#include "unit/test_support.h"
#include "world/world.h"

namespace {

using namespace std::string_literals;

// Far longer than any read takes, even sanitized on a busy machine: reaching it means a hang.
constexpr unsigned kDeadlineSeconds = 120;
constexpr uid_t kNobody = 65534;
const off_t kOversizedBytes = (64 << 20) + 1;  // beyond the largest file any reader takes

// Permission bits do not stop root, but they stop root's file accesses once made as another
// user: the file system user id is changed for this thread only, and back.
class Unprivileged {
 public:
  explicit Unprivileged(bool active) : active_(active && geteuid() == 0) {
    if (active_) setfsuid(kNobody);
  }
  ~Unprivileged() {
    if (active_) setfsuid(0);
  }

 private:
  bool active_;
};

// What identifies a file's content without reading it: replaced files get a new inode,
// rewritten ones a new time.
std::string fingerprint(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) return "missing";
  return std::to_string(status.st_mode) + " " + std::to_string(status.st_ino) + " " + std::to_string(status.st_size) +
         " " + std::to_string(status.st_mtim.tv_sec) + "." + std::to_string(status.st_mtim.tv_nsec);
}

struct OddKind {
  const char* label;
  void (*make)(const std::string& path, const std::string& validBytes);
  const char* reason;  // the system's reason; "" when the file reads as data
  bool unprivileged;
};

void writeUnreadable(const std::string& path, const std::string& bytes) {
  writeFileBytes(path, bytes);
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
}

void writeOversized(const std::string& path, const std::string& bytes) {
  writeFileBytes(path, bytes);
  ASSERT_EQ(truncate(path.c_str(), kOversizedBytes), 0);
}

const OddKind kOddKinds[] = {
    {"a FIFO", [](const std::string& path, const std::string&) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); },
     "not a regular file", false},
    {"a directory", [](const std::string& path, const std::string&) { ASSERT_EQ(mkdir(path.c_str(), 0755), 0); },
     "Is a directory", false},
    {"a link to an endless device",
     [](const std::string& path, const std::string&) { ASSERT_EQ(symlink("/dev/zero", path.c_str()), 0); },
     "not a regular file", false},
    {"a file it may not read", writeUnreadable, "Permission denied", true},
    {"a file too large", writeOversized, "File too large", false},
    {"an empty file", [](const std::string& path, const std::string&) { writeFileBytes(path, ""); }, "", false},
};

// A level of only an avatar, for the levels around the odd file.
const std::string kTinyLevel = "av\x01\x01";

// Makes `name` as each odd kind, beside the tiny levels `levels`, in a fresh directory the
// unprivileged reader may write in, as a player's own would be: only the file itself is out of
// its reach. Then `read` runs under the deadline as the reader the kind is meant for, given the
// odd file's path and its fingerprint before reading.
using OddRead = std::function<void(const OddKind&, const std::string& path, const std::string& before)>;
void readEachOddKind(const std::string& name, const std::string& valid, const std::vector<std::string>& levels,
                     const OddRead& read) {
  for (const OddKind& kind : kOddKinds) {
    SCOPED_TRACE(kind.label);
    TempDir directory;
    ASSERT_EQ(chmod(directory.path().c_str(), 0777), 0);
    const std::string path = directory.file(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    for (const std::string& level : levels) writeFileBytes(directory.file(level), kTinyLevel);
    kind.make(path, valid);
    const std::string before = fingerprint(path);
    Deadline deadline(kDeadlineSeconds);
    Unprivileged reader(kind.unprivileged);
    read(kind, path, before);
  }
}

bool readsAsData(const OddKind& kind) { return *kind.reason == '\0'; }
bool tooLarge(const OddKind& kind) { return kind.reason == "File too large"s; }

TEST(OddFiles, Settings) {
  readEachOddKind("binhopper.cfg", "music = no\ntheme = Night\n", {}, [](auto& kind, auto& path, auto& before) {
    testing::internal::CaptureStdout();
    Settings loaded = loadSettings(path);
    FileResult saved = saveSettings(loaded, path);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(loaded.music) << "the defaults";
    if (readsAsData(kind)) {
      EXPECT_EQ(printed, "");
      EXPECT_TRUE(saved.ok) << "an empty file is only settings still unset";
      return;
    }
    EXPECT_EQ(printed, "Ignoring settings file '" + path + "': " + kind.reason + ".\n" +
                           "Unable to save settings to '" + path + "': " + kind.reason + ".\n");
    EXPECT_EQ(saved.reason, kind.reason);
    EXPECT_EQ(fingerprint(path), before) << "a file that could not be read is never replaced";
  });
}

TEST(OddFiles, Progress) {
  const std::string valid = "\x07\0\0\0\x01"s + "\x01\x01\x01\x01"s + "\0\0\0\0\0\0\x24\x40"s;
  readEachOddKind("binhopper.dat", valid, {}, [](auto& kind, auto& path, auto& before) {
    Progress record;
    record.path = path;
    testing::internal::CaptureStdout();
    record.load(3);
    record.countDeath();
    FileResult kept = record.keep();
    FileResult saved = record.save();
    testing::internal::GetCapturedStdout();
    if (readsAsData(kind) || tooLarge(kind)) {
      ASSERT_EQ(record.damageNote.size(), 2u) << "an empty or oversized file is damaged";
      if (tooLarge(kind))
        EXPECT_EQ(fingerprint(path + ".bad"), before) << "set aside whole";
      else
        EXPECT_EQ(readFileBytes(path + ".bad"), "");
      EXPECT_TRUE(saved.ok);
      return;
    }
    EXPECT_EQ(record.damageNote,
              (std::vector<std::string>{"The progress file '" + path + "' cannot be read: " + kind.reason + ".",
                                        "Progress will not be saved in this run; the file is left as it is."}));
    EXPECT_EQ(record.deaths, 1) << "a fresh record";
    EXPECT_TRUE(kept.ok) << "nothing new to report";
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(fingerprint(path), before) << "a file that could not be read is never replaced";
  });
}

// A level that is no regular file ends the campaign's levels before it; one that is a regular
// file but cannot be read is a level with a problem. Its message when it is opened anyway (the
// title and final scenes and the editor's file are read the same way).
TEST(OddFiles, Levels) {
  initAllegroForTests();
  readEachOddKind("levels/2.lv", kTinyLevel, {"levels/1.lv", "levels/3.lv"}, [](auto& kind, auto& path, auto& before) {
    World world;
    LevelFileResult read = readLevel(path.c_str(), world);
    Campaign found = loadCampaign(std::filesystem::path(path).parent_path(), CampaignOrigin::BuiltIn);
    bool regular = readsAsData(kind) || tooLarge(kind) || kind.reason == "Permission denied"s;
    EXPECT_EQ(found.levelCount(), regular ? 3 : 1);
    bool named = std::any_of(found.problems.begin(), found.problems.end(),
                             [](const std::string& problem) { return problem.find("2.lv: ") != std::string::npos; });
    EXPECT_EQ(named, regular && !readsAsData(kind)) << "the level that cannot be read is named";
    if (readsAsData(kind))
      EXPECT_TRUE(read.ok()) << "an empty file is an empty level";
    else
      EXPECT_EQ(read.message, "CANNOT OPEN '" + path + "'!!!");
    EXPECT_EQ(fingerprint(path), before);
  });
}

// A campaign whose pack.txt is odd is broken with one problem naming the file, and its numbered
// levels are still found and played.
TEST(OddFiles, CampaignPackText) {
  // What each kind of pack.txt is reported as, in the order of kOddKinds.
  const std::vector<std::string> problems[] = {
      {"cannot read: not a regular file"},
      {"cannot read: Is a directory"},
      {"cannot read: not a regular file"},
      {"cannot read: Permission denied"},
      {"larger than " + std::to_string(kPackFileBytes) + " bytes"},
      {"no 'name = ...' line", "no level listed: a campaign holds 1 to " + std::to_string(kMaximumLevels) +
                                   " levels, each on a line 'level N = TARGET NAME'"}};
  size_t kind = 0;
  readEachOddKind("pack.txt", "name = Odd\nlevel 1 = 10 One\n", {"1.lv"}, [&](auto&, auto& path, auto& before) {
    Campaign campaign = loadCampaign(std::filesystem::path(path).parent_path().string(), CampaignOrigin::Player);
    std::vector<std::string> named;
    for (const std::string& problem : problems[kind++]) named.push_back(path + ": " + problem);
    EXPECT_EQ(campaign.problems, named);
    ASSERT_EQ(campaign.levelCount(), 1);
    EXPECT_TRUE(campaign.levels[0].playable());
    EXPECT_EQ(fingerprint(path), before);
  });
}

}  // namespace
