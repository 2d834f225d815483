#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "campaign/campaign.h"
#include "campaign/discovery.h"
#include "pack_tools/new_pack.h"
#include "pack_tools/pack_archive.h"
#include "pack_tools/pack_check.h"
#include "pack_tools/pack_install.h"
#include "unit/test_support.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// Levels that end in the first frame: a bin that wants nothing is full at once. The second
// holds loose garbage out of reach; the third wants a bag that never comes.
const std::string kWonAtOnce = "av\x05\x1c"s + "ct\x0a\x1c\x00"s;
const std::string kGarbageLeft = kWonAtOnce + "lg\x20\x02"s;
const std::string kNeverWon = "av\x05\x1c"s + "ct\x0a\x1c\x01"s + "gb\x20\x02"s;
const std::string kOneFrame = "1 -\n";

struct Entry {
  std::string name;
  int type;  // AE_IFREG, AE_IFDIR, AE_IFLNK, AE_IFCHR, AE_IFIFO
  std::string bytes;
  std::string link = "";  // symbolic link target, or "hard:<target>" for a hard link
};

la_ssize_t appendTo(archive*, void* client, const void* buffer, size_t length) {
  static_cast<std::string*>(client)->append(static_cast<const char*>(buffer), length);
  return static_cast<la_ssize_t>(length);
}

std::string tarGz(const std::vector<Entry>& entries) {
  std::string bytes;
  archive* writer = archive_write_new();
  archive_write_set_format_pax_restricted(writer);
  archive_write_add_filter_gzip(writer);
  archive_write_open(writer, &bytes, nullptr, appendTo, nullptr);
  for (const Entry& entry : entries) {
    archive_entry* header = archive_entry_new();
    archive_entry_set_pathname(header, entry.name.c_str());
    archive_entry_set_filetype(header, static_cast<unsigned>(entry.type));
    archive_entry_set_perm(header, 0644);
    archive_entry_set_size(header, static_cast<la_int64_t>(entry.bytes.size()));
    if (entry.link.rfind("hard:", 0) == 0)
      archive_entry_set_hardlink(header, entry.link.substr(5).c_str());
    else if (!entry.link.empty())
      archive_entry_set_symlink(header, entry.link.c_str());
    archive_write_header(writer, header);
    archive_write_data(writer, entry.bytes.data(), entry.bytes.size());
    archive_entry_free(header);
  }
  archive_write_close(writer);
  archive_write_free(writer);
  return bytes;
}

