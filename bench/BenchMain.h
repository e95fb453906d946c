#pragma once
// The frame of the benchmark programs' main functions.
#include <cstdio>
#include <exception>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace bench {

// Runs a benchmark's body. Its output goes out in plain LF lines for the script that reads
// them; without the arguments it needs (`argsOk` false) it prints its usage and ends with 2;
// any exception is reported under the program's name and ends it with 1.
template <class Body>
int Main(const char* name, bool argsOk, const char* usage, Body&& body) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  if (!argsOk) {
    std::fprintf(stderr, "usage: %s %s\n", name, usage);
    return 2;
  }
  try {
    return body();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", name, e.what());
    return 1;
  }
}

}  // namespace bench
