#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "campaign/campaign.h"
#include "campaign/discovery.h"
#include "pack_tools/new_pack.h"
#include "pack_tools/pack_archive.h"
#include "pack_tools/pack_check.h"
#include "pack_tools/pack_install.h"
#include "pack_tools/scratch_folder.h"
#include "replay/proof.h"
#include "replay/replay_file.h"
#include "replay/replay_recorder.h"
#include "sim/input_script.h"
#include "sim/replay_keys.h"
#include "sim/simulator.h"
#include "themes/themes.h"
#include "unit/sim_run.h"
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

// Won in 0.731 s: the avatar walks right over the loose garbage while the bag above the bin
// falls into it.
const std::string kDropLevel = gridLevel({{27, "..A...*"}, {28, "00000000"}}, "ct 10 28 1\ngb 10 20\n");
const std::string kDropWin = "30 R\n20 -\n";

std::string compiled(const std::string& text) {
  Result<std::string> level = compileLevelText(text, levelKinds());
  EXPECT_TRUE(level.ok()) << located(level.problem());
  return level.value();
}

// Plays the script on the pack's level headless and keeps the run as its proof, as a test play
// of the level keeps it.
void keepRunAsProof(const std::string& folder, int number, const std::string& script) {
  createThemes();
  std::string level = folder + "/" + std::to_string(number) + ".lv";
  Result<uint64_t> hash = hashLevelFile(level);
  ASSERT_TRUE(hash.ok());
  ReplayRecorder recorder("pk", number, hash.value());
  std::istringstream in(script);
  Result<InputScript> read = InputScript::read(in, "script");
  ASSERT_TRUE(read.ok()) << scriptProblemLine(read.problem());
  const InputScript& keys = read.value();
  Simulator simulator(level.c_str(), -1);
  for (int frame = 1; frame <= keys.frameCount(); ++frame) {
    simulator.step(keys.keysAt(frame), 0.017);
    recorder.add(0.017, gameControlsInput());
  }
  std::optional<Replay> run = recorder.replay(simulator.outcome(), simulator.elapsed());
  ASSERT_TRUE(run && keepProof(folder, *run).ok());
}

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

