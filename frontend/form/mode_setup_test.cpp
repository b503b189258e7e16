#include "frontend/form/mode_setup.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

FormState startedIn(Mode mode) {
  FormState s = designState();
  setupMode(s, mode);
  return s;
}

struct Visibility {
  Mode mode;
  bool panelAndExpSpl, channels, dataType, rateAndEqualiser, optBinEnabled;
  const char* command3D1;
  const char* frame3D2;
  const char* frame3D3;
  const char* panel3D2;
  const char* expSpl;
  int frame3D2Top, frame3D3Top;
};

TEST(ModeSetup, EachModeSetsCaptionsVisibilityTopsAndDefaults) {
  const Visibility table[] = {
      {Mode::wavtim, true, true, true, false, true, ".WAV ---> .TIM", ".WAV file name",
       ".TIM file names", "Expected SPL Value (dB) =", "100.0", 2520, 3720},
      {Mode::timwav, false, true, false, false, true, ".TIM ---> .WAV", ".WAV file name",
       ".TIM file names", "Expected SPL Value (dB) =", "100.0", 3720, 2520},
      {Mode::bktim, true, true, true, false, true, "B&&K ---> .TIM", "B&&K 2133 file name",
       ".TIM file names", "Expected SPL Value (dB) =", "100.0", 2520, 3720},
      {Mode::veratim, true, false, false, true, false, "Veradis -> .TIM", "._* File name",
       ".TIM file name", "Microphone Number =", "1", 2520, 3720},
      {Mode::verawav, true, false, false, true, true, "Veradis -> .WAV", "._* File name",
       ".WAV File name", "Microphone Number =", "1", 2520, 3720},
  };
  for (const auto& row : table) {
    FormState s = designState();
    s.ExpSPL = QStringLiteral("77");
    setupMode(s, row.mode);
    SCOPED_TRACE(row.command3D1);
    EXPECT_EQ(s.CurrentMode, row.mode);
    EXPECT_EQ(s.Panel3D2Visible, row.panelAndExpSpl);
    EXPECT_EQ(s.ExpSPLVisible, row.panelAndExpSpl);
    EXPECT_EQ(s.Frame3D4Visible, row.channels);
    EXPECT_EQ(s.Frame3D5Visible, row.dataType);
    EXPECT_EQ(s.Frame3D6Visible, row.rateAndEqualiser);
    EXPECT_EQ(s.Frame3D7Visible, row.rateAndEqualiser);
    EXPECT_EQ(s.OptBinEnabled, row.optBinEnabled);
    EXPECT_EQ(s.Command3D1, QString::fromUtf8(row.command3D1));
    EXPECT_EQ(s.Frame3D2, QString::fromUtf8(row.frame3D2));
    EXPECT_EQ(s.Frame3D3, QString::fromUtf8(row.frame3D3));
    EXPECT_EQ(s.Panel3D2, QString::fromUtf8(row.panel3D2));
    // timwav hides ExpSPL and leaves its text alone.
    EXPECT_EQ(s.ExpSPL, row.mode == Mode::timwav ? QStringLiteral("77")
                                                 : QString::fromUtf8(row.expSpl));
    EXPECT_EQ(s.Frame3D2Top, row.frame3D2Top);
    EXPECT_EQ(s.Frame3D3Top, row.frame3D3Top);
  }
}

TEST(ModeSetup, SimulationModesSelectMonoTimwavStereoOthersKeepChannel) {
  EXPECT_EQ(startedIn(Mode::veratim).channel, Channel::Mono);
  EXPECT_EQ(startedIn(Mode::verawav).channel, Channel::Mono);
  EXPECT_FALSE(startedIn(Mode::verawav).TimRightVisible);

  FormState s = startedIn(Mode::verawav);
  setupMode(s, Mode::timwav);
  EXPECT_EQ(s.channel, Channel::Stereo);
  EXPECT_TRUE(s.TimRightVisible);
  EXPECT_TRUE(s.CommRightVisible);

  s = startedIn(Mode::verawav);
  setupMode(s, Mode::wavtim);  // wavtim leaves the channel as it was
  EXPECT_EQ(s.channel, Channel::Mono);
  EXPECT_FALSE(s.TimRightVisible);
  EXPECT_EQ(s.Frame3D3, QStringLiteral(".TIM file names"));
}

TEST(ModeSetup, WavtimToTimwavKeepsNamesAndSwapsGroups) {
  FormState s = startedIn(Mode::wavtim);
  s.Wav = QStringLiteral("Take1.WAV");
  s.TimLeft = QStringLiteral("take1l.TIM");
  FormState onWindows = s;
  setupMode(onWindows, Mode::timwav, Platform::Windows);
  EXPECT_EQ(onWindows.Wav, QStringLiteral("take1.wav"));
  EXPECT_EQ(onWindows.TimLeft, QStringLiteral("take1l.tim"));
  EXPECT_LT(onWindows.Frame3D3Top, onWindows.Frame3D2Top);

  // On Linux the names keep their case, so that the .TIM files that the
  // converter wrote under these names are found again.
  setupMode(s, Mode::timwav, Platform::Linux);
  EXPECT_EQ(s.Wav, QStringLiteral("Take1.WAV"));
  EXPECT_EQ(s.TimLeft, QStringLiteral("take1l.TIM"));
}

TEST(ModeSetup, VeratimKeepsResultFilesAndEmptiesWaveNames) {
  FormState s = startedIn(Mode::wavtim);
  s.Wav = QStringLiteral("take1.wav");
  setupMode(s, Mode::veratim);
  EXPECT_EQ(s.Wav, QString());

  s.Wav = QStringLiteral("hall._03");
  setupMode(s, Mode::veratim);
  EXPECT_EQ(s.Wav, QStringLiteral("hall._03"));
}

