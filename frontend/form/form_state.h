// The main window's state as a plain value: everything that the mode setups,
// the channel handling and the launch read or change. The window copies its
// controls into a FormState, applies a rule (mode_setup.h, command_line.h)
// and writes the result back, so that the rules can be tested without a
// window. Member names are the object names of the controls.
#ifndef FRONTEND_FORM_FORM_STATE_H_
#define FRONTEND_FORM_FORM_STATE_H_

#include <QString>
#include <optional>

namespace frontend {

// The conversion modes, named after their option buttons.
enum class Mode { wavtim, timwav, bktim, veratim, verawav };

// Which of MonoOpt / StereoOpt is selected.
enum class Channel { Mono, Stereo };

// Which of IRmode / Scopemode is selected.
enum class DataType { IR, Scope };

// Which of Opt44 / Opt48 / OptBin is selected; None when no option of the
// sampling-frequency group is selected.
enum class Rate { None, Opt44, Opt48, OptBin };

struct FormState {
  // The active mode. The window keeps one flag per mode; exactly one is set
  // once start-up has selected a mode, none in the design state (nullopt).
  std::optional<Mode> CurrentMode;

  // Field texts.
  QString Wav;
  QString TimLeft;
  QString TimRight;
  QString ExpSPL = QStringLiteral("100.0");

  // Captions, stored as the controls hold them: "&&" shows one ampersand.
  QString Command3D1 = QStringLiteral(".WAV ---> .TIM");
  QString Frame3D2 = QStringLiteral(".WAV file name");
  QString Frame3D3 = QStringLiteral(".TIM file names");
  QString Panel3D2 = QStringLiteral("Expected SPL Value (dB) =");

  // Tops of the two file groups, in twips within the window.
  int Frame3D2Top = 2520;
  int Frame3D3Top = 3720;

  // Visibility and enabled state.
  bool Frame3D4Visible = true;   // channel group
  bool Frame3D5Visible = true;   // data-type group
  bool Frame3D6Visible = false;  // sampling-frequency group
  bool Frame3D7Visible = false;  // equaliser group
  bool Panel3D2Visible = true;
  bool ExpSPLVisible = true;
  bool TimRightVisible = true;
  bool CommRightVisible = true;
  bool OptBinEnabled = true;

  // Option group selections.
  Channel channel = Channel::Stereo;
  DataType dataType = DataType::IR;
  Rate rate = Rate::Opt44;

  // Marker boxes of the equaliser group: Label2 "Octave Filter",
  // Label3 "Force Pink". On shows the check mark, off the empty caption.
  bool Label2On = false;
  bool Label3On = false;

  friend bool operator==(const FormState&, const FormState&) = default;
};

// The state before start-up: the wavtim layout with StereoOpt, IRmode and
// Opt44 selected, both marker boxes off and no mode flag set. Equal to a
// default-constructed FormState.
inline FormState designState() { return FormState{}; }

}  // namespace frontend

#endif  // FRONTEND_FORM_FORM_STATE_H_
