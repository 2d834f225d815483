#include "states/play_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/data_dirs.h"
#include "pack_tools/pack_check.h"
#include "states/play_state.h"
#include "unit/sim_run.h"

namespace {

// A bag dropped into a bin completes the level in about a second; spikes under the avatar kill it.
const std::string kBinDay = gridLevel({{20, std::string(40, '0')}}, "av 2 19\ngb 10 5\nct 10 19 1\n");
const std::string kSpikes = gridLevel({{28, std::string(40, '0')}}, "av 5 27\nsp 5 27\n");

using Lines = std::vector<std::pair<std::string, std::string>>;

// Plays of one level of the built-in campaign, its runs kept in a fresh player directory.
class PlaySessionRun : public PlayerDirectoryRun {
 protected:
  void start(const std::string& level, PlayKind kind, bool keepRuns) {
    PlayedLevel played;
    played.kind = kind;
    played.number = kind == PlayKind::Numbered ? 1 : 0;
    load(level, played);
    if (keepRuns) sim->session().keepRuns("levels", 1, directory.file("test.lv"), false);
  }
  // Plays until the level has ended, up to three seconds.
  const Report& playToTheEnd() {
    for (int frame = 0; frame < 192 && !sim->session().report(); ++frame) frames(1);
    EXPECT_NE(sim->session().report(), nullptr) << "the level never ended";
    return sim->session().report() ? *sim->session().report() : empty_;
  }
  // The panel's lines below its last blank one: the choices offered.
  Lines offered(const Report& report) {
    std::vector<ReportLine> panel = report.panelLines();
    Lines lines;
    for (size_t i = panel.size(); i-- > 0 && !(panel[i].left.empty() && panel[i].right.empty());)
      lines.insert(lines.begin(), {panel[i].left, panel[i].right});
    return lines;
  }