// A tar header declaring a file of `size` bytes, followed by only a few of them: what an
// archive that claims to unpack into gigabytes looks like, without writing gigabytes.
std::string tarDeclaring(const std::string& name, unsigned long long size) {
  std::string header(512, '\0');
  std::memcpy(&header[0], name.data(), name.size());
  std::snprintf(&header[124], 12, "%011llo", size);
  header[156] = '0';
  header.replace(257, 8, "ustar\0"s + "00");
  std::memset(&header[148], ' ', 8);
  unsigned sum = 0;
  for (unsigned char byte : header) sum += byte;
  std::snprintf(&header[148], 8, "%06o", sum);
  return header + std::string(512, 'x');
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// Every path under the folder with its type and content, to see that nothing changed.
std::string snapshot(const std::string& folder) {
  std::vector<std::string> lines;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
    std::string line = fs::relative(it->path(), folder).string();
    if (it->is_symlink())
      line += " -> " + fs::read_symlink(it->path()).string();
    else if (it->is_regular_file())
      line += " = " + readFileBytes(it->path().string());
    else
      line += "/";
    lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  return joined(lines);
}

class PackTools : public ::testing::Test {
 protected:
  void SetUp() override {
    initAllegroForTests();
    fs::create_directories(player_.file("packs/kept"));
    writeFileBytes(player_.file("packs/kept/pack.txt"), "name = Kept\nlevel 1 = 5\n");
    writeFileBytes(player_.file("binhopper.dat"), std::string("\x01\0\0\0\0", 5));
    fs::create_directories(sources_.file("data/packs/overtime"));
  }

  // The game's own campaigns, whose folder names no pack may take, and the player's packs.
  CampaignPlaces places() const {
    return CampaignPlaces{sources_.file("data/levels"), sources_.file("data/packs"), packs()};
  }

  std::string archive(const std::string& name, const std::string& bytes) {
    writeFileBytes(sources_.file(name), bytes);
    return sources_.file(name);
  }

  std::string packs() const { return player_.file("packs"); }

  TempDir sources_;
  TempDir player_;
};

// A path out of the pack at the top and a pack that fails its check are refused by
// tests/e2e/install_pack.sh, which also checks the lines of the failed check.
TEST_F(PackTools, HostileArchivesAreRefusedByNameAndWriteNothing) {
  auto sources = [](int count, const std::string& bytes) {
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) entries.push_back({"p/src/" + std::to_string(i) + ".txt", AE_IFREG, bytes});
    return entries;
  };
  const std::string notPartOfAPack =
      "not part of a pack (a pack holds pack.txt, 1.lv to 24.lv, winner.lv, and .txt files in solutions/ and src/)";
  struct Row {
    const char* label;
    std::string bytes;
    std::string refusal;
  } const rows[] = {
      {"a path out inside the pack", tarGz({{"p/solutions/../../x.lv", AE_IFREG, "x"}}),
       "entry 'p/solutions/../../x.lv': a path that leaves the pack ('..')"},
      {"an absolute path", tarGz({{"/tmp/p/1.lv", AE_IFREG, "x"}}), "entry '/tmp/p/1.lv': an absolute path"},
      {"a symbolic link", tarGz({{"p/1.lv", AE_IFLNK, "", "/etc/passwd"}}), "entry 'p/1.lv': a link"},
      {"a backslash", tarGz({{"p/pack.txt", AE_IFREG, ""}, {"p\\1.lv", AE_IFREG, ""}}),
       "entry 'p\\1.lv': a backslash in its name (a pack's paths are separated by '/')"},
      {"a drive letter", tarGz({{"p/pack.txt", AE_IFREG, ""}, {"C:/x.lv", AE_IFREG, ""}}),
       "entry 'C:/x.lv': a ':' in its name (a drive letter or a system's own name)"},
      {"folders whose names differ in case", tarGz({{"p/pack.txt", AE_IFREG, ""}, {"P/1.lv", AE_IFREG, ""}}),
       "entry 'P/1.lv': outside the folder 'p' that holds the pack's first entry (a pack lies loose or in one top "
       "folder)"},
      {"the built-in campaign's folder name", tarGz({{"levels/pack.txt", AE_IFREG, "name = Mine\nlevel 1 = 5\n"}}),
       "the folder name 'levels' belongs to the built-in campaign (a pack of that name would share its progress and "
       "best runs): give the pack's folder another name"},
      {"a shipped pack's folder name", tarGz({{"overtime/pack.txt", AE_IFREG, "name = Mine\nlevel 1 = 5\n"}}),
       "the folder name 'overtime' belongs to the pack shipped in " + places().shippedPacks +
           "/overtime (a pack of that name would share its progress and best runs): give the pack's folder another "
           "name"},
      {"a hard link", tarGz({{"p/2.lv", AE_IFREG, "x"}, {"p/1.lv", AE_IFREG, "", "hard:p/2.lv"}}),
       "entry 'p/1.lv': a link"},
      {"a device", tarGz({{"p/1.lv", AE_IFCHR, ""}}), "entry 'p/1.lv': a device"},
      {"a named pipe", tarGz({{"p/1.lv", AE_IFIFO, ""}}), "entry 'p/1.lv': neither a file nor a folder"},
      {"a 2 GB entry declared", tarDeclaring("p/1.lv", 2ull << 30),
       "entry 'p/1.lv': declares 2147483648 bytes, more than the 1048576 a file may hold"},
      {"17 MiB in all", tarGz(sources(17, std::string(1 << 20, 'a'))), "more than 16777216 bytes in all"},
      {"10,000 entries", tarGz(sources(10000, "x")), "more than 128 entries"},
      {"not an archive", "These are not the bytes of an archive.\n",
       "not a pack folder, .zip or .tar.gz archive (Unrecognized archive format)"},
      {"a file that is not part of a pack", tarGz({{"p/pack.txt", AE_IFREG, ""}, {"p/run.sh", AE_IFREG, ""}}),
       "entry 'p/run.sh': " + notPartOfAPack},
      {"a level number beyond 24", tarGz({{"p/25.lv", AE_IFREG, ""}}), "entry 'p/25.lv': " + notPartOfAPack},
      {"a binary file among the sources", tarGz({{"p/src/1.txt", AE_IFREG, "a\0b"s}}),
       "entry 'p/src/1.txt': not a text file"},
      {"an entry given twice", tarGz({{"p/1.lv", AE_IFREG, ""}, {"p/./1.lv", AE_IFREG, ""}}),
       "entry 'p/./1.lv': given twice"},
      {"a folder name that is hidden", tarGz({{".p/1.lv", AE_IFREG, ""}}),
       "'.p' cannot name a pack's folder (letters, digits, '.', '_' and '-', not first '.' or '-', at most 64)"},
  };
  const std::string before = snapshot(player_.path());
  for (const Row& row : rows) {
    PackInstall install = installPack(archive("hostile.tar.gz", row.bytes), places(), true);
    EXPECT_EQ(install.refusal, row.refusal) << row.label;
    EXPECT_EQ(snapshot(player_.path()), before) << row.label;
  }
  EXPECT_EQ(installPack("/", places(), true).refusal, "the root folder cannot be a pack's folder");
}

