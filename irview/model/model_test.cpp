// The small rules of the viewer: the recent-files list, the command line,
// the labels of the traces.
#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include "irview/model/command_line.h"
#include "irview/model/recent_files.h"
#include "irview/model/viewed_file.h"

namespace irview {
namespace {

TEST(RecentFilesTest, TheNewestComesFirstOnceAndTheListStaysShort) {
  QStringList list;
  for (int i = 0; i < 12; ++i) list = withRecent(list, QStringLiteral("/r/%1.tim").arg(i));
  ASSERT_EQ(list.size(), kMaxRecentFiles);
  EXPECT_EQ(list.first(), "/r/11.tim");
  EXPECT_EQ(list.last(), "/r/2.tim");

  list = withRecent(list, "/r/5.tim");  // opened again: moves up, not twice
  EXPECT_EQ(list.first(), "/r/5.tim");
  EXPECT_EQ(list.count("/r/5.tim"), 1);
  EXPECT_EQ(list.size(), kMaxRecentFiles);

  // A stored list edited by hand: empty entries and repeats go.
  EXPECT_EQ(withRecent({"", "/a", "/b", "/a", ""}, "/c"), QStringList({"/c", "/a", "/b"}));
  EXPECT_EQ(withoutRecent({"/a", "/b", "/a"}, "/a"), QStringList({"/b"}));

  EXPECT_EQ(recentEntry("./x/../left.tim", "/data/hall"), "/data/hall/left.tim");
  EXPECT_EQ(recentEntry("/abs//right.tim", "/data/hall"), "/abs/right.tim");
}

TEST(CommandLineTest, FilesOptionsAndTheEndOfOptions) {
  using Action = ViewerCommand::Action;
  const struct {
    QStringList words;
    Action action;
    QStringList files;
  } cases[] = {
      {{}, Action::Show, {}},
      {{"left.tim", "right.tim"}, Action::Show, {"left.tim", "right.tim"}},
      {{"a.wav", "--help"}, Action::Help, {}},
      {{"-h"}, Action::Help, {}},
      {{"--version"}, Action::Version, {}},
      {{"--", "--help", "-x.wav"}, Action::Show, {"--help", "-x.wav"}},
      {{"-"}, Action::Show, {"-"}},
      {{"--zoom", "a.wav"}, Action::Refuse, {}},
  };
  for (const auto& c : cases) {
    const ViewerCommand command = parseCommandLine(c.words);
    EXPECT_EQ(command.action, c.action) << c.words.join(' ').toStdString();
    EXPECT_EQ(command.files, c.files) << c.words.join(' ').toStdString();
  }
  EXPECT_EQ(parseCommandLine({"--zoom"}).message,
            "irview: unknown option --zoom (see irview --help)");
  EXPECT_TRUE(helpText().startsWith("Usage: irview [FILE]...\n"));
  EXPECT_TRUE(versionText().startsWith("irview "));
}

TEST(TraceLabelTest, MonoStereoAndMoreChannelsAndTheBandNames) {
  EXPECT_EQ(traceLabel("/d/left.tim", 0, 1), "left.tim");
  EXPECT_EQ(traceLabel("hall.wav", 0, 2), "hall.wav L");
  EXPECT_EQ(traceLabel("hall.wav", 1, 2), "hall.wav R");
  EXPECT_EQ(traceLabel("b/array.wav", 2, 4), "array.wav ch 3");
  EXPECT_EQ(bandName(analysis::octave_bands()[0]), "31.5 Hz");
  EXPECT_EQ(bandName(analysis::octave_bands()[5]), "1 kHz");
  EXPECT_EQ(bandName(analysis::octave_bands()[9]), "16 kHz");
  EXPECT_EQ(bandName(std::nullopt), "broadband");
}

}  // namespace
}  // namespace irview
