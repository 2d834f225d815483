#include "app/safe_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "app/file_lock.h"

#include "unit/test_support.h"

namespace {

mode_t modeOf(const std::string& path) {
  struct stat status {};
  lstat(path.c_str(), &status);
  return status.st_mode;
}

// That no temporary file is left behind is ProgressFile.AnOversizedFileIsDamagedAndSetAsideWhole.
TEST(SafeFile, ReplacingKeepsLinksAndPermissions) {
  TempDir dir;
  std::string target = dir.file("real.dat");
  writeFileBytes(target, "old");
  chmod(target.c_str(), 0640);
  ASSERT_EQ(symlink("real.dat", dir.file("link.dat").c_str()), 0);

  ASSERT_TRUE(replaceFile(dir.file("link.dat"), "new bytes").ok());
  EXPECT_TRUE(S_ISLNK(modeOf(dir.file("link.dat")))) << "the link stays a link";
  EXPECT_EQ(readFileBytes(target), "new bytes");
  EXPECT_EQ(modeOf(target) & 07777, 0640u);
}

// Two programs replacing one file at once (two editors on one level) never share a temporary
// file: every save succeeds, and a reader only ever finds one content or the other, whole.
TEST(SafeFile, TwoWritersOfOneFileNeverMeet) {
  constexpr int kRounds = 300;
  TempDir dir;
  const std::string path = dir.file("level.lv");
  const std::string contents[] = {std::string(4000, 'a'), std::string(6000, 'b')};
  ASSERT_TRUE(replaceFile(path, contents[0]).ok());
  pid_t other = fork();
  if (other == 0) {
    int failed = 0;
    for (int round = 0; round < kRounds; ++round) failed += !replaceFile(path, contents[0]).ok();
    _exit(failed == 0 ? 0 : 1);
  }
  ASSERT_GT(other, 0);
  int failed = 0, torn = 0;
  for (int round = 0; round < kRounds; ++round) {
    failed += !replaceFile(path, contents[1]).ok();
    Result<std::string> read = readWholeFile(path);
    torn += !read.ok() || (read.value() != contents[0] && read.value() != contents[1]);
  }
  int status = 0;
  waitpid(other, &status, 0);
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(torn, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other writer's saves failed";
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
  ASSERT_TRUE(replaceFile(dir.file("real.dat"), "whole").ok());
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
  Result<> result = updateFile(path, 16, [](const FoundFile& found) {
    EXPECT_EQ(found.bytes, "old");
    return Merged::write("new");
  });
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_EQ(result.problem().message, "'" + path + ".lock' stayed locked by another program");
  EXPECT_EQ(readFileBytes(path), "old");
}

// A lock file that is a link is never followed, and the failure says that is why.
TEST(SafeFile, ALockFileThatIsALinkIsNamedAsOne) {
  TempDir dir;
  const std::string lock = dir.file("binhopper.cfg.lock");
  std::filesystem::create_symlink(dir.file("elsewhere"), lock);
  FileLock held(lock);
  EXPECT_FALSE(held.held());
  EXPECT_EQ(held.failure(),
            "cannot lock '" + lock + "': it is a symbolic link, which a lock file may not be (remove it)");
  EXPECT_FALSE(std::filesystem::exists(dir.file("elsewhere")));
}

}  // namespace
