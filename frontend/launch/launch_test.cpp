#include "frontend/launch/launch.h"

#include <QDir>
#include <QTemporaryDir>

#include "frontend/desktop/messages.h"
#include "frontend/qt_desktop/qt_desktop.h"
#include "frontend/testing/recorded_start.h"
#include "frontend/testing/window_fixture.h"

namespace frontend {
namespace {

// Conversions started from the window through the real process start; the
// stand-in converters record the words they receive.
class LaunchTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    desktop.processStarter = &realStart;
  }
  void TearDown() override { QDir::setCurrent(QDir::tempPath()); }

  void fill(const QString& wav, const QString& left, const QString& right = QString()) {
    field("Wav")->setText(wav);
    field("TimLeft")->setText(left);
    field("TimRight")->setText(right);
  }
  void convert() { QTest::mouseClick(button("Command3D2"), Qt::LeftButton); }

  // The one record that a conversion left, checked for folder and input.
  RecordedStart onlyStart() {
    const QList<RecordedStart> starts = waitForRecords(workDir.path(), 1);
    EXPECT_EQ(starts.size(), 1);
    if (starts.isEmpty()) return {};
    EXPECT_EQ(starts[0].cwd, workDir.path());
    EXPECT_EQ(starts[0].input, "eof");
    return starts[0];
  }

  QtDesktop realStart;
};

TEST_F(LaunchTest, WavtimStereoStartsIrgenExeWithFiveWordsInWorkDir) {
  ASSERT_TRUE(installRecorder(workDir.path(), "IRGEN.EXE"));
  window->selectMode(Mode::wavtim);
  fill("take1", "left", "right");
  field("ExpSPL")->setText("94.5");
  convert();
  const RecordedStart start = onlyStart();
  EXPECT_EQ(start.program, "IRGEN.EXE");
  EXPECT_EQ(start.arguments, QStringList({"take1.WAV", "left.TIM", "right.TIM", "94.5", "1"}));
  EXPECT_EQ(QDir::currentPath(), workDir.path());
  EXPECT_TRUE(desktop.messages.isEmpty());
}

TEST_F(LaunchTest, WavtimMonoScopeFindsLowerCaseIrgenAndSendsNone) {
  ASSERT_TRUE(installRecorder(workDir.path(), "irgen"));
  window->selectMode(Mode::wavtim);
  option("MonoOpt")->click();
  option("Scopemode")->click();
  fill("my take.wav", "left channel");
  field("ExpSPL")->setText("94,5");  // the comma ends the number
  convert();
  const RecordedStart start = onlyStart();
  EXPECT_EQ(start.program, "irgen");
  EXPECT_EQ(start.arguments, QStringList({"my take.wav", "left channel.TIM", "NONE", "94.0", "0"}));
}

TEST_F(LaunchTest, TimwavSendsTwoNamesInMonoAndThreeInStereo) {
  ASSERT_TRUE(installRecorder(workDir.path(), "irexpo"));
  window->selectMode(Mode::timwav);
  fill("out", "l", "r");
  convert();
  EXPECT_EQ(onlyStart().arguments, QStringList({"out.WAV", "l.TIM", "r.TIM"}));

  for (const QString& name : QDir(workDir.path()).entryList({"*.rec"}))
    QDir(workDir.path()).remove(name);
  option("MonoOpt")->click();  // runs the TIM rule on TimLeft, which keeps l.TIM
  convert();
  EXPECT_EQ(onlyStart().arguments, QStringList({"out.WAV", "l.TIM"}));
}

TEST_F(LaunchTest, BktimMonoStartsKaldorWithNoneUnquoted) {
  ASSERT_TRUE(installRecorder(workDir.path(), "KALDOR.EXE"));
  window->selectMode(Mode::bktim);
  option("MonoOpt")->click();
  fill("shot", "a");
  convert();
  EXPECT_EQ(onlyStart().arguments, QStringList({"shot.WAV", "a.TIM", "NONE", "100.0", "1"}));
}

TEST_F(LaunchTest, VeratimSendsMicrophoneRateNoiseAndTheFilterWhenOn) {
  ASSERT_TRUE(installRecorder(workDir.path(), "fenwix"));
  desktop.filterEditorResult = workDir.filePath("hall eq.DAT");
  window->selectMode(Mode::veratim);
  option("Opt48")->click();
  QTest::mouseClick(label("Label1"), Qt::LeftButton);  // filter on
  QTest::mouseClick(label("Label4"), Qt::LeftButton);  // force pink on
  fill("hall._03", "out");
  field("ExpSPL")->setText("2.6");
  convert();
  EXPECT_EQ(onlyStart().arguments, QStringList({"hall._03", "out.TIM", "3", "48000", "Pink",
                                                workDir.filePath("hall eq.DAT")}));
}

