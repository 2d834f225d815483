// binhopper-sim: plays a level headless through the game's own PlayState and prints what
// happened. No display and no audio; the progress record lives in memory only. It finds the
// game's media as the game does.

#include <allegro5/allegro.h>

#include <sys/resource.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/command_line.h"
#include "app/data_dirs.h"
#include "app/library.h"
#include "app/music.h"
#include "app/safe_file.h"
#include "game/fatal.h"
#include "states/input_script.h"
#include "states/progress.h"
#include "states/simulator.h"
#include "themes/themes.h"
#include "world/tag.h"

namespace {

constexpr double kDefaultDt = 0.017;  // s, the game's minimum frame
constexpr int kUsageError = 2;
constexpr double kShortestDt = 1e-6;  // s; a step must move time forward
constexpr double kLongestDt = 10.0;   // s; far beyond any frame the game hands out
constexpr long kLowestIndex = -2;     // the final screen
constexpr long kHighestIndex = 254;   // the progress file holds at most 255 records

const char* const kUsage =
    "usage: binhopper-sim LEVEL.lv [--inputs SCRIPT] [--frames N] [--dt SECONDS] [--index I]\n"
    "                     [--trace] [--stats N]\n"
    "Plays LEVEL.lv without a window and prints the END line of what happened.\n"
    "\n"
    "  --inputs SCRIPT  the keys held, frame by frame (without it nothing is pressed)\n"
    "  --frames N       play N frames (default: as many as the script lists)\n"
    "  --dt SECONDS     the time of one frame (default 0.017)\n"
    "  --index I        the level's index in the progress record (-2 the final screen)\n"
    "  --trace          print every frame's objects\n"
    "  --stats N        every N frames: entity counts and peak memory\n"
    "  -h, --help       show this help and exit\n"
    "      --version    show the version and exit\n";

struct Options {
  std::string level;
  std::string inputs;
  int frames = -1;  // -1: as many as the script lists
  double dt = kDefaultDt;
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
      options.dt = number("--dt", argv[++i], std::strtod, kShortestDt, kLongestDt);
    } else if (argument == "--stats" && hasValue) {
      options.statsEvery = static_cast<int>(number("--stats", argv[++i], toLong, 1L, long{INT_MAX}));
    } else if (argument == "--index" && hasValue) {
      options.index = static_cast<int>(number("--index", argv[++i], toLong, kLowestIndex, kHighestIndex));
    } else if (argument.rfind("--", 0) == 0 || !options.level.empty()) {
      usage("unexpected argument '" + argument + "'");
    } else {
      options.level = argument;
    }
  }
  if (options.level.empty()) usage("no level file given");
  return options;
}

InputScript readScript(const std::string& path) {
  InputScript script;
  if (path.empty()) return script;
  std::string text;
  if (!readWholeFile(path, text).ok) {
    std::printf("CANNOT OPEN '%s'!!!\n", path.c_str());
    std::exit(1);
  }
  std::istringstream in(text);
  std::string error;
  if (!script.read(in, path, error)) {
    std::printf("%s\n", error.c_str());
    std::exit(1);
  }
  return script;
}

void initLibrary() {
  std::string failure = startLibrary();
  if (!failure.empty()) fatal(failure.c_str());
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
  World& world = *simulator.state().world;
  std::printf("STATS frame=%d dyna=%zu rndr=%zu peak_kib=%ld\n", frame, world.byTag(tagOf("dyna")).size(),
              world.byTag(tagOf("rndr")).size(), resources.ru_maxrss);
}

}  // namespace

int main(int argc, char** argv) {
  int infoStatus = answerToolInfoRequest(argc, argv, "binhopper-sim", kUsage, stdout);
  if (infoStatus >= 0) return infoStatus;
  Options options = parseOptions(argc, argv);
  enterToolDataDirectory({&options.level, &options.inputs});
  InputScript script = readScript(options.inputs);
  initLibrary();
  createThemes();
  useFreshProgress(options.index);
  Simulator simulator(options.level.c_str(), options.index);
  int frames = options.frames >= 0 ? options.frames : script.frameCount();
  for (int frame = 1; frame <= frames; ++frame) {
    simulator.step(script.keysAt(frame), options.dt);
    if (options.trace) std::fputs(simulator.trace().c_str(), stdout);
    if (options.statsEvery && frame % options.statsEvery == 0) printStats(frame, simulator);
  }
  std::printf("%s\n", simulator.end().c_str());
  return 0;
}
