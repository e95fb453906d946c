#pragma once
// An image that the system would not let us install: no place took the converted bitmap,
// or a desktop value was refused. It says nothing about the picture itself, so the change
// scheduler reports it and keeps the entry.
#include "platform/core/Error.h"

namespace wallpaper {

class InstallError : public platform::Error {
 public:
  using platform::Error::Error;
};

}  // namespace wallpaper
