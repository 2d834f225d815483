#pragma once

#include <string>
#include <vector>

#include "xm_writer.h"

// Helpers for writing tunes as text: notes by name ("c5", "f#4"), melodies as
// "note:rows" tokens, and chords by name ("F", "Dm", "A#") that drive the accompaniment.

// XM note value of a note name; C-4 ("c4") is 49.
int noteValue(const std::string& name);

struct Chord {
  int root = 0;  // semitone above C, 0..11
  bool minor = false;
};

Chord chordNamed(const std::string& name);
// Space-separated chord names, one per half bar.
std::vector<Chord> chordsNamed(const std::string& names);

constexpr int kRowsPerBar = 16;
constexpr int kRowsPerHalfBar = 8;

// Volume-column value for a volume 0..64.
inline std::uint8_t volumeColumn(int volume) { return static_cast<std::uint8_t>(0x10 + volume); }

class PatternWriter {
 public:
  explicit PatternWriter(int channels, int rows = 64);

  XmCell& cell(int row, int channel);
  void note(int row, int channel, int note, int instrument, int volume);
  void keyOff(int row, int channel);

  // Tokens "note:rows" play a note, "r:rows" keys off and rests, "-:rows" holds; a "|" marks
  // a bar line and stops the generator if the bar before it does not fill kRowsPerBar rows.
  // Rows past the end of the pattern are dropped.
  void melody(int channel, int startRow, const std::string& tokens, int instrument, int volume);
  // Chord tones cycling upwards every `step` rows from the given octave.
  void arpeggio(int channel, const std::vector<Chord>& chords, int octave, int step, int instrument, int volume);
  // Root and its octave alternating in eighths, with the fifth before each chord change.
  void bassLine(int channel, const std::vector<Chord>& chords, int octave, int instrument, int volume);
  // Held chord tone `degree` (0 root, 1 third, 2 fifth) of each chord; repeated tones are tied.
  void padVoice(int channel, const std::vector<Chord>& chords, int degree, int octave, int instrument, int volume);

  // One character per row, repeated over the pattern; each kit symbol names a drum hit.
  struct Hit {
    char symbol;
    int instrument, note, volume;
  };
  void beat(int channel, const std::string& steps, const std::vector<Hit>& kit);

  XmPattern pattern() const;

 private:
  int channels_;
  int rows_;
  std::vector<XmCell> cells_;
};

// Semitone offset of a chord tone above the root: root, third, fifth.
int chordTone(const Chord& chord, int degree);
