#pragma once
// Shared pieces of the reliability tests, which run over testenv::QuietProgram.
#include <cstddef>

#include "tests/support/win/TestEnv.h"

namespace reliabilitytest {

// The process's private bytes (PrivateUsage, or the committed private memory where the
// system gives no figure).
size_t PrivateBytes();

}  // namespace reliabilitytest
