#include "composer.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

[[noreturn]] void badNotation(const std::string& text) {
  std::fprintf(stderr, "mediagen: bad music notation '%s'\n", text.c_str());
  std::abort();
}

int semitoneOf(const std::string& name, size_t& position) {
  static const int kNaturals[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  char letter = static_cast<char>(std::tolower(name.at(0)));
  if (letter < 'a' || letter > 'g') badNotation(name);
  int semitone = kNaturals[letter - 'a'];
  position = 1;
  if (name.size() > 1 && name[1] == '#') {
    ++semitone;
    position = 2;
  }
  return semitone;
}

}  // namespace

int noteValue(const std::string& name) {
  size_t position = 0;
  int semitone = semitoneOf(name, position);
  if (position >= name.size() || !std::isdigit(static_cast<unsigned char>(name[position]))) badNotation(name);
  int octave = name[position] - '0';
  int value = 12 * octave + semitone + 1;
  if (value < 1 || value > 96) badNotation(name);
  return value;
}

Chord chordNamed(const std::string& name) {
  size_t position = 0;
  Chord chord;
  chord.root = semitoneOf(name, position);
  chord.minor = position < name.size() && name[position] == 'm';
  return chord;
}

std::vector<Chord> chordsNamed(const std::string& names) {
  std::istringstream stream(names);
  std::vector<Chord> chords;
  for (std::string name; stream >> name;) chords.push_back(chordNamed(name));
  return chords;
}

int chordTone(const Chord& chord, int degree) {
  static const int kMajor[3] = {0, 4, 7}, kMinor[3] = {0, 3, 7};
  return (chord.minor ? kMinor : kMajor)[degree % 3] + 12 * (degree / 3);
}

PatternWriter::PatternWriter(int channels, int rows)
    : channels_(channels), rows_(rows), cells_(static_cast<size_t>(channels * rows)) {}

XmCell& PatternWriter::cell(int row, int channel) { return cells_.at(row * channels_ + channel); }

void PatternWriter::note(int row, int channel, int note, int instrument, int volume) {
  if (row < 0 || row >= rows_) return;
  XmCell& target = cell(row, channel);
  target.note = static_cast<std::uint8_t>(note);
  target.instrument = static_cast<std::uint8_t>(instrument);
  target.volume = volumeColumn(volume);
}

void PatternWriter::keyOff(int row, int channel) {
  if (row < 0 || row >= rows_) return;
  cell(row, channel).note = kKeyOff;
}

void PatternWriter::melody(int channel, int startRow, const std::string& tokens, int instrument, int volume) {
  std::istringstream stream(tokens);
  int row = startRow;
  for (std::string token; stream >> token;) {
    if (token == "|") {
      if ((row - startRow) % kRowsPerBar != 0) badNotation(tokens + " (a bar that does not add up)");
      continue;
    }
    size_t colon = token.find(':');
    if (colon == std::string::npos) badNotation(token);
    std::string pitch = token.substr(0, colon);
    int length = std::atoi(token.c_str() + colon + 1);
    if (length <= 0) badNotation(token);
    if (pitch == "r")
      keyOff(row, channel);
    else if (pitch != "-")
      note(row, channel, noteValue(pitch), instrument, volume);
    row += length;
  }
}

void PatternWriter::arpeggio(int channel, const std::vector<Chord>& chords, int octave, int step, int instrument,
                             int volume) {
  static const int kOrder[4] = {0, 1, 2, 3};
  for (int row = 0; row < rows_; row += step) {
    const Chord& chord = chords.at(row / kRowsPerHalfBar % chords.size());
    int degree = kOrder[(row / step) % 4];
    note(row, channel, 12 * octave + chord.root + chordTone(chord, degree) + 1, instrument, volume);
  }
}

void PatternWriter::bassLine(int channel, const std::vector<Chord>& chords, int octave, int instrument, int volume) {
  for (int row = 0; row < rows_; row += 2) {
    const Chord& chord = chords.at(row / kRowsPerHalfBar % chords.size());
    int root = 12 * octave + chord.root + 1;
    int eighth = (row % kRowsPerHalfBar) / 2;
    int interval = eighth == 3 ? 7 : eighth % 2 ? 12 : 0;
    note(row, channel, root + interval, instrument, eighth == 0 ? volume : volume * 3 / 4);
  }
}

void PatternWriter::padVoice(int channel, const std::vector<Chord>& chords, int degree, int octave, int instrument,
                             int volume) {
  int previous = -1;
  for (int row = 0; row < rows_; row += kRowsPerHalfBar) {
    const Chord& chord = chords.at(row / kRowsPerHalfBar % chords.size());
    int value = 12 * octave + chord.root + chordTone(chord, degree) + 1;
    if (value != previous) note(row, channel, value, instrument, volume);
    previous = value;
  }
}

void PatternWriter::beat(int channel, const std::string& steps, const std::vector<Hit>& kit) {
  for (int row = 0; row < rows_; ++row) {
    char symbol = steps[row % steps.size()];
    for (const Hit& hit : kit)
      if (hit.symbol == symbol) note(row, channel, hit.note, hit.instrument, hit.volume);
  }
}

XmPattern PatternWriter::pattern() const {
  XmPattern result;
  result.rows = rows_;
  result.cells = cells_;
  return result;
}