  Report empty_;
};

// What a report offers follows the kind of play and the end: Space goes on after a completion
// and retries after a death, the editor's test play leads back to the editor, and a kept run
// can be watched.
TEST_F(PlaySessionRun, TheReportOffersWhatThePlayAllows) {
  const std::tuple<const char*, std::string, PlayKind, bool, Lines, ReportAction> rows[] = {
      {"a numbered level completed, its run kept",
       kBinDay,
       PlayKind::Numbered,
       true,
       {{"W - watch this run", ""}, {"SPACE - next level, R - retry", "ESC - back to menu"}},
       ReportAction::Next},
      {"a numbered level's death",
       kSpikes,
       PlayKind::Numbered,
       false,
       {{"SPACE, R - retry", "ESC - back to menu"}},
       ReportAction::Retry},
      {"the editor's test play completed",
       kBinDay,
       PlayKind::TestPlay,
       false,
       {{"SPACE - back to the editor, R - retry", "ESC - back to the editor"}},
       ReportAction::Next},
      {"a death in the editor's test play",
       kSpikes,
       PlayKind::TestPlay,
       false,
       {{"SPACE, R - retry", "ESC - back to the editor"}},
       ReportAction::Retry},
  };
  for (const auto& [label, level, kind, keepRuns, choices, space] : rows) {
    SCOPED_TRACE(label);
    start(level, kind, keepRuns);
    const Report& report = playToTheEnd();
    EXPECT_EQ(offered(report), choices);
    EXPECT_EQ(report.actionFor(ReportKey::Space), space);
    EXPECT_EQ(report.actionFor(ReportKey::Escape), ReportAction::Leave);
    EXPECT_EQ(report.actionFor(ReportKey::W).has_value(), keepRuns);
  }
}

// Keys held together after the end: Space wins over R, R over Escape, and any of them over W.
TEST_F(PlaySessionRun, OneKeyDecidesWhenSeveralAreHeld) {
  const std::tuple<const char*, std::string, std::vector<int>, RunStatus, PlayResult> rows[] = {
      {"Space and Escape after a completion",
       kBinDay,
       {ALLEGRO_KEY_SPACE, ALLEGRO_KEY_ESCAPE},
       RunStatus::Done,
       PlayResult::Next},
      {"Space after a death", kSpikes, {ALLEGRO_KEY_SPACE}, RunStatus::Done, PlayResult::Retry},
      {"R and Escape", kBinDay, {ALLEGRO_KEY_R, ALLEGRO_KEY_ESCAPE}, RunStatus::Done, PlayResult::Retry},
      {"W and Escape", kBinDay, {ALLEGRO_KEY_W, ALLEGRO_KEY_ESCAPE}, RunStatus::Done, PlayResult::Menu},
      {"W with no run kept", kBinDay, {ALLEGRO_KEY_W}, RunStatus::Running, PlayResult::Menu},
  };
  for (const auto& [label, level, keys, status, result] : rows) {
    SCOPED_TRACE(label);
    start(level, PlayKind::Numbered, false);
    playToTheEnd();
    sim->step({}, kDt);
    sim->step(keys, kDt);
    EXPECT_EQ(sim->state().status, status);
    EXPECT_EQ(sim->state().result(), result);
  }
}

// The editor's test play of a pack's level records the run; once it completes the level, K keeps
// it as the level's proof, which the pack's check then plays to the same end. A level played
// that is not the pack's file, and a run that ends in a death, offer no proof.
TEST_F(PlaySessionRun, ATestPlayOfAPackLevelKeepsItsWinAsTheProof) {
  const std::string pack = directory.file("pk");
  const std::tuple<const char*, std::string, bool, std::string, std::string> rows[] = {
      {"the pack's level won", kBinDay, true, "K - keep this run as the level's proof", "PROOF n=1 proven"},
      {"edits not saved into the pack", kBinDay, false,
       "This is not the level in " + pack + "/1.lv: save it, then test it again, to keep a run as its proof.",
       "PROOF n=1 unproven"},
      {"a death", kSpikes, true, "", "PROOF n=1 unproven"},
  };
  for (const auto& [label, level, saved, offer, proof] : rows) {
    SCOPED_TRACE(label);
    std::filesystem::remove_all(pack);
    std::filesystem::create_directories(pack);
    writeFileBytes(pack + "/pack.txt", "name = Pk\nlevel 1 = 5\n");
    start(level, PlayKind::TestPlay, false);
    writeFileBytes(pack + "/1.lv", readFileBytes(directory.file("test.lv")) + (saved ? "" : "gb\x01\x01"));
    sim->session().recordProof(pack, 1, directory.file("test.lv"));
    const Report& report = playToTheEnd();
    std::string lines;
    for (const ReportLine& line : report.panelLines()) lines += line.left + "\n";
    EXPECT_EQ(lines.find("proof") != std::string::npos, !offer.empty()) << lines;
    EXPECT_NE(lines.find(offer), std::string::npos) << lines;
    sim->step({}, kDt);
    sim->step({ALLEGRO_KEY_K}, kDt);
    EXPECT_EQ(sim->state().status, RunStatus::Running) << "K keeps the proof and leaves the report up";
    EXPECT_EQ(std::filesystem::exists(pack + "/proofs/1.rpl"), offer.rfind("K", 0) == 0);
    if (offer.rfind("K", 0) == 0) {
      EXPECT_FALSE(sim->session().report()->actionFor(ReportKey::K)) << "a proof is kept once";
      EXPECT_EQ(sim->session().report()->lines.back().left,
                "This run is now the proof of level 1: " + pack + "/proofs/1.rpl");
    }
    // Played again by the check, the proof ends as the run did, with both crowns under the target.
    std::string played = proof == "PROOF n=1 proven"
                             ? format(" time=%.2f crowns=gold,silver", sim->session().context().elapsedTime)
                             : "";
    PackCheck check = checkPack(pack, "PK");
    ASSERT_GE(check.lines.size(), 2u);
    EXPECT_EQ(check.lines[check.lines.size() - 2], proof + played);
  }
}

}  // namespace
