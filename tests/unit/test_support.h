#pragma once

#include <string>

// Brings up the library and the add-ons the game code needs (image, font, TrueType,
// primitives, audio codecs), without a display, keyboard, mouse or audio, with straight-alpha
// bitmaps as the game uses them. Safe to call from every test: the library ignores repeated
// initialisation.
void initAllegroForTests();

// A fresh directory under the system's temporary folder, removed with its contents when the
// object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

// The whole content of a file as bytes (empty when it does not open).
std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);

class World;

// Compiles level text (docs/level-text.md), loads it into the world through a fresh prototype
// table and flushes the world. Fails the test when the text or the level is bad.
void loadLevelText(const std::string& text, World& world);
