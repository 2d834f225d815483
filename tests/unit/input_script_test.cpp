#include "states/input_script.h"

#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

TEST(InputScript, RunsOfFramesWithTheirKeys) {
  std::istringstream text("# a comment\n\n2 RZ\n   # indented comment\n0 X\n1 -\n3 LUDX\r\n");
  InputScript script;
  std::string error;
  ASSERT_TRUE(script.read(text, "moves.in", error)) << error;
  EXPECT_EQ(script.frameCount(), 6);
  const std::vector<int> rightJump = {ALLEGRO_KEY_RIGHT, ALLEGRO_KEY_Z};
  const std::vector<int> none;
  const std::vector<int> four = {ALLEGRO_KEY_LEFT, ALLEGRO_KEY_UP, ALLEGRO_KEY_DOWN, ALLEGRO_KEY_X};
  const std::pair<int, std::vector<int>> rows[] = {{0, none}, {1, rightJump}, {2, rightJump}, {3, none},
                                                   {4, four}, {6, four},      {7, none}};
  for (const auto& [frame, keys] : rows) EXPECT_EQ(script.keysAt(frame), keys) << "frame " << frame;
}

TEST(InputScript, MalformedLinesNameTheScriptAndLine) {
  const std::pair<const char*, const char*> rows[] = {
      {"1 R\n2\n", "s.in:2: expected 'COUNT KEYS'"},
      {"1 R Z\n", "s.in:1: expected 'COUNT KEYS'"},
      {"\n\nx R\n", "s.in:3: bad frame count 'x'"},
      {"-1 R\n", "s.in:1: bad frame count '-1'"},
      {"3 Rz\n", "s.in:1: unknown key in 'Rz' (keys are L R U D Z X, or - for none)"},
      {"2147483647 R\n1 L\n", "s.in:2: script too long"},
  };
  for (const auto& [lines, message] : rows) {
    std::istringstream text(lines);
    InputScript script;
    std::string error;
    EXPECT_FALSE(script.read(text, "s.in", error)) << lines;
    EXPECT_EQ(error, message);
  }
}

}  // namespace
