#include "xm_writer.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put8(Bytes& out, int value) { out.push_back(static_cast<std::uint8_t>(value & 0xFF)); }

void put16(Bytes& out, int value) {
  put8(out, value);
  put8(out, value >> 8);
}

void put32(Bytes& out, std::uint32_t value) {
  put16(out, static_cast<int>(value & 0xFFFF));
  put16(out, static_cast<int>(value >> 16));
}

void putText(Bytes& out, const std::string& text, size_t size) {
  for (size_t i = 0; i < size; ++i) put8(out, i < text.size() ? text[i] : 0);
}

void putHeader(Bytes& out, const XmModule& module) {
  putText(out, "Extended Module: ", 17);
  putText(out, module.name, 20);
  put8(out, 0x1A);
  putText(out, "binhopper mediagen", 20);
  put16(out, 0x0104);
  put32(out, 276);
  put16(out, static_cast<int>(module.orders.size()));
  put16(out, module.restart);
  put16(out, module.channels);
  put16(out, static_cast<int>(module.patterns.size()));
  put16(out, static_cast<int>(module.instruments.size()));
  put16(out, 1);  // linear frequency table
  put16(out, module.speed);
  put16(out, module.bpm);
  for (size_t i = 0; i < 256; ++i) put8(out, i < module.orders.size() ? module.orders[i] : 0);
}

// Packed cells: a mask byte with bit 7 set, then only the fields that are not zero.
void putPattern(Bytes& out, const XmPattern& pattern) {
  Bytes data;
  for (const XmCell& cell : pattern.cells) {
    const std::uint8_t fields[5] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.parameter};
    int mask = 0x80;
    for (int i = 0; i < 5; ++i)
      if (fields[i]) mask |= 1 << i;
    put8(data, mask);
    for (int i = 0; i < 5; ++i)
      if (fields[i]) put8(data, fields[i]);
  }
  put32(out, 9);
  put8(out, 0);
  put16(out, pattern.rows);
  put16(out, static_cast<int>(data.size()));
  out.insert(out.end(), data.begin(), data.end());
}

void putSample(Bytes& out, const XmSample& sample) {
  std::uint32_t length = static_cast<std::uint32_t>(sample.frames.size() * 2);
  put32(out, length);
  put32(out, sample.looped ? sample.loopStart * 2 : 0);
  put32(out, sample.looped ? sample.loopLength * 2 : 0);
  put8(out, sample.volume);
  put8(out, sample.finetune);
  put8(out, 0x10 | (sample.looped ? 1 : 0));
  put8(out, sample.panning);
  put8(out, sample.relativeNote);
  put8(out, 0);
  putText(out, sample.name, 22);
}

void putEnvelope(Bytes& out, const std::vector<std::pair<int, int>>& points) {
  for (size_t i = 0; i < 12; ++i) {
    put16(out, i < points.size() ? points[i].first : 0);
    put16(out, i < points.size() ? points[i].second : 0);
  }
}

void putInstrument(Bytes& out, const XmInstrument& instrument) {
  put32(out, 263);
  putText(out, instrument.name, 22);
  put8(out, 0);
  put16(out, 1);
  put32(out, 40);
  for (int i = 0; i < 96; ++i) put8(out, 0);
  putEnvelope(out, instrument.volumeEnvelope);
  putEnvelope(out, {});
  put8(out, static_cast<int>(instrument.volumeEnvelope.size()));
  put8(out, 0);
  put8(out, instrument.sustainPoint < 0 ? 0 : instrument.sustainPoint);
  put8(out, 0);
  put8(out, 0);
  for (int i = 0; i < 3; ++i) put8(out, 0);
  int flags = instrument.volumeEnvelope.empty() ? 0 : 1 | (instrument.sustainPoint >= 0 ? 2 : 0);
  put8(out, flags);
  put8(out, 0);
  put8(out, 0);  // sine vibrato
  put8(out, instrument.vibratoSweep);
  put8(out, instrument.vibratoDepth);
  put8(out, instrument.vibratoRate);
  put16(out, instrument.fadeout);
  for (int i = 0; i < 22; ++i) put8(out, 0);
  putSample(out, instrument.sample);
  std::int16_t previous = 0;
  for (std::int16_t frame : instrument.sample.frames) {
    put16(out, static_cast<std::uint16_t>(frame - previous));
    previous = frame;
  }
}

}  // namespace

std::vector<std::uint8_t> xmBytes(const XmModule& module) {
  Bytes out;
  putHeader(out, module);
  for (const XmPattern& pattern : module.patterns) putPattern(out, pattern);
  for (const XmInstrument& instrument : module.instruments) putInstrument(out, instrument);
  return out;
}

double xmPlayingSeconds(const XmModule& module) {
  int rows = 0;
  for (int order : module.orders) rows += module.patterns.at(order).rows;
  return rows * module.speed * 2.5 / module.bpm;
}
