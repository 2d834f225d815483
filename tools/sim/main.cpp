// binhopper-sim: plays a level headless through the game's own PlayState and prints what
// happened. No display and no audio; the progress record lives in memory only. It finds the
// game's media as the game does. It plays an input script, and may keep the run as a replay,
// or plays a replay and checks that it ends as it recorded.

#include <allegro5/allegro.h>

#include <sys/resource.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>

#include "app/command_line.h"
#include "app/data_dirs.h"
#include "app/library.h"
#include "app/music.h"
#include "app/safe_file.h"
#include "campaign/progress.h"
#include "game/fatal.h"
#include "replay/replay_file.h"
#include "replay/replay_recorder.h"
#include "sim/input_script.h"
#include "sim/replay_keys.h"
#include "sim/simulator.h"
#include "themes/themes.h"
#include "world/tag.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

constexpr double kDefaultDt = 0.017;  // s, the game's minimum frame
constexpr int kUsageError = 2;
constexpr long kLowestIndex = -2;    // the final screen
constexpr long kHighestIndex = 254;  // the progress file holds at most 255 records

const char* const kUsage =
    "usage: binhopper-sim LEVEL.lv [--inputs SCRIPT] [--frames N] [--dt SECONDS] [--index I]\n"
    "                     [--trace] [--stats N] [--record FILE.rpl]\n"
    "       binhopper-sim --replay FILE.rpl LEVEL.lv [--index I] [--trace] [--stats N]\n"
    "Plays LEVEL.lv without a window and prints the END line of what happened.\n"
    "\n"
    "  --inputs SCRIPT    the keys held, frame by frame (without it nothing is pressed)\n"
    "  --frames N         play N frames (default: as many as the script lists)\n"
    "  --dt SECONDS       the time of one frame (default 0.017)\n"
    "  --index I          the level's index in the progress record (-2 the final screen)\n"
    "  --trace            print every frame's objects\n"
    "  --stats N          every N frames: entity counts and peak memory\n"
    "  --record FILE.rpl  keep the run as a replay of level I + 1, or of level N when LEVEL.lv\n"
    "                     is named N.lv, in the campaign named by the level's folder\n"
    "  --replay FILE.rpl  play the replay's frames instead of a script; exit 1 when it does\n"
    "                     not end with the outcome and time it recorded\n"
    "  -h, --help         show this help and exit\n"
    "      --version      show the version and exit\n";

struct Options {
  std::string level;
  std::string inputs;
  std::string replay;
  std::string record;
  int frames = -1;  // -1: as many as the script lists
  double dt = kDefaultDt;
  bool dtGiven = false;
  int index = -1;
  bool trace = false;
  int statsEvery = 0;  // frames between STATS lines; 0 prints none
};

[[noreturn]] void usage(const std::string& problem) {
  std::fprintf(stderr, "binhopper-sim: %s\n%s", problem.c_str(), kUsage);
  std::exit(kUsageError);
}

// Reads the whole of text as a number within [lowest, highest]; anything else is an error.
template <typename Number>
Number number(const char* option, const char* text, Number (*convert)(const char*, char**), Number lowest,
              Number highest) {
  char* end = nullptr;
  errno = 0;
  Number value = convert(text, &end);
  if (end == text || *end != '\0' || errno == ERANGE) usage(std::string("bad value '") + text + "' for " + option);
  if (!(value >= lowest && value <= highest)) usage(std::string("value '") + text + "' out of range for " + option);
  return value;
}

