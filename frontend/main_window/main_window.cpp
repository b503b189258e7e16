#include "frontend/main_window/main_window.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "frontend/desktop/messages.h"
#include "frontend/files/channel_probe.h"
#include "frontend/form/mode_setup.h"
#include "frontend/startup/work_dir.h"
#include "frontend/widgets/twips.h"
#include "frontend/widgets/window_look.h"

namespace frontend {

namespace {

void setChecked(QRadioButton* button, bool on) {
  const QSignalBlocker blocker(button);
  button->setChecked(on);
}

// Clears every option of an exclusive group, which the group otherwise
// refuses.
void clearGroup(QButtonGroup* group) {
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) {
    const QSignalBlocker blocker(button);
    button->setChecked(false);
  }
  group->setExclusive(true);
}

}  // namespace

MainWindow::MainWindow(Desktop& desktop, LaunchEnvironment environment, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      desktop_(desktop),
      environment_(std::move(environment)),
      dialogStartFolder_(environment_.workDir) {
  setObjectName(QStringLiteral("sonabrix"));
  setWindowTitle(QStringLiteral("Sonabrix 2.5"));
  setFont(designWindowFont(font()));

  buildControls();
  connectControls();
  writeForm(designState());
  placeOnScreen();
}

QRect MainWindow::twips(int left, int top, int width, int height) const {
  return twipsRect(left, top, width, height, logicalDpiY());
}

void MainWindow::connectControls() {
  const std::pair<QRadioButton*, Mode> modes[] = {{timwav, Mode::timwav},
                                                  {wavtim, Mode::wavtim},
                                                  {bktim, Mode::bktim},
                                                  {veratim, Mode::veratim},
                                                  {verawav, Mode::verawav}};
  for (const auto& [button, mode] : modes) {
    connect(button, &QRadioButton::toggled, this, [this, mode = mode](bool on) {
      if (on) selectMode(mode);
    });
  }
  connect(MonoOpt, &QRadioButton::toggled, this, [this](bool on) {
    if (on) selectChannel(Channel::Mono);
  });
  connect(StereoOpt, &QRadioButton::toggled, this, [this](bool on) {
    if (on) selectChannel(Channel::Stereo);
  });
  connect(Command3D1, &QPushButton::clicked, this, &MainWindow::cycleMode);
  connect(Command3D2, &QPushButton::clicked, this, &MainWindow::convert);
  connect(Command3D3, &QPushButton::clicked, this, &MainWindow::confirmExit);
  connect(SSCommand1, &QPushButton::clicked, this, &MainWindow::showHelp);
  connect(CommWav, &QPushButton::clicked, this, &MainWindow::browseWav);
  connect(CommLeft, &QPushButton::clicked, this, &MainWindow::browseLeft);
  connect(CommRight, &QPushButton::clicked, this, &MainWindow::browseRight);
  for (QLabel* label : {Label1, Label2, Label3, Label4}) label->installEventFilter(this);

  const std::pair<QLineEdit*, FileField> fileFields[] = {
      {Wav, FileField::Wav}, {TimLeft, FileField::TimLeft}, {TimRight, FileField::TimRight}};
  for (const auto& [field, role] : fileFields) {
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QLineEdit::customContextMenuRequested, this,
            [this, field = field, role = role](const QPoint& at) {
              showFileFieldMenu(field, role, at);
            });
  }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const bool octave = watched == Label2 || watched == Label1;
  const bool pink = watched == Label3 || watched == Label4;
  if (!octave && !pink) return QWidget::eventFilter(watched, event);

  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressedMarker_ = watched;
      return true;
    case QEvent::MouseButtonDblClick:
      // The second press of a double-click: one click toggles once.
      pressedMarker_ = nullptr;
      return true;
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return true;
      const bool clicked = pressedMarker_ == watched &&
                           static_cast<QWidget*>(watched)->rect().contains(
                               mouse->position().toPoint());
      pressedMarker_ = nullptr;
      if (clicked) octave ? toggleOctaveFilter() : toggleForcePink();
      return true;
    }
    default:
      return QWidget::eventFilter(watched, event);
  }
}

