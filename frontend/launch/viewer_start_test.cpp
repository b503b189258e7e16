#include "frontend/launch/viewer_start.h"

#include <gtest/gtest.h>

#include <set>

#include "frontend/desktop/messages.h"

namespace frontend {
namespace {

// WorkDir /w holding take1.wav and Left.tim; sonabrix in /app.
LaunchEnvironment environment(Platform platform = Platform::Linux) {
  LaunchEnvironment e;
  e.workDir = platform == Platform::Windows ? QStringLiteral("C:\\W") : QStringLiteral("/w");
  e.besideDir = platform == Platform::Windows ? QStringLiteral("C:\\APP") : QStringLiteral("/app");
  e.pathDirs = {QStringLiteral("/usr/bin")};
  e.listFolder = [](const QString&) { return QStringList{"take1.wav", "Left.tim"}; };
  e.platform = platform;
  return e;
}

ProgramFileTest programsAt(std::set<QString> files) {
  return [files = std::move(files)](const QString& path) { return files.contains(path); };
}

TEST(ViewerStartTest, TheFieldsFileAsTheConversionWouldNameIt) {
  struct Case {
    Mode mode;
    FileField field;
    const char* text;
    const char* argument;
  } cases[] = {
      {Mode::wavtim, FileField::Wav, "take1", "/w/take1.wav"},  // completed, the disk's case
      {Mode::wavtim, FileField::TimLeft, "left", "/w/Left.tim"},
      {Mode::wavtim, FileField::TimRight, "sub/../right.TIM", "/w/right.TIM"},
      {Mode::verawav, FileField::TimLeft, "hall", "/w/hall.WAV"},  // a WAVE file in verawav
      {Mode::timwav, FileField::Wav, "/data/x.wav", "/data/x.wav"},
      {Mode::wavtim, FileField::TimLeft, " left.TIM", "/w/ left.TIM"},  // blanks are part of names
  };
  for (const Case& c : cases) {
    FormState state;
    state.CurrentMode = c.mode;
    state.Wav = state.TimLeft = state.TimRight = QString();
    (c.field == FileField::Wav       ? state.Wav
     : c.field == FileField::TimLeft ? state.TimLeft
                                     : state.TimRight) = QString::fromUtf8(c.text);
    const ViewerStart start =
        prepareViewerStart(state, c.field, environment(), programsAt({"/app/irview"}));
    ASSERT_TRUE(start.request) << c.text;
    EXPECT_EQ(start.request->program, QStringLiteral("/app/irview")) << c.text;
    EXPECT_EQ(start.request->arguments, QStringList{QString::fromUtf8(c.argument)}) << c.text;
  }
}

TEST(ViewerStartTest, AnEmptyFieldOrAMissingViewerIsTold) {
  FormState state;
  state.CurrentMode = Mode::wavtim;
  state.Wav = QStringLiteral("  ");
  EXPECT_EQ(
      prepareViewerStart(state, FileField::Wav, environment(), programsAt({"/app/irview"})).refusal,
      noFileToViewMessage());

  state.Wav = QStringLiteral("take1.wav");
  // On the PATH when not beside sonabrix; never from WorkDir.
  const ViewerStart onPath = prepareViewerStart(state, FileField::Wav, environment(),
                                                programsAt({"/w/irview", "/usr/bin/irview"}));
  ASSERT_TRUE(onPath.request);
  EXPECT_EQ(onPath.request->program, QStringLiteral("/usr/bin/irview"));
  const ViewerStart missing =
      prepareViewerStart(state, FileField::Wav, environment(), programsAt({"/w/irview"}));
  EXPECT_FALSE(missing.request);
  EXPECT_EQ(missing.refusal, viewerMissingMessage(QStringLiteral("/app")));
  EXPECT_TRUE(missing.refusal->text.contains(QStringLiteral("/app")));

  // Windows: irview.exe, a backslashed path.
  const ViewerStart windows = prepareViewerStart(
      state, FileField::Wav, environment(Platform::Windows), programsAt({"C:\\APP\\irview.exe"}));
  ASSERT_TRUE(windows.request);
  EXPECT_EQ(windows.request->arguments, QStringList{QStringLiteral("C:\\W\\take1.wav")});
}

}  // namespace
}  // namespace frontend
