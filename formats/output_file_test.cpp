#include "formats/output_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "formats/test_temp_dir.h"

namespace formats {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TEST(OutputFile, TargetAppearsOnlyOnCommit) {
  TestTempDir dir;
  const fs::path target = dir / "out.wav";
  OutputFile out;
  ASSERT_TRUE(out.open(target));
  ASSERT_TRUE(out.write(Bytes{1, 2, 3}));
  ASSERT_TRUE(out.write(Bytes{4}));
  EXPECT_FALSE(fs::exists(target));
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(read_bytes(target), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.wav"});
}

TEST(OutputFile, SeekingBackRewritesAHeaderInPlace) {
  TestTempDir dir;
  const fs::path target = dir / "out.wav";
  OutputFile out;
  EXPECT_EQ(out.tell(), -1);
  EXPECT_FALSE(out.seek(0));
  ASSERT_TRUE(out.open(target));
  ASSERT_TRUE(out.write(Bytes{0, 0, 5, 6, 7}));
  EXPECT_EQ(out.tell(), 5);
  ASSERT_TRUE(out.seek(0));
  ASSERT_TRUE(out.write(Bytes{1, 2}));
  EXPECT_EQ(out.tell(), 2);
  ASSERT_TRUE(out.seek(5));
  ASSERT_TRUE(out.write(Bytes{8}));
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(read_bytes(target), (Bytes{1, 2, 5, 6, 7, 8}));
}

TEST(OutputFile, CommitReplacesAnExistingFileWhole) {
  TestTempDir dir;
  const fs::path target = dir / "left.tim";
  write_bytes(target, Bytes(100, 7));
  OutputFile out;
  ASSERT_TRUE(out.open(target));
  ASSERT_TRUE(out.write(Bytes{9, 9}));
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(read_bytes(target), (Bytes{9, 9}));
}

TEST(OutputFile, AbandonedRunLeavesExistingFileAndNoTemporary) {
  TestTempDir dir;
  const fs::path target = dir / "left.tim";
  write_bytes(target, Bytes{5, 6, 7});
  {
    OutputFile out;
    ASSERT_TRUE(out.open(target));
    ASSERT_TRUE(out.write(Bytes(5000, 1)));
  }
  EXPECT_EQ(read_bytes(target), (Bytes{5, 6, 7}));
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"left.tim"});

  OutputFile discarded;
  ASSERT_TRUE(discarded.open(dir / "new.tim"));
  discarded.discard();
  EXPECT_FALSE(discarded.commit());
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"left.tim"});
}

TEST(OutputFile, ExitInTheMiddleOfARunLeavesNoTemporary) {
  TestTempDir dir;
  const fs::path target = dir / "out.wav";
  write_bytes(target, Bytes{1});
  // The converters' error stop ends the process with std::exit, which does
  // not run the destructors of the run's local objects.
  EXPECT_EXIT(
      {
        OutputFile out;
        if (!out.open(target)) std::exit(3);
        out.write(Bytes(10, 2));
        std::exit(1);
      },
      ::testing::ExitedWithCode(1), "");
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.wav"});
  EXPECT_EQ(read_bytes(target), (Bytes{1}));
}

TEST(OutputFile, RefusesTargetsThatCannotBeWritten) {
  TestTempDir dir;
  OutputFile out;
  EXPECT_FALSE(out.open(dir / "no_such_folder" / "x.tim"));
  EXPECT_FALSE(out.open(dir.path()));
  fs::create_directory(dir / "sub");
  EXPECT_FALSE(out.open(dir / "sub"));
  EXPECT_FALSE(out.write(Bytes{1}));
  EXPECT_FALSE(out.commit());

  const fs::path locked = dir / "locked.tim";
  write_bytes(locked, Bytes{1, 2});
  fs::permissions(locked, fs::perms::owner_read);
  if (std::FILE* f = std::fopen(locked.c_str(), "r+b")) {
    std::fclose(f);  // running with rights that ignore permissions
  } else {
    EXPECT_FALSE(out.open(locked));
    EXPECT_EQ(read_bytes(locked), (Bytes{1, 2}));
  }
  EXPECT_EQ(dir.entries().size(), 2u);
}

TEST(OutputFile, WritingThroughASymbolicLinkReplacesTheFileItNames) {
  TestTempDir dir;
  const fs::path real = dir / "real.wav";
  write_bytes(real, Bytes{1});
  fs::create_symlink(real, dir / "link.wav");
  OutputFile out;
  ASSERT_TRUE(out.open(dir / "link.wav"));
  ASSERT_TRUE(out.write(Bytes{8, 8}));
  ASSERT_TRUE(out.commit());
  EXPECT_TRUE(fs::is_symlink(dir / "link.wav"));
  EXPECT_EQ(read_bytes(real), (Bytes{8, 8}));
}