long toLong(const char* text, char** end) { return std::strtol(text, end, 10); }

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    bool hasValue = i + 1 < argc;
    if (argument == "--trace") {
      options.trace = true;
    } else if (argument == "--inputs" && hasValue) {
      options.inputs = argv[++i];
    } else if (argument == "--frames" && hasValue) {
      options.frames = static_cast<int>(number("--frames", argv[++i], toLong, 0L, long{INT_MAX}));
    } else if (argument == "--dt" && hasValue) {
      options.dt = number("--dt", argv[++i], std::strtod, kShortestReplayStep, kLongestReplayStep);
      options.dtGiven = true;
    } else if (argument == "--stats" && hasValue) {
      options.statsEvery = static_cast<int>(number("--stats", argv[++i], toLong, 1L, long{INT_MAX}));
    } else if (argument == "--replay" && hasValue) {
      options.replay = argv[++i];
    } else if (argument == "--record" && hasValue) {
      options.record = argv[++i];
    } else if (argument == "--index" && hasValue) {
      options.index = static_cast<int>(number("--index", argv[++i], toLong, kLowestIndex, kHighestIndex));
    } else if (argument.rfind("--", 0) == 0 || !options.level.empty()) {
      usage("unexpected argument '" + argument + "'");
    } else {
      options.level = argument;
    }
  }
  if (options.level.empty()) usage("no level file given");
  if (!options.replay.empty() && (!options.inputs.empty() || options.frames >= 0 || options.dtGiven))
    usage("a replay holds its own frames: --inputs, --frames and --dt go without --replay");
  if (!options.replay.empty() && !options.record.empty()) usage("--record goes without --replay");
  return options;
}

// A script may come through a pipe (process substitution), unlike anything the game reads.
InputScript readScript(const std::string& path) {
  if (path.empty()) return InputScript();
  Result<std::string> text = readWholeFile(path, kLargestReadBytes, Readable::RegularFileOrPipe);
  if (!text.ok()) {
    std::printf("CANNOT OPEN '%s'!!!\n", path.c_str());
    std::exit(1);
  }
  std::istringstream in(text.value());
  Result<InputScript> script = InputScript::read(in, path);
  if (!script.ok()) {
    std::printf("%s\n", scriptProblemLine(script.problem()).c_str());
    std::exit(1);
  }
  return script.value();
}

