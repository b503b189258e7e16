#include "frontend/launch/command_line.h"

#include <gtest/gtest.h>

#include "frontend/desktop/messages.h"
#include "frontend/form/mode_setup.h"

namespace frontend {
namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

FormState filled(Mode mode, const char* wav, const char* left, const char* right = "") {
  FormState s = designState();
  setupMode(s, mode);
  s.Wav = QString::fromUtf8(wav);
  s.TimLeft = QString::fromUtf8(left);
  s.TimRight = QString::fromUtf8(right);
  return s;
}

std::string launch(FormState& s, const QString& filter = QString()) {
  const Launch l = prepareLaunch(s, filter, kUs);
  EXPECT_FALSE(l.refusal.has_value()) << (l.refusal ? l.refusal->text.toStdString() : "");
  return l.commandLine.toStdString();
}

TEST(CommandLine, WorkedExampleCompletesFieldsAndBuildsIrgenLine) {
  FormState s = filled(Mode::wavtim, "take1", "left", "right");
  s.ExpSPL = QStringLiteral("94.5");
  EXPECT_EQ(launch(s), R"(IRGEN.EXE "take1.WAV" "left.TIM" "right.TIM" 94.5 1)");
  EXPECT_EQ(s.Wav, QStringLiteral("take1.WAV"));
  EXPECT_EQ(s.TimLeft, QStringLiteral("left.TIM"));
  EXPECT_EQ(s.TimRight, QStringLiteral("right.TIM"));
}

TEST(CommandLine, WavtimAndBktimVariants) {
  struct Case {
    Mode mode;
    Channel channel;
    DataType type;
    const char* expSpl;
    const char* wav;
    const char* left;
    const char* expected;
  } cases[] = {
      {Mode::wavtim, Channel::Mono, DataType::IR, "100.0", "a.wav", "b.tim",
       R"(IRGEN.EXE "a.wav" "b.tim" "NONE" 100.0 1)"},
      {Mode::wavtim, Channel::Stereo, DataType::Scope, "94,5", "a.wav", "b.tim",
       R"(IRGEN.EXE "a.wav" "b.tim" "r.TIM" 94.0 0)"},
      {Mode::wavtim, Channel::Mono, DataType::IR, "100", ".wav", "dir.x/left",
       R"(IRGEN.EXE ".wav.WAV" "dir.x/left" "NONE" 100.0 1)"},
      {Mode::bktim, Channel::Mono, DataType::IR, "100.0", "m.dti", "b",
       R"(KALDOR.EXE "m.dti" "b.TIM" NONE 100.0 1)"},
      {Mode::bktim, Channel::Stereo, DataType::Scope, "0.5", "meas", "b",
       R"(KALDOR.EXE "meas.WAV" "b.TIM" "r.TIM" .5 0)"},
  };
  for (const auto& c : cases) {
    FormState s = filled(c.mode, c.wav, c.left, "r");
    selectChannel(s, c.channel);
    s.TimLeft = QString::fromUtf8(c.left);  // undo the mono rule for the table
    s.dataType = c.type;
    s.ExpSPL = QString::fromUtf8(c.expSpl);
    EXPECT_EQ(launch(s), c.expected);
  }
}

TEST(CommandLine, TimwavSendsRightNameOnlyInStereo) {
  FormState s = filled(Mode::timwav, "out", "l", "r");
  EXPECT_EQ(launch(s), R"(IREXPO.EXE "out.WAV" "l.TIM" "r.TIM")");
  s = filled(Mode::timwav, "out", "l", "r");
  selectChannel(s, Channel::Mono);
  s.TimLeft = QStringLiteral("l");
  EXPECT_EQ(launch(s), R"(IREXPO.EXE "out.WAV" "l.TIM")");
  EXPECT_EQ(s.TimRight, QStringLiteral("r.TIM"));  // completed though not sent
}

TEST(CommandLine, SimulationModeVariants) {
  struct Case {
    Mode mode;
    Rate rate;
    bool pink, filterOn;
    const char* filter;
    const char* expSpl;
    const char* expected;
  } cases[] = {
      {Mode::veratim, Rate::Opt44, false, false, "", "1",
       R"(fenwix.exe "h._01" "o.TIM" 1 44100 White )"},
      {Mode::veratim, Rate::Opt48, true, false, "eq.dat", "2.6",
       R"(fenwix.exe "h._01" "o.TIM" 3 48000 Pink )"},
      {Mode::veratim, Rate::None, true, true, "eq.dat", "0",
       R"(fenwix.exe "h._01" "o.TIM"  22050 Pink "eq.dat")"},
      {Mode::veratim, Rate::Opt44, false, true, "", "1",  // box on, no file
       R"(fenwix.exe "h._01" "o.TIM" 1 44100 White )"},
      {Mode::verawav, Rate::Opt44, true, false, "eq.dat", "1",
       R"(fenwix.exe "h._01" "o.WAV" 1 44100 P )"},
      {Mode::verawav, Rate::Opt48, false, true, "C:\\eq.dat", "12",
       R"(fenwix.exe "h._01" "o.WAV" 12 48000 W "C:\eq.dat")"},
      {Mode::verawav, Rate::OptBin, false, false, "", "1",
       R"(fenwix4.exe "h._01" "o.WAV" 1 W )"},
      {Mode::verawav, Rate::OptBin, true, true, "eq.dat", "0",
       R"(fenwix4.exe "h._01" "o.WAV"  P "eq.dat")"},
  };
  for (const auto& c : cases) {
    FormState s = filled(c.mode, "h._01", "o");
    s.rate = c.rate;
    s.Label3On = c.pink;
    s.Label2On = c.filterOn;
    s.ExpSPL = QString::fromUtf8(c.expSpl);
    EXPECT_EQ(launch(s, QString::fromUtf8(c.filter)), c.expected);
  }
  EXPECT_EQ(samplingRate(Rate::OptBin), 44100);
}

TEST(CommandLine, NumbersFollowTheGivenLocale) {
  FormState s = filled(Mode::wavtim, "a", "b", "c");
  s.ExpSPL = QStringLiteral("94.5");
  const Launch l = prepareLaunch(s, QString(), QLocale(QLocale::German, QLocale::Germany));
  EXPECT_TRUE(l.commandLine.endsWith(QStringLiteral(" 94,5 1")));
}

TEST(CommandLineValidation, EmptyNamesRefusedWithoutChangingFields) {
  struct Case {
    Mode mode;
    Channel channel;
    const char* wav;
    const char* left;
    const char* right;
    bool refused;
  } cases[] = {
      {Mode::wavtim, Channel::Stereo, "a", "b", "", true},
      {Mode::wavtim, Channel::Mono, "a", "b", "", false},
      {Mode::wavtim, Channel::Stereo, "", "b", "c", true},
      {Mode::wavtim, Channel::Stereo, "a", "", "c", true},
      {Mode::timwav, Channel::Stereo, " ", " ", " ", false},  // blanks count as filled
      {Mode::verawav, Channel::Mono, "h._01", "o", "", false},
  };
  for (const auto& c : cases) {
    FormState s = filled(c.mode, c.wav, c.left, c.right);
    selectChannel(s, c.channel);
    s.TimLeft = QString::fromUtf8(c.left);
    const FormState before = s;
    const Launch l = prepareLaunch(s, QString(), kUs);
    EXPECT_EQ(l.refusal.has_value(), c.refused) << c.wav << "|" << c.left << "|" << c.right;
    if (c.refused) {
      EXPECT_EQ(*l.refusal, fileSpecificationError());
      EXPECT_EQ(l.refusal->title, QStringLiteral("File Specification Error"));
      EXPECT_TRUE(l.commandLine.isEmpty());
      EXPECT_EQ(s, before);
    }
  }
}

TEST(CommandLineValidation, NamesThatCannotTravelInQuotesAreRefused) {
  struct Case {
    const char* wav;
    const char* left;
    const char* filter;
    bool refused;
  } cases[] = {
      {"a\"b.wav", "o", "", true},
      {"h._01", "dir.d\\", "", true},    // the backslash would escape the closing quote
      {"h._01", "dir\\", "", false},     // completed to dir\.WAV first
      {"h._01", "o", "eq\".dat", true},  // the filter file is sent
      {"h._01", "o", "dir.d\\", true},
      {"h._01", "o\\x", "", false},
  };
  for (const auto& c : cases) {
    FormState s = filled(Mode::verawav, c.wav, c.left);
    s.Label2On = true;
    const FormState before = s;
    const Launch l = prepareLaunch(s, QString::fromUtf8(c.filter), kUs);
    EXPECT_EQ(l.refusal.has_value(), c.refused) << c.wav << "|" << c.left << "|" << c.filter;
    if (c.refused) {
      EXPECT_EQ(s, before);
    }
  }

  // The message names the text that the field holds, not the completed one
  // that was never written back.
  FormState typed = filled(Mode::wavtim, "my \"take", "left", "right");
  const Launch refused = prepareLaunch(typed, QString(), kUs);
  ASSERT_TRUE(refused.refusal.has_value());
  EXPECT_EQ(*refused.refusal, unquotableNameError("my \"take"));
  EXPECT_EQ(typed.Wav, "my \"take");

  // A quote in a name that is not sent does not matter: the filter with the box off.
  FormState s = filled(Mode::verawav, "h._01", "o");
  EXPECT_FALSE(prepareLaunch(s, QStringLiteral("e\"q"), kUs).refusal.has_value());
}

}  // namespace
}  // namespace frontend
