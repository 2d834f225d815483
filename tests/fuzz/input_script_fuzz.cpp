// The simulator's input-script reader on any text.
#include <sstream>
#include <string>

#include "sim/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  Result<InputScript> read = InputScript::read(in, "fuzz");
  if (read.ok()) {
    const InputScript& script = read.value();
    int frames = script.frameCount();
    script.keysAt(1);
    script.keysAt(frames);
    script.keysAt(frames + 1);
  }
  return 0;
}