void initLibrary() {
  Result<> started = startLibrary();
  if (!started.ok()) fatal(started.problem().message.c_str());
  setLoadFailureHandler(endWithLoadFailure);
  al_set_new_bitmap_flags(ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  // The final screen loads its module; with no audio installed it is never played.
  initMusic(1);
}

// A fresh record set in memory, long enough that a completion of level I is recorded.
void useFreshProgress(int levelIndex) {
  Progress& record = progress();
  record.records.clear();
  record.deaths = 0;
  record.ensureRecords(levelIndex + 1);
}

// For soak tests: a level that runs for an hour must not grow.
void printStats(int frame, Simulator& simulator) {
  rusage resources{};
  getrusage(RUSAGE_SELF, &resources);
  World& world = simulator.session().world();
  std::printf("STATS frame=%d dyna=%zu rndr=%zu peak_kib=%ld\n", frame, world.byTag(tagOf("dyna")).size(),
              world.byTag(tagOf("rndr")).size(), resources.ru_maxrss);
}

void afterFrame(const Options& options, Simulator& simulator) {
  int frame = simulator.frames();
  if (options.trace) std::fputs(simulator.trace().c_str(), stdout);
  if (options.statsEvery && frame % options.statsEvery == 0) printStats(frame, simulator);
}

void startSimulation(int levelIndex) {
  initLibrary();
  createThemes();
  useFreshProgress(levelIndex);
}

// Before a run, a file that cannot be used is the run's only output, as a bad script is.
[[noreturn]] void refuse(const std::string& file, const std::string& problem) {
  std::printf("%s: %s\n", file.c_str(), problem.c_str());
  std::exit(1);
}

// After a run the END line stays the last line of the output.
int failAfterRun(const std::string& file, const std::string& problem) {
  std::fprintf(stderr, "binhopper-sim: %s: %s\n", file.c_str(), problem.c_str());
  return 1;
}

uint64_t levelFileHash(const std::string& level) {
  Result<uint64_t> hash = hashLevelFile(level);
  if (!hash.ok()) {
    std::printf("CANNOT OPEN '%s'!!!\n", level.c_str());
    std::exit(1);
  }
  return hash.value();
}

// A kept run's level is number I + 1 with --index I, else N of a level file named N.lv.
int recordedLevel(const Options& options) {
  if (options.index >= 0) return options.index + 1;
  std::string name = fs::path(options.level).filename().string();
  size_t digits = name.find_first_not_of("0123456789");
  if (digits > 0 && digits <= 3 && name.compare(digits, std::string::npos, ".lv") == 0) {
    int number = std::stoi(name.substr(0, digits));
    if (number >= 1 && number <= kMaximumReplayLevel) return number;
  }
  usage("--record needs the level's number: give --index, or name the level file N.lv");
}

// A kept run's campaign is named by the folder its level file lies in, as campaigns are.
std::string recordedCampaign(const std::string& level) {
  std::error_code error;
  fs::path folder = fs::weakly_canonical(fs::absolute(level).parent_path(), error);
  std::string name = folder.filename().string();
  if (error || name.empty()) usage("--record cannot name a campaign after the folder of '" + level + "'");
  return name;
}

std::optional<ReplayRecorder> recorderFor(const Options& options) {
  if (options.record.empty()) return std::nullopt;
  return ReplayRecorder(recordedCampaign(options.level), recordedLevel(options), levelFileHash(options.level));
}

int keepRun(const std::string& file, const ReplayRecorder& recorder, const Simulator& simulator) {
  std::optional<Replay> replay = recorder.replay(simulator.outcome(), simulator.elapsed());
  if (!replay) return failAfterRun(file, format("a run of more than %u frames is not kept", kMaximumReplayFrames));
  Result<> saved = saveReplay(file, *replay);
  if (!saved.ok()) return failAfterRun(file, "cannot write: " + saved.problem().message);
  return 0;
}

int playScript(const Options& options) {
  InputScript script = readScript(options.inputs);
  std::optional<ReplayRecorder> recorder = recorderFor(options);
  startSimulation(options.index);
  Simulator simulator(options.level.c_str(), options.index);
  int frames = options.frames >= 0 ? options.frames : script.frameCount();
  for (int frame = 1; frame <= frames; ++frame) {
    simulator.step(script.keysAt(frame), options.dt);
    if (recorder) recorder->add(options.dt, gameControlsInput());
    afterFrame(options, simulator);
  }
  std::printf("%s\n", simulator.end().c_str());
  return recorder ? keepRun(options.record, *recorder, simulator) : 0;
}

Replay readReplay(const Options& options) {
  Result<Replay> loaded = loadReplay(options.replay);
  if (!loaded.ok()) refuse(options.replay, located(loaded.problem()));
  std::optional<std::string> mismatch = levelMismatch(loaded.value(), levelFileHash(options.level));
  if (mismatch) refuse(options.replay, *mismatch);
  return loaded.value();
}

int checkReplay(const Options& options) {
  Replay replay = readReplay(options);
  startSimulation(options.index);
  Simulator simulator(options.level.c_str(), options.index);
  std::optional<std::string> mismatch = playReplay(simulator, replay, [&] { afterFrame(options, simulator); });
  std::printf("%s\n", simulator.end().c_str());
  return mismatch ? failAfterRun(options.replay, *mismatch) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  int infoStatus = answerToolInfoRequest(argc, argv, "binhopper-sim", kUsage, stdout);
  if (infoStatus >= 0) return infoStatus;
  Options options = parseOptions(argc, argv);
  enterToolDataDirectory({&options.level, &options.inputs, &options.replay, &options.record});
  for (const std::string* read : {&options.level, &options.inputs}) {
    if (!options.record.empty() && sameFile(options.record, *read))
      usage("--record " + options.record + " would write over " + *read + ", which this run reads");
  }
  return options.replay.empty() ? playScript(options) : checkReplay(options);
}
