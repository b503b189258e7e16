// The main window "sonabrix": the conversion modes, the file fields and the
// options of each conversion, the two marker boxes of the equaliser group,
// and the Convert, Exit and Help buttons. Each handler reads the controls
// into a FormState, applies a rule from mode_setup.h or launch.h and writes
// the state back; side effects outside the window go through Desktop.
#ifndef FRONTEND_MAIN_WINDOW_MAIN_WINDOW_H_
#define FRONTEND_MAIN_WINDOW_MAIN_WINDOW_H_

#include <QString>
#include <QWidget>
#include <optional>

#include "frontend/desktop/desktop.h"
#include "frontend/files/browse.h"
#include "frontend/form/form_state.h"
#include "frontend/launch/launch.h"
#include "frontend/launch/viewer_start.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace frontend {

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  // The window in its design state: the wavtim layout, no mode selected yet.
  // `environment.workDir` is fixed for the window's life.
  MainWindow(Desktop& desktop, LaunchEnvironment environment, QWidget* parent = nullptr);

  // The controls as a FormState, and the reverse. Writing does not run any
  // handler.
  FormState readForm() const;
  void writeForm(const FormState& state);

  const QString& workDir() const { return environment_.workDir; }

  // The path of the current octave-band filter file; empty when none is
  // chosen. Only the filter editor writes it.
  const QString& filterFileName() const { return filterFileName_; }

 public slots:
  // Selects a mode's option button and runs its setup, also when the option
  // was selected already (as a click does, and as start-up does).
  void selectMode(frontend::Mode mode);
  // Command3D1: moves to the next mode of the cycle; nothing in bktim.
  void cycleMode();
  // MonoOpt / StereoOpt selected.
  void selectChannel(frontend::Channel channel);
  // Label2 / Label1 clicked.
  void toggleOctaveFilter();
  // Label3 / Label4 clicked.
  void toggleForcePink();
  // Command3D2 "OK - Convert!".
  void convert();
  // SSCommand1 "Help": the manual (helpManual() of work_dir.h), shown by
  // the desktop in a window of its own.
  void showHelp();
  // Command3D3 "Exit": beep, then end the program if the user confirms.
  void confirmExit();

  // CommWav, CommLeft, CommRight "Browse...": the file dialog of the
  // field's role in the current mode (browse.h). A cancel changes nothing.
  // A chosen file goes into the field, completed with a lower-case suffix;
  // from then on dialogs open where the last one left off rather than in
  // WorkDir. After CommWav, the chosen file's channel count selects Mono or
  // Stereo in wavtim and bktim (channel_probe.h), with the channel handling.
  void browseWav();
  void browseLeft();
  void browseRight();

  // "View impulse response" of the file fields' context menus (Wav,
  // TimLeft, TimRight; beside Qt's own editing entries): starts the viewer
  // irview on the file the field names (viewer_start.h), detached; a
  // message when the field is empty or irview is not found or not started.
  void viewImpulseResponse(frontend::FileField field);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The controls as the design lays them out, and the window's fixed size
  // and place on the screen (main_window_controls.cpp).
  void buildControls();
  void placeOnScreen();
  void connectControls();
  QRect twips(int left, int top, int width, int height) const;
  QRadioButton* modeButton(Mode mode) const;
  void setGroupTop(QGroupBox* group, int topTwips);
  void browse(BrowseButton button);
  // The context menu of a file field at `at` (the field's pixels).
  void showFileFieldMenu(QLineEdit* field, FileField role, const QPoint& at);

  Desktop& desktop_;
  LaunchEnvironment environment_;
  QString filterFileName_;
  // The start folder of the file dialog (CMDialog1), its only setting kept
  // between clicks: WorkDir until a file is chosen, empty after it.
  QString dialogStartFolder_;
  std::optional<Mode> currentMode_;
  int frame3D2Top_ = 2520;
  int frame3D3Top_ = 3720;
  // The marker box or caption that a left press started on; a click toggles
  // on its release. A double-click's second press belongs to the first click.
  QObject* pressedMarker_ = nullptr;

  QLabel* Panel3D1 = nullptr;
  QGroupBox* Frame3D1 = nullptr;
  QPushButton* Command3D1 = nullptr;
  QRadioButton* verawav = nullptr;
  QRadioButton* veratim = nullptr;
  QRadioButton* bktim = nullptr;
  QRadioButton* wavtim = nullptr;
  QRadioButton* timwav = nullptr;
  QGroupBox* Frame3D4 = nullptr;
  QRadioButton* MonoOpt = nullptr;
  QRadioButton* StereoOpt = nullptr;
  QGroupBox* Frame3D5 = nullptr;
  QRadioButton* IRmode = nullptr;
  QRadioButton* Scopemode = nullptr;
  QGroupBox* Frame3D6 = nullptr;
  QRadioButton* Opt44 = nullptr;
  QRadioButton* Opt48 = nullptr;
  QRadioButton* OptBin = nullptr;
  QGroupBox* Frame3D7 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QGroupBox* Frame3D2 = nullptr;
  QLineEdit* Wav = nullptr;
  QPushButton* CommWav = nullptr;
  QLabel* Panel3D2 = nullptr;
  QLineEdit* ExpSPL = nullptr;
  QGroupBox* Frame3D3 = nullptr;
  QLineEdit* TimLeft = nullptr;
  QPushButton* CommLeft = nullptr;
  QLineEdit* TimRight = nullptr;
  QPushButton* CommRight = nullptr;
  QPushButton* Command3D2 = nullptr;
  QPushButton* Command3D3 = nullptr;
  QPushButton* SSCommand1 = nullptr;

  // One exclusive group per set of options. The channel and data-type
  // groups lie inside the mode frame; without groups of their own, Qt would
  // take every option under that frame as one set, and the arrow keys would
  // walk into hidden groups and select there.
  QButtonGroup* modeGroup_ = nullptr;
  QButtonGroup* channelGroup_ = nullptr;
  QButtonGroup* dataTypeGroup_ = nullptr;
  QButtonGroup* rateGroup_ = nullptr;
};

// The text a marker box shows when on: the radical sign, drawn as a tick.
inline const QString kMarkerOn = QStringLiteral("\u221A");

}  // namespace frontend

#endif  // FRONTEND_MAIN_WINDOW_MAIN_WINDOW_H_
