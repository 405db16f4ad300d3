// Shared by the fuzz targets: a private folder for the files the readers open, and the input
// written there as a file. Readers that take a path are fuzzed through a real file, as the
// program gives them one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vornelle::fuzz {

// A folder made once per process (in /dev/shm when it exists), ending in '/'.
const std::string& folder();
// Writes the input to `name` in folder() and returns its path.
std::string inputFile(const char* name, const uint8_t* data, size_t size);
// Stops the process with a message naming the broken property (a finding, like a crash).
[[noreturn]] void broken(const char* property, const std::string& detail = {});

}  // namespace vornelle::fuzz
