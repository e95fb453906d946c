#pragma once

namespace platform {
// The application title: caption of the standard error box and of the settings window.
inline constexpr char kAppTitle[] = "Papershift 7";
}  // namespace platform