QRadioButton* MainWindow::modeButton(Mode mode) const {
  switch (mode) {
    case Mode::wavtim:
      return wavtim;
    case Mode::timwav:
      return timwav;
    case Mode::bktim:
      return bktim;
    case Mode::veratim:
      return veratim;
    case Mode::verawav:
      return verawav;
  }
  return verawav;
}

void MainWindow::setGroupTop(QGroupBox* group, int topTwips) {
  group->setGeometry(twips(120, topTwips, 5352, 1212));
}

FormState MainWindow::readForm() const {
  FormState state;
  state.CurrentMode = currentMode_;
  state.Wav = Wav->text();
  state.TimLeft = TimLeft->text();
  state.TimRight = TimRight->text();
  state.ExpSPL = ExpSPL->text();
  state.Command3D1 = Command3D1->text();
  state.Frame3D2 = Frame3D2->title();
  state.Frame3D3 = Frame3D3->title();
  state.Panel3D2 = Panel3D2->text();
  state.Frame3D2Top = frame3D2Top_;
  state.Frame3D3Top = frame3D3Top_;
  state.Frame3D4Visible = !Frame3D4->isHidden();
  state.Frame3D5Visible = !Frame3D5->isHidden();
  state.Frame3D6Visible = !Frame3D6->isHidden();
  state.Frame3D7Visible = !Frame3D7->isHidden();
  state.Panel3D2Visible = !Panel3D2->isHidden();
  state.ExpSPLVisible = !ExpSPL->isHidden();
  state.TimRightVisible = !TimRight->isHidden();
  state.CommRightVisible = !CommRight->isHidden();
  state.OptBinEnabled = OptBin->isEnabled();
  state.channel = MonoOpt->isChecked() ? Channel::Mono : Channel::Stereo;
  state.dataType = Scopemode->isChecked() ? DataType::Scope : DataType::IR;
  state.rate = Opt44->isChecked()    ? Rate::Opt44
               : Opt48->isChecked()  ? Rate::Opt48
               : OptBin->isChecked() ? Rate::OptBin
                                     : Rate::None;
  state.Label2On = !Label2->text().isEmpty();
  state.Label3On = !Label3->text().isEmpty();
  return state;
}

void MainWindow::writeForm(const FormState& state) {
  currentMode_ = state.CurrentMode;
  if (state.CurrentMode) setChecked(modeButton(*state.CurrentMode), true);

  // Setting a field's text moves its cursor to the end; leave a field alone
  // when its text stays, so that a click does not disturb the user's editing.
  const std::pair<QLineEdit*, const QString*> fields[] = {{Wav, &state.Wav},
                                                          {TimLeft, &state.TimLeft},
                                                          {TimRight, &state.TimRight},
                                                          {ExpSPL, &state.ExpSPL}};
  for (const auto& [field, text] : fields)
    if (field->text() != *text) field->setText(*text);

  Command3D1->setText(state.Command3D1);
  Frame3D2->setTitle(state.Frame3D2);
  Frame3D3->setTitle(state.Frame3D3);
  Panel3D2->setText(state.Panel3D2);
  frame3D2Top_ = state.Frame3D2Top;
  frame3D3Top_ = state.Frame3D3Top;
  setGroupTop(Frame3D2, frame3D2Top_);
  setGroupTop(Frame3D3, frame3D3Top_);

  Frame3D4->setVisible(state.Frame3D4Visible);
  Frame3D5->setVisible(state.Frame3D5Visible);
  Frame3D6->setVisible(state.Frame3D6Visible);
  Frame3D7->setVisible(state.Frame3D7Visible);
  Panel3D2->setVisible(state.Panel3D2Visible);
  ExpSPL->setVisible(state.ExpSPLVisible);
  TimRight->setVisible(state.TimRightVisible);
  CommRight->setVisible(state.CommRightVisible);
  OptBin->setEnabled(state.OptBinEnabled);

  setChecked(state.channel == Channel::Mono ? MonoOpt : StereoOpt, true);
  setChecked(state.dataType == DataType::Scope ? Scopemode : IRmode, true);
  switch (state.rate) {
    case Rate::Opt44:
      setChecked(Opt44, true);
      break;
    case Rate::Opt48:
      setChecked(Opt48, true);
      break;
    case Rate::OptBin:
      setChecked(OptBin, true);
      break;
    case Rate::None:
      clearGroup(rateGroup_);
      break;
  }

  Label2->setText(state.Label2On ? kMarkerOn : QString());
  Label3->setText(state.Label3On ? kMarkerOn : QString());
}