// The files of a first install and the refusal of a second without --force are checked by
// tests/e2e/install_pack.sh; a folder and a .tar.gz are read by the same rules as a zip.
TEST_F(PackTools, InstallsAZipFolderOrTarGzWholeAndReplacesOnlyWhenAsked) {
  PackFiles files{
      {"pack.txt", "name = Good\nlevel 1 = 5 First\n"}, {"1.lv", kWonAtOnce}, {"solutions/1.txt", kOneFrame}};
  std::string zip = archive("good.zip", zipPack(files, "good", 0));

  PackInstall first = installPack(zip, places(), false);
  ASSERT_TRUE(first.ok()) << first.refusal;
  EXPECT_EQ(first.installedIn, packs() + "/good");

  files["pack.txt"] = "name = Better\nlevel 1 = 5 First\n";
  files.erase("solutions/1.txt");
  zip = archive("good.zip", zipPack(files, "good", 0));
  ASSERT_TRUE(installPack(zip, places(), true).ok());
  EXPECT_EQ(snapshot(packs() + "/good"), "1.lv = " + kWonAtOnce + "\npack.txt = " + files["pack.txt"] + "\n")
      << "the old pack is replaced whole, not merged";
  for (const auto& entry : fs::directory_iterator(packs()))
    EXPECT_NE(entry.path().filename().string()[0], '.') << "a staging folder was left: " << entry.path();

  // A folder is read by the same rules: its links are refused, never followed.
  std::string folder = sources_.file("linked");
  fs::create_directories(folder);
  writeFileBytes(folder + "/pack.txt", files["pack.txt"]);
  fs::create_symlink("/etc/passwd", folder + "/1.lv");
  EXPECT_EQ(installPack(folder, places(), true).refusal, "entry 'linked/1.lv': a link");
  fs::remove(folder + "/1.lv");
  writeFileBytes(folder + "/1.lv", kWonAtOnce);
  ASSERT_TRUE(installPack(folder, places(), false).ok());
  EXPECT_EQ(readFileBytes(packs() + "/linked/1.lv"), kWonAtOnce);

  // A .tar.gz with its files loose takes the archive's name.
  const std::vector<Entry> loose = {{"pack.txt", AE_IFREG, "name = Good\nlevel 1 = 5 First\n"},
                                    {"1.lv", AE_IFREG, kWonAtOnce},
                                    {"src/notes.txt", AE_IFREG, "how the levels were made\n"}};
  PackInstall install = installPack(archive("loose-pack.tar.gz", tarGz(loose)), places(), false);
  ASSERT_TRUE(install.ok()) << install.refusal;
  EXPECT_EQ(install.installedIn, packs() + "/loose-pack");
  EXPECT_EQ(readFileBytes(packs() + "/loose-pack/src/notes.txt"), "how the levels were made\n");
}