TEST_F(LaunchTest, VerawavStartsFenwixWithRateOrFenwix4WithoutIt) {
  ASSERT_TRUE(installRecorder(workDir.path(), "fenwix"));
  ASSERT_TRUE(installRecorder(workDir.path(), "fenwix4"));
  window->selectMode(Mode::verawav);
  fill("hall._03", "out");
  convert();
  RecordedStart start = onlyStart();
  EXPECT_EQ(start.program, "fenwix");
  EXPECT_EQ(start.arguments, QStringList({"hall._03", "out.WAV", "1", "44100", "W"}));

  for (const QString& name : QDir(workDir.path()).entryList({"*.rec"}))
    QDir(workDir.path()).remove(name);
  option("OptBin")->click();
  convert();
  start = onlyStart();
  EXPECT_EQ(start.program, "fenwix4");
  EXPECT_EQ(start.arguments, QStringList({"hall._03", "out.WAV", "1", "W"}));
}

TEST_F(LaunchTest, PressingConvertTwiceStartsTwoProcesses) {
  ASSERT_TRUE(installRecorder(workDir.path(), "fenwix"));
  window->selectMode(Mode::verawav);
  fill("hall._03", "out");
  convert();
  convert();
  EXPECT_EQ(waitForRecords(workDir.path(), 2).size(), 2);
}

TEST_F(LaunchTest, ProgramBesideSonabrixIsFoundAndStillRunsInWorkDir) {
  QTemporaryDir programFolder;
  ASSERT_TRUE(installRecorder(programFolder.path(), "irgen"));
  environment.besideDir = programFolder.path();
  window = std::make_unique<MainWindow>(desktop, environment);
  window->selectMode(Mode::wavtim);
  option("MonoOpt")->click();
  fill("take1", "left");
  convert();
  const RecordedStart start = onlyStart();  // the record lands in WorkDir
  EXPECT_EQ(start.arguments, QStringList({"take1.WAV", "left.TIM", "NONE", "100.0", "1"}));
}

TEST_F(LaunchTest, MissingProgramIsNamedAsSearchedWithEveryPathTriedAndNothingStarts) {
  environment.pathDirs = {"/nowhere/bin"};
  window = std::make_unique<MainWindow>(desktop, environment);
  window->selectMode(Mode::veratim);
  fill("hall._03", "left");
  convert();
  ASSERT_EQ(desktop.messages.size(), 1);
  const QString work = workDir.path();
  EXPECT_EQ(desktop.messages[0],
            programNotFoundMessage("fenwix", {work + "/fenwix.exe", work + "/fenwix",
                                              "/nowhere/bin/fenwix"}));
  EXPECT_TRUE(desktop.messages[0].text.contains("fenwix was not found"));
  EXPECT_FALSE(desktop.messages[0].text.contains("fenwix.exe was"));
  EXPECT_TRUE(desktop.starts.isEmpty());
}

TEST_F(LaunchTest, MissingWorkDirIsReportedAndNothingStarts) {
  QTemporaryDir programFolder;
  ASSERT_TRUE(installRecorder(programFolder.path(), "irgen"));
  environment.workDir = workDir.filePath("gone");
  environment.besideDir = programFolder.path();
  window = std::make_unique<MainWindow>(desktop, environment);
  window->selectMode(Mode::wavtim);
  fill("take1", "left", "right");
  convert();
  ASSERT_EQ(desktop.messages.size(), 1);
  EXPECT_EQ(desktop.messages[0].title, cannotStartMessage("", "").title);
  EXPECT_TRUE(desktop.messages[0].text.contains(workDir.filePath("gone")));
  EXPECT_TRUE(desktop.starts.isEmpty());
  EXPECT_TRUE(recordsAfterAPause(programFolder.path()).isEmpty());
}

TEST_F(LaunchTest, NameWithADoubleQuoteIsRefusedAndNothingStarts) {
  ASSERT_TRUE(installRecorder(workDir.path(), "IRGEN.EXE"));
  window->selectMode(Mode::wavtim);
  fill("take\"1", "left", "right");
  convert();
  ASSERT_EQ(desktop.messages.size(), 1);
  EXPECT_EQ(desktop.messages[0].title, "File Specification Error");
  EXPECT_TRUE(desktop.messages[0].text.contains("take\"1"));
  EXPECT_TRUE(desktop.starts.isEmpty());
}