// Why an install was refused; one that went through says where, so that a comparison fails.
std::string refusalOf(const PackInstall& install) {
  return install.ok() ? "installed in " + install.installedIn.value() : install.installedIn.problem().message;
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

std::string littleEndian(uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  return out;
}

// The end of a zip whose directory holds `entries` entries in `directoryBytes` bytes, the count in
// a zip64 record when it is beyond 16 bits (found where `locatedAt` says, else where it is); the
// directory itself is never reached.
std::string zipEnd(uint64_t entries, uint64_t directoryBytes, std::optional<uint64_t> locatedAt = {}) {
  std::string zip = "PK\x03\x04" + std::string(26, '\0');
  bool zip64 = entries > 0xFFFF;
  if (zip64) {
    uint64_t record = locatedAt.value_or(zip.size());
    zip += "PK\x06\x06" + littleEndian(44, 8) + std::string(20, '\0') + littleEndian(entries, 8) +
           littleEndian(directoryBytes, 8) + littleEndian(0, 8);
    zip += "PK\x06\x07" + littleEndian(0, 4) + littleEndian(record, 8) + littleEndian(1, 4);
  }
  return zip + "PK\x05\x06" + std::string(6, '\0') + littleEndian(zip64 ? 0xFFFF : entries, 2) +
         littleEndian(zip64 ? 0xFFFFFFFF : directoryBytes, 4) + littleEndian(0, 4) + littleEndian(0, 2);
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

// The menu's "Add a campaign…" refuses each as --install-pack does, in the same words. A path
// out of the pack at the top and a pack that fails its check are refused by
// tests/e2e/install_pack.sh, which also checks the lines of the failed check.
TEST_F(PackTools, HostileArchivesAreRefusedByNameAndWriteNothing) {
  auto sources = [](int count, const std::string& bytes) {
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) entries.push_back({"p/src/" + std::to_string(i) + ".txt", AE_IFREG, bytes});
    return entries;
  };
  const std::string notPartOfAPack =
      "not part of a pack (a pack holds pack.txt, 1.lv to 24.lv, winner.lv, .txt files in solutions/ and src/, and "
      "proofs/1.rpl to proofs/24.rpl)";
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
      {"a zip's directory of 60,000 entries", zipEnd(60000, 60000 * 60), "more than 128 entries"},
      {"a zip64 directory of 290,000 entries", zipEnd(290000, 290000 * 60), "more than 128 entries"},
      {"a zip64 record said to lie 2^64 - 1 bytes in", zipEnd(290000, 290000 * 60, UINT64_MAX),
       "more than 128 entries"},
      {"a zip's directory larger than 128 entries fill", zipEnd(5, 10 << 20),
       "a directory of 10485760 bytes, more than 128 entries would fill"},
      {"not an archive", "These are not the bytes of an archive.\n",
       "not a pack folder, .zip or .tar.gz archive (Unrecognized archive format)"},
      {"a file that is not part of a pack", tarGz({{"p/pack.txt", AE_IFREG, ""}, {"p/run.sh", AE_IFREG, ""}}),
       "entry 'p/run.sh': " + notPartOfAPack},
      {"a level number beyond 24", tarGz({{"p/25.lv", AE_IFREG, ""}}), "entry 'p/25.lv': " + notPartOfAPack},
      {"a binary file among the sources", tarGz({{"p/src/1.txt", AE_IFREG, "a\0b"s}}),
       "entry 'p/src/1.txt': not a text file"},
      {"a proof beyond level 24", tarGz({{"p/proofs/25.rpl", AE_IFREG, ""}}),
       "entry 'p/proofs/25.rpl': " + notPartOfAPack},
      {"a proof that is no replay", tarGz({{"p/proofs/1.rpl", AE_IFREG, "BHRP"}}),
       "entry 'p/proofs/1.rpl': not a replay (byte 4: cut short in the version)"},
      {"an entry given twice", tarGz({{"p/1.lv", AE_IFREG, ""}, {"p/./1.lv", AE_IFREG, ""}}),
       "entry 'p/./1.lv': given twice"},
      {"a folder name that is hidden", tarGz({{".p/1.lv", AE_IFREG, ""}}),
       "'.p' cannot name a pack's folder (letters, digits, '.', '_' and '-', not first '.' or '-', at most 64)"},
  };
  const std::string before = snapshot(player_.path());
  for (const Row& row : rows) {
    const std::string source = archive("hostile.tar.gz", row.bytes);
    PackInstall install = installPack(source, places(), true);
    EXPECT_EQ(refusalOf(install), row.refusal) << row.label;
    CampaignInstall fromMenu = installForMenu(source, places(), true);
    EXPECT_FALSE(fromMenu.installed) << row.label;
    EXPECT_EQ(fromMenu.lines.back(), "cannot install " + source + ": " + row.refusal) << row.label << ", from the menu";
    EXPECT_EQ(snapshot(player_.path()), before) << row.label;
  }
  EXPECT_EQ(refusalOf(installPack("/", places(), true)), "the root folder cannot be a pack's folder");
  // Run from its source tree the game's packs are the player's: --force never puts a pack over one.
  const CampaignPlaces sourceTree{places().builtIn, packs(), packs()};
  const std::string kept = archive("kept.zip", zipPack({{"pack.txt", "name = Mine\nlevel 1 = 5\n"}}, "kept", 0));
  EXPECT_EQ(refusalOf(installPack(kept, sourceTree, true)),
            "the folder name 'kept' belongs to the pack shipped in " + packs() +
                "/kept (a pack of that name would share its progress and best runs): give the pack's folder another "
                "name");
  EXPECT_EQ(snapshot(player_.path()), before);
}

