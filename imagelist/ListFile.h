#pragma once
// List files on disk, in UTF-8: read whole and parsed (the lines of earlier versions from
// the system's 8-bit code page), or written through a temporary file in the same folder
// that replaces the old file only when complete, so a failure part-way (a full disk, a
// crash) never leaves a truncated list behind.
#include <string>
#include <vector>

namespace imagelist {

// The entries of a list file. "Cannot open file "%s". %s" when it cannot be read. Where
// the process's code page is not UTF-8 (Windows before 10 1903 ignores the manifest's
// setting), a character outside it is read as '?', and *lostCharacters is then set.
std::vector<std::string> ReadListFileEntries(const std::string& path,
                                             bool* lostCharacters = nullptr);

// Replaces the file with the entries (an empty list gives a zero-byte file). "Cannot
// create file "%s". %s" when it cannot be written; the old file is then as it was.
void WriteListFileEntries(const std::string& path, const std::vector<std::string>& entries);

// The default list file: "default.kvl" in the given folder.
std::string DefaultListFilePath(const std::string& folder);

}  // namespace imagelist
