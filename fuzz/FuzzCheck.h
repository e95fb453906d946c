#pragma once
// What the fuzz targets share: a check that stops the run with a message (libFuzzer keeps
// the input that failed it), and the one outcome that bad data may have.
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "ui/core/Error.h"

#define FUZZ_CHECK(condition)                                                            \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)

namespace fuzz {

// The readers refuse bad data with ui::Error; any other exception escapes to libFuzzer,
// which reports it as a crash.
template <class Read>
auto Try(Read&& read) -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const ui::Error&) {
    return std::nullopt;
  }
}

}  // namespace fuzz
