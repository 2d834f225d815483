#pragma once

#include <string>

#include "app/app_state.h"
#include "app/result.h"

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

// What a failed operation says, with its line or byte; "" for a success, so that a table's row
// can expect either.
std::string messageOf(const Result<>& done);

// Sets the library's flags for new bitmaps for as long as the object lives.
class NewBitmapFlags {
 public:
  explicit NewBitmapFlags(int flags);
  ~NewBitmapFlags();
  NewBitmapFlags(const NewBitmapFlags&) = delete;
  NewBitmapFlags& operator=(const NewBitmapFlags&) = delete;

 private:
  int previous_;
};

struct Rgb {
  int r, g, b;
};

// A memory canvas to draw on, cleared to the background with the default blender in force; the
// previous target comes back when it goes away.
class Canvas {
 public:
  Canvas(int width, int height, ALLEGRO_COLOR background);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  Rgb at(int x, int y) const;
  // Every byte of the picture, row by row, to compare two pictures whole.
  std::string bytes() const;
  ALLEGRO_BITMAP* bitmap() const { return bitmap_; }

 private:
  ALLEGRO_BITMAP* previous_;
  ALLEGRO_BITMAP* bitmap_;
};

// Ends the test process with SIGALRM when it outlives the given time, so that a hang (a read
// that waits forever) fails the test instead of stalling the suite.
class Deadline {
 public:
  explicit Deadline(unsigned seconds);
  ~Deadline();
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;
};

// In a death test's child: sends standard output where the death test reads (standard error),
// so that the game's messages to standard output can be matched.
void sendStdoutToStderr();

// A current state with no display whose keyboard and mouse snapshots the test writes. It is
// the current state while it lives.
class TestState : public AppStateBase {
 public:
  TestState() : previous_(currentState()) { setCurrentState(this); }
  ~TestState() override { setCurrentState(previous_); }
  void processEvents() override {}
  void update(double) override {}
  void draw(ALLEGRO_DISPLAY*) override {}
  ALLEGRO_KEYBOARD_STATE* keyboardState() override { return &keyboard; }
  ALLEGRO_MOUSE_STATE* mouseState() override { return &mouse; }

  ALLEGRO_KEYBOARD_STATE keyboard{};
  ALLEGRO_MOUSE_STATE mouse{};

 private:
  AppStateBase* previous_;
};