TEST(ModeSetup, VeratimAndVerawavTurnOutputNameBetweenTimAndWav) {
  FormState s = startedIn(Mode::veratim);
  s.TimLeft = QStringLiteral("out.tim");
  setupMode(s, Mode::verawav);
  EXPECT_EQ(s.TimLeft, QStringLiteral("out.wav"));
  setupMode(s, Mode::verawav);  // selected again from code: still out.wav
  EXPECT_EQ(s.TimLeft, QStringLiteral("out.wav"));
  setupMode(s, Mode::veratim);
  EXPECT_EQ(s.TimLeft, QStringLiteral("out.tim"));
}

TEST(ModeSetup, ShortOrForeignOutputNamesAreEmptied) {
  for (Mode mode : {Mode::wavtim, Mode::timwav, Mode::veratim, Mode::verawav}) {
    for (const char* name : {"ab", "result.dat"}) {
      FormState s = designState();
      s.TimLeft = QString::fromUtf8(name);
      setupMode(s, mode);
      EXPECT_EQ(s.TimLeft, QString()) << name;
    }
  }
}

TEST(ModeSetup, BktimKeepsBothFileFields) {
  FormState s = designState();
  s.Wav = QStringLiteral("Meas.DTI");
  s.TimLeft = QStringLiteral("Left.dat");
  setupMode(s, Mode::bktim);
  EXPECT_EQ(s.Wav, QStringLiteral("Meas.DTI"));
  EXPECT_EQ(s.TimLeft, QStringLiteral("Left.dat"));
}

TEST(ModeSetup, VeratimGreysOptBinAndMovesItsSelectionToOpt44) {
  FormState s = startedIn(Mode::verawav);
  s.rate = Rate::OptBin;
  setupMode(s, Mode::veratim);
  EXPECT_FALSE(s.OptBinEnabled);
  EXPECT_EQ(s.rate, Rate::Opt44);
  setupMode(s, Mode::verawav);
  EXPECT_TRUE(s.OptBinEnabled);
  EXPECT_EQ(s.rate, Rate::Opt44);  // enabled again but not reselected

  s.rate = Rate::Opt48;
  setupMode(s, Mode::veratim);
  EXPECT_EQ(s.rate, Rate::Opt48);
}

TEST(ChannelHandling, MonoHidesRightNameAndAppliesTimRule) {
  FormState s = startedIn(Mode::wavtim);
  s.TimLeft = QStringLiteral("Left.WAV");
  selectChannel(s, Channel::Mono, Platform::Windows);
  EXPECT_FALSE(s.TimRightVisible);
  EXPECT_FALSE(s.CommRightVisible);
  EXPECT_EQ(s.Frame3D3, QStringLiteral(".TIM file name"));
  EXPECT_EQ(s.TimLeft, QStringLiteral("left.tim"));
  s.TimLeft = QStringLiteral("Left.WAV");
  selectChannel(s, Channel::Mono, Platform::Linux);
  EXPECT_EQ(s.TimLeft, QStringLiteral("Left.TIM"));

  s.TimLeft = QStringLiteral("Left.WAV");
  selectChannel(s, Channel::Stereo);
  EXPECT_TRUE(s.TimRightVisible);
  EXPECT_EQ(s.Frame3D3, QStringLiteral(".TIM file names"));
  EXPECT_EQ(s.TimLeft, QStringLiteral("Left.WAV"));
}

TEST(ModeCycle, FourClicksReturnAndBktimStays) {
  std::optional<Mode> mode = Mode::verawav;
  const Mode expected[] = {Mode::veratim, Mode::wavtim, Mode::timwav, Mode::verawav};
  for (Mode next : expected) {
    mode = modeAfter(mode);
    EXPECT_EQ(mode, next);
  }
  EXPECT_EQ(modeAfter(Mode::bktim), std::nullopt);
  EXPECT_EQ(modeAfter(std::nullopt), std::nullopt);
}

TEST(StartupKeyword, WholeArgumentTextCaseInsensitive) {
  struct Case {
    QStringList args;
    Mode mode;
  } cases[] = {
      {{"irgen"}, Mode::wavtim},
      {{"IRGEN"}, Mode::wavtim},
      {{"IRGEN", "x"}, Mode::verawav},
      {{"IrExpo"}, Mode::timwav},
      {{"kaldor"}, Mode::bktim},
      {{"VERATOTIM"}, Mode::veratim},
      {{"veratowav"}, Mode::verawav},
      {{}, Mode::verawav},
      {{" irgen"}, Mode::verawav},
      {{"unknown"}, Mode::verawav},
  };
  for (const auto& c : cases)
    EXPECT_EQ(modeForKeyword(argumentText(c.args)), c.mode)
        << c.args.join(u'|').toStdString();
  EXPECT_EQ(argumentText({"IRGEN", "x"}), QStringLiteral("IRGEN x"));
}

TEST(DesignState, WavtimLayoutWithNoModeSet) {
  const FormState s = designState();
  EXPECT_EQ(s.CurrentMode, std::nullopt);
  EXPECT_EQ(s.channel, Channel::Stereo);
  EXPECT_EQ(s.dataType, DataType::IR);
  EXPECT_EQ(s.rate, Rate::Opt44);
  EXPECT_FALSE(s.Label2On);
  EXPECT_FALSE(s.Label3On);
  EXPECT_EQ(s.ExpSPL, QStringLiteral("100.0"));
}

}  // namespace
}  // namespace frontend
