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

// Makes "media/tilesheet.png" loadable from the working directory. Where the working directory
// has none yet, a placeholder sheet of eleven 20 x 20 frames is written into a temporary
// directory, which becomes the working directory for the rest of the process.
void ensureTileSheet();