TEST_F(LaunchTest, ApostropheGroupingAsksAndStartsNothingWhateverTheAnswer) {
  ASSERT_TRUE(installRecorder(workDir.path(), "IRGEN.EXE"));
  locale = QLocale(QLocale::German, QLocale::Switzerland);  // 10'000'000 and 13.456
  window->selectMode(Mode::wavtim);
  fill("take1", "left", "right");

  desktop.answers = {MessageAnswer::No};
  convert();
  ASSERT_EQ(desktop.messages.size(), 1);
  EXPECT_EQ(desktop.messages[0], incompatibleSettingsQuestion());
  EXPECT_EQ(desktop.regionSettingsOpened, 0);

  desktop.answers = {MessageAnswer::Yes};
  convert();
  EXPECT_EQ(desktop.messages.size(), 2);
  EXPECT_EQ(desktop.regionSettingsOpened, 1);

  EXPECT_TRUE(desktop.starts.isEmpty());
  EXPECT_EQ(field("Wav")->text(), "take1");  // not completed
  EXPECT_TRUE(recordsAfterAPause(workDir.path()).isEmpty());
}

TEST_F(LaunchTest, BlankGroupingOrDecimalCommaFailsTheSeparatorCheck) {
  window->selectMode(Mode::wavtim);
  fill("take1", "left", "right");
  for (const QLocale& other :
       {QLocale(QLocale::French, QLocale::France), QLocale(QLocale::Swedish, QLocale::Sweden)}) {
    locale = other;
    desktop.messages.clear();
    convert();
    ASSERT_EQ(desktop.messages.size(), 1) << other.name().toStdString();
    EXPECT_EQ(desktop.messages[0], incompatibleSettingsQuestion());
  }
  EXPECT_TRUE(desktop.starts.isEmpty());
}

TEST(LaunchConversionTest, HandsTheBuiltCommandLineToTheLookupUnchanged) {
  QTemporaryDir workDir;
  FakeDesktop desktop;
  ASSERT_TRUE(installRecorder(workDir.path(), "fenwix"));
  LaunchEnvironment environment;
  environment.workDir = workDir.path();
  environment.locale = [] { return QLocale(QLocale::English, QLocale::UnitedKingdom); };
  FormState state;
  state.CurrentMode = Mode::veratim;
  state.channel = Channel::Mono;
  state.Wav = "hall._03";
  state.TimLeft = "out";
  state.ExpSPL = "0";
  QString line;
  EXPECT_EQ(launchConversion(state, QString(), environment, desktop, &line),
            LaunchOutcome::Started);
  EXPECT_EQ(line, "fenwix.exe \"hall._03\" \"out.TIM\"  44100 White ");
  ASSERT_EQ(desktop.starts.size(), 1);
  EXPECT_EQ(desktop.starts[0].program, workDir.filePath("fenwix"));
  EXPECT_EQ(desktop.starts[0].arguments, QStringList({"hall._03", "out.TIM", "44100", "White"}));
  EXPECT_EQ(desktop.starts[0].workingFolder, workDir.path());
  EXPECT_EQ(state.TimLeft, "out.TIM");
}

// A completed name that misses an existing file only by case takes the
// file's name, in the field and on the command line.
TEST(LaunchConversionTest, CompletedNamesTakeTheCaseOfTheOneFileThatMatches) {
  const struct {
    QStringList present;
    QString typed;
    Platform platform;
    QString sent;
  } cases[] = {
      {{"take1.wav"}, "take1", Platform::Linux, "take1.wav"},
      {{}, "take1", Platform::Linux, "take1.WAV"},
      {{"take1.wav", "take1.WAV"}, "take1", Platform::Linux, "take1.WAV"},
      {{"Take1.wav", "take1.Wav"}, "take1", Platform::Linux, "take1.WAV"},  // no single match
      {{"sub/TAKE1.wav"}, "sub/take1", Platform::Linux, "sub/TAKE1.wav"},
      {{"take1.wav"}, "take1", Platform::Windows, "take1.WAV"},
      {{"take1.wav"}, "Take1.WAV", Platform::Linux, "Take1.WAV"},  // typed in full: kept
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed.toStdString() + " with " + c.present.join(' ').toStdString());
    QTemporaryDir workDir;
    ASSERT_TRUE(installRecorder(workDir.path(), "irgen"));
    QDir(workDir.path()).mkdir("sub");
    for (const QString& name : c.present) {
      QFile file(workDir.filePath(name));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    FakeDesktop desktop;
    LaunchEnvironment environment;
    environment.workDir = workDir.path();
    environment.platform = c.platform;
    environment.locale = [] { return QLocale(QLocale::English, QLocale::UnitedStates); };
    FormState state;
    state.CurrentMode = Mode::wavtim;
    state.channel = Channel::Mono;
    state.Wav = c.typed;
    state.TimLeft = "left";
    ASSERT_EQ(launchConversion(state, QString(), environment, desktop), LaunchOutcome::Started);
    EXPECT_EQ(state.Wav, c.sent);
    EXPECT_EQ(state.TimLeft, "left.TIM");  // an output that exists in no case
    ASSERT_EQ(desktop.starts.size(), 1);
    EXPECT_EQ(desktop.starts[0].arguments.value(0), c.sent);
  }
}

}  // namespace
}  // namespace frontend
