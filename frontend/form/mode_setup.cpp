#include "frontend/form/mode_setup.h"

#include "frontend/form/field_rules.h"

namespace frontend {

namespace {

constexpr int kUpperTop = 2520;
constexpr int kLowerTop = 3720;

void setupWavtim(FormState& s, Platform p) {
  s.CurrentMode = Mode::wavtim;
  s.Command3D1 = QStringLiteral(".WAV ---> .TIM");
  s.Frame3D2Top = kUpperTop;
  s.Frame3D3Top = kLowerTop;
  s.Frame3D5Visible = true;
  s.Frame3D2 = QStringLiteral(".WAV file name");
  s.Wav = wavRule(s.Wav, p);
  s.Frame3D3 = QStringLiteral(".TIM file names");
  s.TimLeft = timRule(s.TimLeft, p);
  s.Panel3D2 = QStringLiteral("Expected SPL Value (dB) =");
  s.Panel3D2Visible = true;
  s.ExpSPL = QStringLiteral("100.0");
  s.ExpSPLVisible = true;
  s.Frame3D4Visible = true;
  s.Frame3D6Visible = false;
  s.Frame3D7Visible = false;
}

void setupTimwav(FormState& s, Platform p) {
  s.CurrentMode = Mode::timwav;
  s.Command3D1 = QStringLiteral(".TIM ---> .WAV");
  // The .TIM group moves above the WAVE group so that the inputs stay on top.
  s.Frame3D2Top = kLowerTop;
  s.Frame3D3Top = kUpperTop;
  s.Frame3D5Visible = false;
  s.Frame3D2 = QStringLiteral(".WAV file name");
  s.Wav = wavRule(s.Wav, p);
  s.Frame3D3 = QStringLiteral(".TIM file names");
  s.TimLeft = timRule(s.TimLeft, p);
  s.Panel3D2Visible = false;
  s.ExpSPLVisible = false;
  s.Frame3D4Visible = true;
  selectChannel(s, Channel::Stereo, p);
  s.Frame3D6Visible = false;
  s.Frame3D7Visible = false;
}

void setupBktim(FormState& s, Platform) {
  s.CurrentMode = Mode::bktim;
  s.Command3D1 = QStringLiteral("B&&K ---> .TIM");
  s.Frame3D2Top = kUpperTop;
  s.Frame3D3Top = kLowerTop;
  s.Frame3D5Visible = true;
  // Both file fields keep their text in this mode.
  s.Frame3D2 = QStringLiteral("B&&K 2133 file name");
  s.Frame3D3 = QStringLiteral(".TIM file names");
  // Panel3D2 keeps its caption: bktim is entered only at start-up, when it
  // still reads "Expected SPL Value (dB) =".
  s.Panel3D2Visible = true;
  s.ExpSPL = QStringLiteral("100.0");
  s.ExpSPLVisible = true;
  s.Frame3D4Visible = true;
  s.Frame3D6Visible = false;
  s.Frame3D7Visible = false;
}

void setupVeratim(FormState& s, Platform p) {
  s.CurrentMode = Mode::veratim;
  s.Command3D1 = QStringLiteral("Veradis -> .TIM");
  s.Frame3D2Top = kUpperTop;
  s.Frame3D3Top = kLowerTop;
  s.Frame3D5Visible = false;
  s.Frame3D2 = QStringLiteral("._* File name");
  s.Wav = resultFileRule(s.Wav, p);
  s.Frame3D3 = QStringLiteral(".TIM File name");
  s.TimLeft = timRule(s.TimLeft, p);
  s.Panel3D2 = QStringLiteral("Microphone Number =");
  s.Panel3D2Visible = true;
  s.ExpSPL = QStringLiteral("1");
  s.ExpSPLVisible = true;
  s.Frame3D4Visible = false;
  selectChannel(s, Channel::Mono, p);
  s.Frame3D6Visible = true;
  s.Frame3D7Visible = true;
  s.OptBinEnabled = false;
  if (s.rate == Rate::OptBin) s.rate = Rate::Opt44;
}

void setupVerawav(FormState& s, Platform p) {
  s.OptBinEnabled = true;
  s.CurrentMode = Mode::verawav;
  s.Command3D1 = QStringLiteral("Veradis -> .WAV");
  s.Frame3D2Top = kUpperTop;
  s.Frame3D3Top = kLowerTop;
  s.Frame3D5Visible = false;
  s.Frame3D2 = QStringLiteral("._* File name");
  s.Wav = resultFileRule(s.Wav, p);
  s.Panel3D2 = QStringLiteral("Microphone Number =");
  s.Panel3D2Visible = true;
  s.ExpSPL = QStringLiteral("1");
  s.ExpSPLVisible = true;
  // Mono's handling runs here and applies the TIM rule to TimLeft; the WAV
  // rule right after turns the name back into a WAVE name.
  selectChannel(s, Channel::Mono, p);
  s.Frame3D3 = QStringLiteral(".WAV File name");
  s.TimLeft = wavRule(s.TimLeft, p);
  s.Frame3D4Visible = false;
  s.Frame3D6Visible = true;
  s.Frame3D7Visible = true;
}

}  // namespace

void setupMode(FormState& state, Mode mode, Platform platform) {
  switch (mode) {
    case Mode::wavtim: setupWavtim(state, platform); break;
    case Mode::timwav: setupTimwav(state, platform); break;
    case Mode::bktim: setupBktim(state, platform); break;
    case Mode::veratim: setupVeratim(state, platform); break;
    case Mode::verawav: setupVerawav(state, platform); break;
  }
}

void selectChannel(FormState& state, Channel channel, Platform platform) {
  state.channel = channel;
  const bool stereo = channel == Channel::Stereo;
  state.TimRightVisible = stereo;
  state.CommRightVisible = stereo;
  if (stereo) {
    state.Frame3D3 = QStringLiteral(".TIM file names");
  } else {
    state.Frame3D3 = QStringLiteral(".TIM file name");
    state.TimLeft = timRule(state.TimLeft, platform);
  }
}

std::optional<Mode> modeAfter(std::optional<Mode> current) {
  if (!current) return std::nullopt;
  switch (*current) {
    case Mode::verawav: return Mode::veratim;
    case Mode::veratim: return Mode::wavtim;
    case Mode::wavtim: return Mode::timwav;
    case Mode::timwav: return Mode::verawav;
    case Mode::bktim: return std::nullopt;
  }
  return std::nullopt;
}

QString argumentText(const QStringList& arguments) {
  return arguments.join(u' ');
}

Mode modeForKeyword(const QString& argumentText) {
  const QString word = argumentText.toUpper();
  if (word == u"IREXPO") return Mode::timwav;
  if (word == u"IRGEN") return Mode::wavtim;
  if (word == u"KALDOR") return Mode::bktim;
  if (word == u"VERATOTIM") return Mode::veratim;
  return Mode::verawav;
}

}  // namespace frontend
