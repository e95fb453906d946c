#pragma once
// The one exception type of the program: it carries the text shown to the user,
// worded exactly as the system's own texts are.
#include <cstdarg>
#include <stdexcept>
#include <string>

// printf argument checks where the compiler has them (GCC, Clang, clang-cl; not MSVC).
#if defined(__GNUC__) || defined(__clang__)
#define PS_PRINTF_LIKE(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define PS_PRINTF_LIKE(fmt, first)
#endif

namespace platform {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// printf-style formatting into a std::string (no length limit).
std::string Format(const char* fmt, ...) PS_PRINTF_LIKE(1, 2);
std::string FormatV(const char* fmt, va_list args);

// The error box adds a full stop when the last character sorts after '.'.
std::string ErrorBoxText(std::string text);

}  // namespace platform
