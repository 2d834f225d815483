#include <string>
#include <vector>

#include "composer.h"
#include "instruments.h"
#include "songs.h"

// "Unreal Superhero", in C major at 132 BPM: a fanfare, a marching theme that lifts through
// A-flat and B-flat back home, a broader second theme and a coda, over strings, timpani and
// a snare march.
namespace {

enum Channel { kLead, kArp, kStringsThird, kStringsFifth, kBass, kTimpani, kSnare, kKickCrash, kChannelCount };
enum Instrument {
  kBrassSound = 1,
  kStringsSound,
  kBassSound,
  kPluckSound,
  kTimpaniSound,
  kSnareSound,
  kKickSound,
  kCrashSound
};

struct Section {
  std::string chords;  // one per half bar
  std::string melody;  // 64 rows
  std::string snare;   // snare steps
  int arpStep;
};

const std::string kMarch = "s.s.s..ss.s.s...";
const std::string kRoll = kMarch + kMarch + kMarch + "s.s.s.s.ssssssss";

const Section kFanfare = {
    "C C F F G# G# G G",
    "c5:2 c5:2 c5:2 g5:10 | f5:2 f5:2 f5:2 a5:10 | g#5:2 g#5:2 g#5:2 c6:6 a#5:4 | b5:8 d6:8",
    "s.s.s...........",
    2,
};
const Section kTheme1 = {
    "C C F F C C G G",
    "c5:6 g4:2 c5:4 e5:4 | f5:6 e5:2 d5:4 c5:4 | e5:4 g5:8 e5:4 | d5:12 r:4",
    kMarch,
    2,
};
const Section kTheme2 = {
    "G# G# A# A# C C C C",
    "d#5:6 c5:2 d#5:4 g#5:4 | f5:6 d5:2 f5:4 a#5:4 | c6:12 g5:4 | c6:14 r:2",
    kRoll,
    2,
};
const Section kSecond1 = {
    "Am Am F F C C G G",
    "e5:4 a5:4 c6:4 b5:4 | a5:6 g5:2 f5:8 | g5:4 e5:4 c5:4 e5:4 | d5:4 g5:4 b5:8",
    kMarch,
    1,
};
const Section kSecond2 = {
    "F F G G Em Am F G",
    "a5:4 c6:4 a5:4 f5:4 | g5:4 b5:4 d6:8 | e6:6 d6:2 c6:8 | a5:4 c6:4 b5:4 d6:4",
    kRoll,
    1,
};
const Section kCoda = {
    "G# G# A# A# C C C C",
    "c6:8 d#6:8 | d6:8 f6:8 | e6:16 | c6:14 r:2",
    kRoll,
    1,
};

void timpaniRolls(PatternWriter& writer, const std::vector<Chord>& chords) {
  for (int row = 0; row < 64; row += kRowsPerHalfBar) {
    const Chord& chord = chords.at(row / kRowsPerHalfBar);
    writer.note(row, kTimpani, 12 * 3 + chord.root + 1, kTimpaniSound, 44);
  }
}

XmPattern sectionPattern(const Section& section) {
  PatternWriter writer(kChannelCount);
  std::vector<Chord> chords = chordsNamed(section.chords);
  writer.melody(kLead, 0, section.melody, kBrassSound, 44);
  writer.arpeggio(kArp, chords, 5, section.arpStep, kPluckSound, 16);
  writer.padVoice(kStringsThird, chords, 1, 4, kStringsSound, 24);
  writer.padVoice(kStringsFifth, chords, 2, 3, kStringsSound, 22);
  writer.bassLine(kBass, chords, 2, kBassSound, 42);
  timpaniRolls(writer, chords);
  writer.beat(kSnare, section.snare, {{'s', kSnareSound, kDrumNote, 36}});
  writer.beat(kKickCrash, "c.......k.......k.......k.......k.......k.......k.......k.......",
              {{'k', kKickSound, kDrumNote, 44}, {'c', kCrashSound, kDrumNote, 36}});
  return writer.pattern();
}

}  // namespace

XmModule superheroModule() {
  XmModule module;
  module.name = "Unreal Superhero";
  module.channels = kChannelCount;
  module.speed = 6;
  module.bpm = 132;
  for (const Section* section : {&kFanfare, &kTheme1, &kTheme2, &kSecond1, &kSecond2, &kCoda})
    module.patterns.push_back(sectionPattern(*section));
  module.orders = {0, 1, 2, 3, 4, 1, 2, 5};
  module.restart = 1;
  module.instruments = {brassInstrument(),   padInstrument(),   bassInstrument(), pluckInstrument(),
                        timpaniInstrument(), snareInstrument(), kickInstrument(), crashInstrument()};
  return module;
}
