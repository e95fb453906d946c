#pragma once
// Whether the program runs under Wine, for the few workarounds that only Wine needs.
namespace platform {

bool RunningUnderWine() noexcept;

}  // namespace platform
