#include "app/safe_file.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "unit/test_support.h"

namespace {

int entriesIn(const std::string& directory) {
  int count = 0;
  DIR* listing = opendir(directory.c_str());
  while (dirent* entry = readdir(listing)) count += entry->d_name[0] != '.';
  closedir(listing);
  return count;
}

mode_t modeOf(const std::string& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status.st_mode;
}

TEST(SafeFile, ReplacingKeepsLinksAndPermissionsAndLeavesNoTemporary) {
  TempDir dir;
  std::string target = dir.file("real.dat");
  writeFileBytes(target, "old");
  chmod(target.c_str(), 0640);
  ASSERT_EQ(symlink("real.dat", dir.file("link.dat").c_str()), 0);

  ASSERT_TRUE(replaceFile(dir.file("link.dat"), "new bytes").ok);
  EXPECT_TRUE(S_ISLNK(modeOf(dir.file("link.dat")))) << "the link stays a link";
  EXPECT_EQ(readFileBytes(target), "new bytes");
  EXPECT_EQ(modeOf(target) & 07777, 0640u);
  EXPECT_EQ(entriesIn(dir.path()), 2) << "no temporary file is left behind";

  ASSERT_TRUE(replaceFile(dir.file("fresh.dat"), "").ok) << "an empty file is still a file";
  EXPECT_EQ(readFileBytes(dir.file("fresh.dat")), "");
}

TEST(SafeFile, RefusesWhatIsNotARegularFileAndCleansUp) {
  TempDir dir;
  mkdir(dir.file("folder").c_str(), 0755);
  ASSERT_EQ(symlink("/dev/null", dir.file("device").c_str()), 0);
  struct {
    const char* label;
    std::string path;
  } const rows[] = {
      {"a directory", dir.file("folder")},
      {"a link to a device", dir.file("device")},
      {"a folder that does not exist", dir.file("missing/level.lv")},
  };
  for (const auto& row : rows) {
    FileResult result = replaceFile(row.path, "bytes");
    EXPECT_FALSE(result.ok) << row.label;
    EXPECT_FALSE(result.reason.empty()) << row.label;
  }
  EXPECT_TRUE(S_ISCHR(modeOf("/dev/null")));
  EXPECT_EQ(entriesIn(dir.path()), 2) << "no temporary file is left behind";
  EXPECT_EQ(entriesIn(dir.file("folder")), 0);
}

TEST(SafeFile, ReadingADirectoryOrAMissingFileFails) {
  TempDir dir;
  std::string bytes = "stale";
  EXPECT_EQ(readWholeFile(dir.path(), bytes).reason, "Is a directory");
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(readWholeFile(dir.file("none"), bytes).reason, "No such file or directory");

  writeFileBytes(dir.file("level.lv"), std::string("a\0b", 3));
  ASSERT_TRUE(readWholeFile(dir.file("level.lv"), bytes).ok);
  EXPECT_EQ(bytes, std::string("a\0b", 3));
}

}  // namespace
