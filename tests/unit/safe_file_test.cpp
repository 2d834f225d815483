#include "app/safe_file.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/file_lock.h"

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

// Two programs replacing one file at once (two editors on one level) never share a temporary
// file: every save succeeds, and a reader only ever finds one content or the other, whole.
TEST(SafeFile, TwoWritersOfOneFileNeverMeet) {
  constexpr int kRounds = 300;
  TempDir dir;
  const std::string path = dir.file("level.lv");
  const std::string contents[] = {std::string(4000, 'a'), std::string(6000, 'b')};
  ASSERT_TRUE(replaceFile(path, contents[0]).ok);
  pid_t other = fork();
  if (other == 0) {
    int failed = 0;
    for (int round = 0; round < kRounds; ++round) failed += !replaceFile(path, contents[0]).ok;
    _exit(failed == 0 ? 0 : 1);
  }
  ASSERT_GT(other, 0);
  int failed = 0, torn = 0;
  std::string bytes;
  for (int round = 0; round < kRounds; ++round) {
    failed += !replaceFile(path, contents[1]).ok;
    torn += !readWholeFile(path, bytes).ok || (bytes != contents[0] && bytes != contents[1]);
  }
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(torn, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other writer's saves failed";
}

// A script handed over by process substitution is a pipe named /dev/fd/N: read where a tool
// asks for pipes, refused (not waited on) everywhere else.
TEST(SafeFile, PipesAreReadOnlyWhereAsked) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  ASSERT_EQ(write(ends[1], "R 10\n", 5), 5);
  close(ends[1]);
  const std::string path = "/dev/fd/" + std::to_string(ends[0]);
  std::string bytes;
  FileResult refused = readWholeFile(path, bytes);
  EXPECT_EQ(refused.reason, "not a regular file");
  EXPECT_FALSE(refused.missing);
  ASSERT_TRUE(readWholeFile(path, bytes, kLargestReadBytes, Readable::RegularFileOrPipe).ok);
  EXPECT_EQ(bytes, "R 10\n");
  close(ends[0]);
}

// A writer killed half-way leaves "<file>.<pid>-<random>.tmp"; the next writer of that file
// removes it once its process is gone, and nothing else.
TEST(SafeFile, TemporariesOfKilledWritersAreRemoved) {
  TempDir dir;
  pid_t child = fork();
  if (child == 0) _exit(0);
  ASSERT_GT(child, 0);
  waitpid(child, nullptr, 0);
  const std::string ended = std::to_string(child), living = std::to_string(getppid());
  const std::string left[] = {"real.dat." + ended + "-a1b2c3.tmp", "real.dat." + living + "-a1b2c3.tmp",
                              "other.dat." + ended + "-a1b2c3.tmp", "real.dat." + ended + "-a1b2c3.tmp.keep"};
  for (const std::string& name : left) writeFileBytes(dir.file(name), "half");
  ASSERT_TRUE(replaceFile(dir.file("real.dat"), "whole").ok);
  EXPECT_FALSE(std::filesystem::exists(dir.file(left[0]))) << "its writer has ended";
  for (int kept = 1; kept < 4; ++kept) EXPECT_TRUE(std::filesystem::exists(dir.file(left[kept]))) << left[kept];
}

// A holder that never lets go (a stopped game) makes the update fail after a bounded wait
// instead of freezing the game, and the file stays as it was.
TEST(SafeFile, AnUpdateWaitsForTheLockOnlySoLong) {
  Deadline deadline(60);
  TempDir dir;
  const std::string path = dir.file("binhopper.cfg");
  writeFileBytes(path, "old");
  FileLock holder(path + ".lock");
  ASSERT_TRUE(holder.held());
  auto started = std::chrono::steady_clock::now();
  FileResult result = updateFile(path, 16, [](const FoundFile& found) {
    EXPECT_EQ(found.bytes, "old");
    return Merged::write("new");
  });
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_EQ(result.reason, "'" + path + ".lock' stayed locked by another program");
  EXPECT_EQ(readFileBytes(path), "old");
}

}  // namespace
