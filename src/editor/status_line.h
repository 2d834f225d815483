#pragma once

#include <allegro5/allegro_font.h>

#include <string>

// The line at the bottom of the editor: the file being edited with a "*" while it has unsaved
// changes, and the outcome of the last action for a few seconds. A failure also shows the
// loader's own line, in a second row below its plain words.
class StatusLine {
 public:
  static constexpr double kShowSeconds = 5.0;

  explicit StatusLine(std::string file);

  // The file the line names, once the author opens or saves another.
  void nameFile(const std::string& file) { fileName = file; }

  // A message that stays until the next one (the hint at start).
  void hold(const std::string& text, const std::string& detail = "");
  void show(const std::string& text, const std::string& detail = "");
  void update(double dt);
  void draw(ALLEGRO_FONT* font, bool dirty) const;

  // The message on screen now, empty once it has timed out.
  const std::string& message() const { return text; }
  const std::string& detail() const { return detailText; }
  std::string fileLabel(bool dirty) const { return fileName + (dirty ? "*" : ""); }

 private:
  std::string fileName;
  std::string text;
  std::string detailText;
  double secondsLeft = 0;
  bool held = false;
};