// The files of a first install and the refusal of a second without --force are checked by
// tests/e2e/install_pack.sh; a folder and a .tar.gz are read by the same rules as a zip.
TEST_F(PackTools, InstallsAZipFolderOrTarGzWholeAndReplacesOnlyWhenAsked) {
  Replay proof;
  proof.campaign = "good";
  proof.outcome.status = Outcome::Completed;
  proof.runs = {FrameRun{0.017, PlayInput{}, 1}};
  PackFiles files{{"pack.txt", "name = Good\nlevel 1 = 5 First\n"},
                  {"1.lv", kWonAtOnce},
                  {"solutions/1.txt", kOneFrame},
                  {"proofs/1.rpl", encodeReplay(proof)}};
  std::string zip = archive("good.zip", zipPack(files, "good", 0));

  PackInstall first = installPack(zip, places(), false);
  ASSERT_TRUE(first.ok()) << refusalOf(first);
  EXPECT_EQ(first.installedIn.value(), packs() + "/good");
  EXPECT_EQ(readFileBytes(packs() + "/good/proofs/1.rpl"), files["proofs/1.rpl"]) << "a pack carries its proofs";

  files["pack.txt"] = "name = Better\nlevel 1 = 5 First\n";
  files.erase("solutions/1.txt");
  files.erase("proofs/1.rpl");
  zip = archive("good.zip", zipPack(files, "good", 0));
  PackInstall again = installPack(zip, places(), false);
  EXPECT_TRUE(again.alreadyInstalled && again.folderName == "good") << refusalOf(again);
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
  EXPECT_EQ(refusalOf(installPack(folder, places(), true)), "entry 'linked/1.lv': a link");
  fs::remove(folder + "/1.lv");
  writeFileBytes(folder + "/1.lv", kWonAtOnce);
  ASSERT_TRUE(installPack(folder, places(), false).ok());
  EXPECT_EQ(readFileBytes(packs() + "/linked/1.lv"), kWonAtOnce);

  // A .tar.gz with its files loose takes the archive's name.
  const std::vector<Entry> loose = {{"pack.txt", AE_IFREG, "name = Good\nlevel 1 = 5 First\n"},
                                    {"1.lv", AE_IFREG, kWonAtOnce},
                                    {"src/notes.txt", AE_IFREG, "how the levels were made\n"}};
  PackInstall install = installPack(archive("loose-pack.tar.gz", tarGz(loose)), places(), false);
  ASSERT_TRUE(install.ok()) << refusalOf(install);
  EXPECT_EQ(install.installedIn.value(), packs() + "/loose-pack");
  EXPECT_EQ(readFileBytes(packs() + "/loose-pack/src/notes.txt"), "how the levels were made\n");
}

// With every temporary folder taken the check has nowhere to go: each place tried is named with
// the reason, and nothing is installed.
TEST_F(PackTools, WithNoRoomForTheCheckEachPlaceTriedIsNamedAndNothingIsInstalled) {
  const std::string source =
      archive("good.zip", zipPack({{"pack.txt", "name = Good\nlevel 1 = 5 First\n"}, {"1.lv", kWonAtOnce}}, "good", 0));
  const char* previous = std::getenv("TMPDIR");
  const std::optional<std::string> kept = previous ? std::optional<std::string>(previous) : std::nullopt;
  setenv("TMPDIR", sources_.path().c_str(), 1);
  std::vector<std::unique_ptr<ScratchFolder>> held;
  for (int i = 0; i < ScratchFolder::kMostScratchFolders; ++i) {
    held.push_back(std::make_unique<ScratchFolder>(sources_.file("held-XXXXXX")));
    ASSERT_TRUE(held.back()->made().ok()) << held.back()->made().problem().message;
  }
  PackInstall install = installPack(source, places(), false);
  held.clear();
  if (kept)
    setenv("TMPDIR", kept->c_str(), 1);
  else
    unsetenv("TMPDIR");
  const std::string why = " (too many temporary folders at once)";
  EXPECT_EQ(refusalOf(install), "cannot make a folder for the check in " + sources_.path() + why + ", /tmp" + why +
                                    ", nor in " + player_.file(".tmp") + why);
  EXPECT_FALSE(fs::exists(packs() + "/good"));
  EXPECT_TRUE(install.checkLines.empty() && !install.alreadyInstalled);
}

// Both crowns are tests/data/campaigns_check.sh's shipped packs; a level refused and a level
// without a solution are the new pack checked by tests/system/level_tool.sh.
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
                                       " name=\"A \\\"b\\\"\"\nPROOF n=1 unproven\nPACK levels=1 problems=" +
                                       std::to_string(problems) + " proven=0 name=\"Q\"\n")
        << row.label;
    EXPECT_EQ(check.passed(), problems == 0) << row.label;
  }
}

