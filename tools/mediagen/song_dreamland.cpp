#include <string>
#include <vector>

#include "composer.h"
#include "instruments.h"
#include "songs.h"

// "Dreamland", in F major at 125 BPM: a verse (A), a chorus (B) and a softer bridge over
// a bouncing bass, plucked arpeggios, a pad and a light beat. The lead is echoed three rows
// later, quieter, on its own channel.
namespace {

enum Channel { kLead, kEcho, kArp, kBass, kPadThird, kPadFifth, kKickSnare, kHats, kChannelCount };
enum Instrument { kLeadSound = 1, kPluckSound, kBassSound, kPadSound, kKickSound, kSnareSound, kHatSound };

struct Section {
  std::string chords;  // one per half bar
  std::string melody;  // 64 rows; empty: no lead
  std::string drums;   // kick and snare steps
  std::string hats;
  int arpStep;
};

const std::string kGroove = "k...s...k.k.s...";
const std::string kFill = kGroove + kGroove + kGroove + "k...s...s.s.ssss";
const std::string kHalfTime = "k.......s.......";
const std::string kEighthHats = "h.o.h.o.h.o.h.o.";

const Section kIntro = {
    "F F Dm Dm A# A# C C", "", "k.......k.......", kEighthHats, 2,
};
const Section kVerse1 = {
    "F F Dm Dm A# A# C C",
    "c5:4 f5:4 a5:6 g5:2 | f5:4 d5:4 a4:4 d5:4 | d5:2 f5:2 a#5:6 a5:2 g5:4 | g5:6 e5:2 c5:6 r:2",
    kGroove,
    kEighthHats,
    2,
};
const Section kVerse2 = {
    "F F Am Am A# C F F",
    "c5:4 f5:4 a5:4 c6:4 | e6:6 d6:2 c6:4 a5:4 | a#5:4 a5:2 g5:2 e5:4 g5:4 | f5:12 r:4",
    kGroove,
    kEighthHats,
    2,
};
const Section kChorus1 = {
    "A# A# C C Am Am Dm Dm",
    "d6:3 c6:3 a#5:2 a5:4 f5:4 | g5:3 a5:3 a#5:2 c6:8 | e5:2 f5:2 g5:2 a5:2 c6:4 a5:4 | d6:6 c6:2 a5:6 r:2",
    kGroove,
    "h.h.h.h.h.h.h.h.",
    2,
};
const Section kChorus2 = {
    "Gm Gm C C F A# C C",
    "a#5:3 a5:3 g5:2 d5:4 g5:4 | e5:3 f5:3 g5:2 c6:8 | a5:4 c6:4 d6:4 f6:4 | e6:8 g5:4 r:4",
    kFill,
    "h.h.h.h.h.h.h.h.",
    2,
};
const Section kBridge1 = {
    "Dm Dm A# A# F F C C", "a5:12 r:4 | f5:12 r:4 | c6:8 a5:8 | g5:14 r:2", kHalfTime, "h...o...h...o...", 1,
};
const Section kBridge2 = {
    "Dm Dm A# A# Gm Gm C C",
    "a5:4 d6:4 f6:8 | d6:8 a#5:8 | g5:4 a#5:4 d6:8 | c6:8 e6:4 g6:4",
    kHalfTime + kHalfTime + kHalfTime + "k...s...s.s.ssss",
    "h...o...h...o...",
    1,
};

XmPattern sectionPattern(const Section& section) {
  PatternWriter writer(kChannelCount);
  std::vector<Chord> chords = chordsNamed(section.chords);
  if (!section.melody.empty()) {
    writer.melody(kLead, 0, section.melody, kLeadSound, 44);
    writer.melody(kEcho, 3, section.melody, kLeadSound, 16);
  }
  writer.arpeggio(kArp, chords, 4, section.arpStep, kPluckSound, section.arpStep == 1 ? 22 : 28);
  writer.bassLine(kBass, chords, 2, kBassSound, 46);
  writer.padVoice(kPadThird, chords, 1, 3, kPadSound, 20);
  writer.padVoice(kPadFifth, chords, 2, 3, kPadSound, 18);
  writer.beat(kKickSnare, section.drums, {{'k', kKickSound, kDrumNote, 50}, {'s', kSnareSound, kDrumNote, 40}});
  writer.beat(kHats, section.hats, {{'h', kHatSound, kDrumNote, 30}, {'o', kHatSound, kDrumNote, 18}});
  return writer.pattern();
}

}  // namespace

XmModule dreamlandModule() {
  XmModule module;
  module.name = "Dreamland";
  module.channels = kChannelCount;
  module.speed = 6;
  module.bpm = 125;
  for (const Section* section : {&kIntro, &kVerse1, &kVerse2, &kChorus1, &kChorus2, &kBridge1, &kBridge2})
    module.patterns.push_back(sectionPattern(*section));
  // intro, verse, chorus, verse, bridge, chorus, verse; the loop skips the intro.
  module.orders = {0, 1, 2, 3, 4, 1, 2, 5, 6, 3, 4, 1, 2};
  module.restart = 1;
  module.instruments = {leadInstrument(), pluckInstrument(), bassInstrument(), padInstrument(),
                        kickInstrument(), snareInstrument(), hatInstrument()};
  return module;
}