void MainWindow::selectMode(Mode mode) {
  FormState state = readForm();
  setupMode(state, mode);
  writeForm(state);
}

void MainWindow::cycleMode() {
  if (const std::optional<Mode> next = modeAfter(currentMode_)) selectMode(*next);
}

void MainWindow::selectChannel(Channel channel) {
  FormState state = readForm();
  frontend::selectChannel(state, channel);
  writeForm(state);
}

void MainWindow::toggleOctaveFilter() {
  FormState state = readForm();
  if (state.Label2On) {
    state.Label2On = false;  // the filter file stays chosen
  } else {
    desktop_.runFilterEditor(filterFileName_);
    state.Label2On = !filterFileName_.isEmpty();
  }
  writeForm(state);
}

void MainWindow::toggleForcePink() {
  FormState state = readForm();
  state.Label3On = !state.Label3On;
  writeForm(state);
  if (state.Label3On) desktop_.showMessage(forcePinkInformation());
}

void MainWindow::convert() {
  FormState state = readForm();
  launchConversion(state, filterFileName_, environment_, desktop_);
  writeForm(state);
}

void MainWindow::browseWav() { browse(BrowseButton::CommWav); }
void MainWindow::browseLeft() { browse(BrowseButton::CommLeft); }
void MainWindow::browseRight() { browse(BrowseButton::CommRight); }

void MainWindow::browse(BrowseButton button) {
  // Before start-up has chosen a mode the window has the wavtim layout.
  const Mode mode = currentMode_.value_or(Mode::wavtim);
  QLineEdit* field = button == BrowseButton::CommWav    ? Wav
                     : button == BrowseButton::CommLeft ? TimLeft
                                                        : TimRight;
  const std::optional<QString> chosen =
      desktop_.chooseFile(browseRequest(button, mode, field->text(), dialogStartFolder_));
  if (!chosen) return;
  dialogStartFolder_.clear();
  field->setText(browsedFieldText(button, mode, *chosen));
  if (button != BrowseButton::CommWav) return;
  // Selecting the option from code runs its handling even when it was
  // selected already.
  if (const std::optional<Channel> channel = probeChannel(mode, *chosen)) selectChannel(*channel);
}

void MainWindow::showHelp() {
  const QString manual =
      helpManual(environment_.workDir, environment_.besideDir, kHostPlatform,
                 [](const QString& path) { return QFileInfo(path).isFile(); });
  desktop_.openManual(manual);
}

void MainWindow::confirmExit() {
  desktop_.beep();
  if (desktop_.showMessage(exitQuestion()) == MessageAnswer::Yes) desktop_.endProgram();
}

void MainWindow::showFileFieldMenu(QLineEdit* field, FileField role, const QPoint& at) {
  // Qt's own entries (undo, cut, copy, paste, ...), then the viewer's.
  const std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
  menu->addSeparator();
  QAction* view = menu->addAction(QStringLiteral("View impulse response"));
  view->setObjectName(QStringLiteral("viewImpulseResponse"));
  if (menu->exec(field->mapToGlobal(at)) == view) viewImpulseResponse(role);
}

void MainWindow::viewImpulseResponse(FileField field) {
  const ViewerStart start =
      prepareViewerStart(readForm(), field, environment_, [](const QString& path) {
        const QFileInfo info(path);
        return info.isFile() && info.isExecutable();
      });
  if (start.refusal) {
    desktop_.showMessage(*start.refusal);
    return;
  }
  if (!desktop_.startWindowProgram(start.request->program, start.request->arguments,
                                   environment_.workDir))
    desktop_.showMessage(cannotStartMessage(start.request->program, environment_.workDir));
}

}  // namespace frontend
