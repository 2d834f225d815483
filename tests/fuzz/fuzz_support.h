#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The fuzzed bytes written to a file of this process's own, for readers that take a path.
// The file lives as long as the process and is rewritten for each input.
const std::string& fuzzFileWith(const uint8_t* data, size_t size);

// Brings up the library without a display once per process, as the simulator does. The
// harnesses run from the repository root, where media/ is.
void initLibraryForFuzzing();