TEST(OutputFile, DevicesAreWrittenInPlaceNeverReplaced) {
  OutputFile out;
  ASSERT_TRUE(out.open("/dev/null"));
  ASSERT_TRUE(out.write(Bytes{1, 2, 3}));
  ASSERT_TRUE(out.commit());
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST(OutputFile, TemporaryNameIsShortHiddenAndInTheTargetsFolder) {
  TestTempDir dir;
  // The longest name a folder takes: the temporary beside it must not be longer.
  const std::string longest(255, 'n');
  OutputFile out;
  ASSERT_TRUE(out.open(dir / longest));
  ASSERT_TRUE(out.write(Bytes{1}));
  const std::vector<std::string> during = dir.entries();
  ASSERT_EQ(during.size(), 1u);
  EXPECT_TRUE(during[0].starts_with(".irtmp-")) << during[0];
  EXPECT_EQ(during[0].size(), 19u) << during[0];
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(dir.entries(), std::vector<std::string>{longest});
}

TEST(OutputFile, FinishedFilesWaitForCommitAndFailuresShowAtFinish) {
  TestTempDir dir;
  write_bytes(dir / "left.tim", Bytes{1});
  write_bytes(dir / "right.tim", Bytes{2});
  OutputFile left;
  OutputFile right;
  ASSERT_TRUE(left.open(dir / "left.tim"));
  ASSERT_TRUE(right.open(dir / "right.tim"));
  ASSERT_TRUE(left.write(Bytes{3, 3}));
  ASSERT_TRUE(right.write(Bytes{4, 4}));
  ASSERT_TRUE(left.finish());
  ASSERT_TRUE(right.finish());
  EXPECT_TRUE(left.finish());  // a second finish changes nothing
  EXPECT_EQ(read_bytes(dir / "left.tim"), (Bytes{1}));
  EXPECT_EQ(read_bytes(dir / "right.tim"), (Bytes{2}));
  ASSERT_TRUE(left.commit());
  ASSERT_TRUE(right.commit());
  EXPECT_EQ(read_bytes(dir / "left.tim"), (Bytes{3, 3}));
  EXPECT_EQ(read_bytes(dir / "right.tim"), (Bytes{4, 4}));
  EXPECT_FALSE(left.commit());
  EXPECT_FALSE(left.finish());

  if (fs::exists("/dev/full")) {
    // Buffered bytes that cannot be flushed fail the finish, not later.
    OutputFile full;
    ASSERT_TRUE(full.open("/dev/full"));
    ASSERT_TRUE(full.write(Bytes{1, 2, 3}));
    EXPECT_FALSE(full.finish());
    EXPECT_FALSE(full.commit());
  }
  EXPECT_EQ(dir.entries().size(), 2u);
}

TEST(OutputFile, PendingTemporariesCanBeRemovedFromASignalHandler) {
  TestTempDir dir;
  write_bytes(dir / "kept.tim", Bytes{1});
  OutputFile a;
  OutputFile b;
  ASSERT_TRUE(a.open(dir / "kept.tim"));
  ASSERT_TRUE(b.open(dir / "new.tim"));
  ASSERT_TRUE(a.write(Bytes(100, 5)));
  EXPECT_EQ(dir.entries().size(), 3u);
  remove_pending_temporaries();
  EXPECT_EQ(dir.entries(), std::vector<std::string>{"kept.tim"});
  EXPECT_EQ(read_bytes(dir / "kept.tim"), (Bytes{1}));

  // The table is reused: later outputs still work and are still cleaned up.
  OutputFile c;
  ASSERT_TRUE(c.open(dir / "later.tim"));
  ASSERT_TRUE(c.commit());
  for (int i = 0; i < 40; ++i) {
    OutputFile d;
    ASSERT_TRUE(d.open(dir / "again.tim")) << "open number " << i;
  }
  EXPECT_EQ(dir.entries().size(), 2u);
}

TEST(RefersToSameFile, SeesThroughSpellingsAndLinks) {
  TestTempDir dir;
  const fs::path a = dir / "a.wav";
  write_bytes(a, Bytes{1});
  write_bytes(dir / "b.wav", Bytes{1});
  fs::create_hard_link(a, dir / "hard.wav");
  fs::create_symlink(a, dir / "soft.wav");

  EXPECT_TRUE(refers_to_same_file(a, a));
  EXPECT_TRUE(refers_to_same_file(a, dir.path() / "." / "a.wav"));
  EXPECT_TRUE(refers_to_same_file(a, dir / "hard.wav"));
  EXPECT_TRUE(refers_to_same_file(a, dir / "soft.wav"));
  EXPECT_FALSE(refers_to_same_file(a, dir / "b.wav"));
  EXPECT_FALSE(refers_to_same_file(a, dir / "missing.wav"));
  EXPECT_FALSE(refers_to_same_file(dir / "missing.wav", dir / "missing.wav"));
}

}  // namespace
}  // namespace formats