// Both crowns are tests/data/campaigns_check.sh's shipped packs; a level refused and a level
// without a solution are the new pack checked by tests/data/level_tool.sh.
TEST_F(PackTools, CheckReplaysEverySolutionAndReportsEachLevel) {
  struct Row {
    const char* label;
    std::string level;
    std::string solution;  // "" for none
    const char* target;
    std::string problem;  // the line before the level's, with "P" for the pack's folder; "" for none
    const char* result;   // the level line's target, solution and crowns
  } const rows[] = {
      {"over the target", kWonAtOnce, kOneFrame, "0.01", "", "target=0.01 solution=0.02 crowns=gold"},
      {"on the target exactly: silver is for under it", kWonAtOnce, kOneFrame, "0.017", "",
       "target=0.02 solution=0.02 crowns=gold"},
      {"garbage left", kGarbageLeft, kOneFrame, "5", "", "target=5.00 solution=0.02 crowns=none"},
      {"a solution that does not win", kNeverWon, "5 -\n", "5",
       "P/solutions/1.txt: does not complete the level (after 5 frames the avatar is still playing)",
       "target=5.00 solution=failed crowns=none"},
      {"a bad script", kWonAtOnce, "1 -\nx R\n", "5", "P/solutions/1.txt:2: bad frame count 'x'",
       "target=5.00 solution=failed crowns=none"},
      {"a script too long", kWonAtOnce, "60001 -\n", "5", "P/solutions/1.txt: longer than 60000 frames",
       "target=5.00 solution=failed crowns=none"},
  };
  for (const Row& row : rows) {
    TempDir dir;
    writeFileBytes(dir.file("pack.txt"), std::string("name = Q\nlevel 1 = ") + row.target + " A \"b\"\n");
    writeFileBytes(dir.file("1.lv"), row.level);
    if (!row.solution.empty()) {
      fs::create_directory(dir.file("solutions"));
      writeFileBytes(dir.file("solutions/1.txt"), row.solution);
    }
    PackCheck check = checkPack(dir.path(), "P");
    const int problems = row.problem.empty() ? 0 : 1;
    EXPECT_EQ(joined(check.lines), (problems ? row.problem + "\n" : "") + "LEVEL n=1 " + row.result +
                                       " name=\"A \\\"b\\\"\"\nPACK levels=1 problems=" + std::to_string(problems) +
                                       " name=\"Q\"\n")
        << row.label;
    EXPECT_EQ(check.passed(), problems == 0) << row.label;
  }
}

TEST_F(PackTools, ANewPackIsReadyForTheEditorAndNeverOverwrites) {
  std::string folder = sources_.file("new/pack");
  EXPECT_EQ(joined(makeNewPack(folder, "Loose Change")), "");
  Campaign campaign = loadCampaign(folder, CampaignOrigin::Player);
  EXPECT_EQ(joined(campaign.problems), "");
  EXPECT_EQ(campaign.title(), "Loose Change");
  EXPECT_EQ(campaign.levelCount(), 1);

  writeFileBytes(folder + "/pack.txt", "mine");
  EXPECT_EQ(joined(makeNewPack(folder, "Other")),
            folder + "/pack.txt: already exists\n" + folder + "/1.lv: already exists\n");
  EXPECT_EQ(readFileBytes(folder + "/pack.txt"), "mine");
  EXPECT_EQ(joined(makeNewPack(sources_.file("b"), std::string(25, 'n'))),
            "cannot use the name: 'name' is longer than 24 characters\n");
  EXPECT_EQ(joined(makeNewPack(sources_.file("c"), "A\nlevel 2 = 1")), "cannot use the name: it must be one line\n");
  EXPECT_FALSE(fs::exists(sources_.file("b")) || fs::exists(sources_.file("c")));
}

}  // namespace
