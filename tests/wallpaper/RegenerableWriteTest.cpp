// The converted bitmap is written without a flush; it must still replace the previous file
// only when complete, and a refused move must leave that file and no temporary one.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/win/TestEnv.h"
#include "platform/FileIO.h"
#include "platform/Handles.h"
#include "platform/core/Error.h"
#include "tests/support/Checks.h"

namespace {

using Durability = platform::SafeFileWriter::Durability;

using testenv::FilesIn;

void WriteAll(platform::SafeFileWriter& writer, const std::string& text) {
  writer.Reserve(text.size());
  // In place, back to front, as the conversion writes its rows.
  writer.WriteAt(2, text.data() + 2, text.size() - 2);
  writer.WriteAt(0, text.data(), 2);
}

TEST(RegenerableWrite, ReplacesThePreviousFileOnlyWhenCommitted) {
  testenv::TempDir dir;
  const std::string path = dir.File("Kestrova.bmp");
  testenv::WriteFileBytes(path, "previous");
  {
    platform::SafeFileWriter abandoned(path, Durability::Regenerable);
    WriteAll(abandoned, "half written");
  }
  EXPECT_EQ(testenv::ReadFileBytes(path), "previous");
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"Kestrova.bmp"});

  platform::SafeFileWriter writer(path, Durability::Regenerable);
  WriteAll(writer, "the new bitmap");
  writer.Commit();
  EXPECT_EQ(testenv::ReadFileBytes(path), "the new bitmap");
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"Kestrova.bmp"});
}

TEST(RegenerableWrite, RefusedMoveKeepsThePreviousFileAndRemovesTheTemporaryOne) {
  testenv::TempDir dir;
  const std::string path = dir.File("Kestrova.bmp");
  testenv::WriteFileBytes(path, "previous");
  // Held open without sharing: the move over it is refused.
  platform::UniqueFile held(
      CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  platform::SafeFileWriter writer(path, Durability::Regenerable);
  WriteAll(writer, "the new bitmap");
  const std::string error = testsupport::ErrorOf([&] { writer.Commit(); });
  EXPECT_EQ(error.rfind("Cannot create file \"" + path + "\". ", 0), 0u) << error;
  held.reset();
  EXPECT_EQ(testenv::ReadFileBytes(path), "previous");
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"Kestrova.bmp"});
}

}  // namespace