// A run kept as a level's proof is played again by the check: proven while the level is the one
// it was won on, stale once the level is edited; a proof that cannot be played as it says is a
// clear line of its own, and the level's other findings, the other level and every file stay.
TEST_F(PackTools, AProofKeptIsPlayedAgainAndFollowsItsLevel) {
  const std::string secondLevel = "LEVEL n=2 target=5.00 solution=none crowns=none name=\"B\"\nPROOF n=2 unproven\n";
  const std::string firstLevel = "LEVEL n=1 target=5.00 solution=none crowns=none name=\"A\"\n";
  auto edit = [](const std::string& file, const std::function<void(std::string&)>& change) {
    std::string bytes = readFileBytes(file);
    change(bytes);
    writeFileBytes(file, bytes);
  };
  auto replay = [&edit](const std::function<void(Replay&)>& change) {
    return [&edit, change](const std::string& pack) {
      edit(pack + "/proofs/1.rpl", [&change](std::string& bytes) {
        Result<Replay> run = decodeReplay(bytes);
        ASSERT_TRUE(run.ok());
        change(run.value());
        bytes = encodeReplay(run.value());
      });
    };
  };
  struct Row {
    const char* label;
    std::function<void(const std::string& pack)> change;
    std::string lines;  // level 1's lines, "P" the pack's folder
    int proven;
    bool provenInTheMenu;  // which trusts what the proof says of itself
  } const rows[] = {
      {"as it was played", [](const std::string&) {}, firstLevel + "PROOF n=1 proven time=0.73 crowns=gold,silver\n", 1,
       true},
      {"the level edited since",
       [&edit](const std::string& pack) {
         edit(pack + "/1.lv", [](std::string& bytes) { bytes += "tl\x01\x01\x00"s; });
       },
       firstLevel + "PROOF n=1 stale (P/proofs/1.rpl was kept on another version of 1.lv; play it again and keep a "
                    "new proof)\n",
       0, false},
      {"cut short in its header: after the elapsed time, 2 bytes of the frame count's 4",
       [&edit](const std::string& pack) { edit(pack + "/proofs/1.rpl", [](std::string& bytes) { bytes.resize(30); }); },
       "P/proofs/1.rpl: byte 28: cut short in the frame count\n" + firstLevel + "PROOF n=1 unproven\n", 0, false},
      {"a run of another level", replay([](Replay& run) { run.level = 2; }),
       "P/proofs/1.rpl: a run of level 2, not of level 1\n" + firstLevel + "PROOF n=1 unproven\n", 0, false},
      {"a time the run does not play to", replay([](Replay& run) { run.elapsed = 0.5; }),
       "P/proofs/1.rpl: it recorded status=2 reason=\"\" elapsed=0.5 but played to status=2 reason=\"\" "
       "elapsed=0.73100000000000054\n" +
           firstLevel + "PROOF n=1 unproven\n",
       0, true},
      {"the shipped best run in its place",
       [](const std::string& pack) {
         fs::create_directory(pack + "/replays");
         fs::rename(pack + "/proofs/1.rpl", pack + "/replays/1.rpl");
       },
       firstLevel + "PROOF n=1 proven time=0.73 crowns=gold,silver\n", 1, true},
  };
  for (const Row& row : rows) {
    TempDir pack;
    writeFileBytes(pack.file("pack.txt"), "name = Q\nlevel 1 = 5 A\nlevel 2 = 5 B\n");
    writeFileBytes(pack.file("1.lv"), compiled(kDropLevel));
    writeFileBytes(pack.file("2.lv"), kNeverWon);
    keepRunAsProof(pack.path(), 1, kDropWin);
    row.change(pack.path());
    const std::string files = snapshot(pack.path());
    PackCheck check = checkPack(pack.path(), "P");
    const int problems = row.lines.rfind("P/", 0) == 0 ? 1 : 0;
    EXPECT_EQ(joined(check.lines), row.lines + secondLevel +
                                       format("PACK levels=2 problems=%d proven=%d name=\"Q\"\n", problems, row.proven))
        << row.label;
    EXPECT_EQ(snapshot(pack.path()), files) << row.label << ": the check changed a file";
    EXPECT_EQ(levelProven(pack.path(), 1, pack.file("1.lv")), row.provenInTheMenu) << row.label;
  }
}

// A level pack.txt gives no target is offered one from its fastest run, the proof's or the
// solution's, with a fifth to spare, rounded up to a tenth.
TEST_F(PackTools, AProofSuggestsATargetWherePackTxtGivesNone) {
  const std::pair<double, double> rows[] = {{17.37, 21.8}, {16.0, 20.0}, {1.6, 2.0}, {0.017, 0.1}, {900.0, 999.9}};
  for (const auto& [proof, target] : rows) EXPECT_DOUBLE_EQ(suggestedTarget(proof), target) << proof;

  TempDir pack;
  writeFileBytes(pack.file("pack.txt"), "name = Q\n");
  writeFileBytes(pack.file("1.lv"), compiled(kDropLevel));
  keepRunAsProof(pack.path(), 1, kDropWin);
  fs::create_directory(pack.file("solutions"));
  writeFileBytes(pack.file("solutions/1.txt"), "30 R\n40 -\n");
  PackCheck check = checkPack(pack.path(), "P");
  ASSERT_GE(check.lines.size(), 3u);
  EXPECT_EQ(check.lines[check.lines.size() - 3], "LEVEL n=1 target=none solution=0.73 crowns=gold name=\"\"");
  EXPECT_EQ(check.lines[check.lines.size() - 2], "PROOF n=1 proven time=0.73 crowns=gold suggested-target=1.0");
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
