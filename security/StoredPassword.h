#pragma once
// The stored form of the settings password: scrambled byte by byte in the system's 8-bit
// code page, as every version has stored it, whatever code page the process runs in. A
// byte of the scrambled text past 127 would not survive the trip through UTF-8 registry
// text, so the scrambling never sees the process's UTF-8.
#include <string>

namespace security {

// The password a stored text holds; both in the process's code page.
std::string PasswordFromStored(const std::string& stored);

// The text to store for a password (none for none).
std::string StoredFromPassword(const std::string& password);

// The 1-based position of the first character that cannot be stored, 0 when all can: a
// character outside the system's 8-bit code page, or one that scrambles to the zero byte
// that would end the stored text.
int UnstorablePasswordPosition(const std::string& password);

}  // namespace security
