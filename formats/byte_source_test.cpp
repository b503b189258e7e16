#include "formats/byte_source.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <string>
#include <vector>

#include "formats/test_temp_dir.h"

namespace formats {
namespace {

TEST(MemorySource, TellsACompleteReadFromOneThatRunsOffTheEnd) {
  const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5};
  MemorySource source(bytes);
  std::array<std::uint8_t, 2> two;
  ASSERT_EQ(source.read(two), ReadStatus::kOk);
  EXPECT_EQ(two[0], 1);
  EXPECT_EQ(two[1], 2);
  EXPECT_EQ(source.skip(2), ReadStatus::kOk);
  EXPECT_EQ(source.position(), 4u);
  EXPECT_EQ(source.read(two), ReadStatus::kTruncated);
  EXPECT_EQ(source.read(std::span(two).first(0)), ReadStatus::kOk);
  EXPECT_EQ(source.skip(1), ReadStatus::kTruncated);
}

TEST(MemorySource, SkipPastTheEndStopsAtTheEnd) {
  const std::vector<std::uint8_t> bytes(10);
  MemorySource source(bytes);
  EXPECT_EQ(source.skip(0xFFFFFFFFull), ReadStatus::kTruncated);
  EXPECT_EQ(source.position(), 10u);
}

class FileSourceTest : public ::testing::Test {
 protected:
  TestTempDir dir_;
};

TEST_F(FileSourceTest, ReadsAndSkipsAndTellsTruncation) {
  const auto path = dir_ / "ten.bin";
  write_bytes(path, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  FileSource source;
  ASSERT_TRUE(source.open(path.string()));
  std::array<std::uint8_t, 3> three;
  ASSERT_EQ(source.read(three), ReadStatus::kOk);
  EXPECT_EQ(three[2], 2);
  ASSERT_EQ(source.skip(4), ReadStatus::kOk);
  ASSERT_EQ(source.read(three), ReadStatus::kOk);
  EXPECT_EQ(three[0], 7);
  EXPECT_EQ(three[2], 9);
  EXPECT_EQ(source.read(three), ReadStatus::kTruncated);
}

TEST_F(FileSourceTest, SkipBeyondTheEndIsTruncationNotASeekIntoNothing) {
  const auto path = dir_ / "four.bin";
  write_bytes(path, {1, 2, 3, 4});
  FileSource source;
  ASSERT_TRUE(source.open(path.string()));
  EXPECT_EQ(source.skip(4), ReadStatus::kOk);
  EXPECT_EQ(source.skip(1), ReadStatus::kTruncated);
  FileSource again;
  ASSERT_TRUE(again.open(path.string()));
  EXPECT_EQ(again.skip(3'000'000'000ull), ReadStatus::kTruncated);
}

TEST_F(FileSourceTest, PipeReadsAndSkipsLikeAFile) {
  // A pipe cannot seek and has no length: skips read through it, and running
  // off its end is still truncation.
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  std::vector<std::uint8_t> bytes(10000);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
  ASSERT_EQ(write(ends[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  close(ends[1]);
  FileSource source;
  ASSERT_TRUE(source.open("/dev/fd/" + std::to_string(ends[0])));
  close(ends[0]);
  std::array<std::uint8_t, 3> three;
  ASSERT_EQ(source.read(three), ReadStatus::kOk);
  EXPECT_EQ(three[2], 2);
  ASSERT_EQ(source.skip(9000), ReadStatus::kOk);
  ASSERT_EQ(source.read(three), ReadStatus::kOk);
  EXPECT_EQ(three[0], bytes[9003]);
  EXPECT_EQ(source.skip(994), ReadStatus::kOk);
  EXPECT_EQ(source.skip(1), ReadStatus::kTruncated);
  EXPECT_EQ(source.read(three), ReadStatus::kTruncated);
}

TEST_F(FileSourceTest, MissingFileAndFolderDoNotOpen) {
  FileSource source;
  EXPECT_FALSE(source.open((dir_ / "missing.wav").string()));
  EXPECT_FALSE(source.open(dir_.path().string()));
  EXPECT_FALSE(source.is_open());
}

}  // namespace
}  // namespace formats
