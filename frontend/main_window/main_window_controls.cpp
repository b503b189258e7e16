// The main window's controls as the window definition lays them out: each
// control with its object name, caption and rectangle in twips, the tab
// order, the option groups, and the window's fixed size and place.
#include "frontend/main_window/main_window.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "frontend/widgets/enter_repeats.h"
#include "frontend/widgets/select_on_focus.h"
#include "frontend/widgets/window_look.h"

namespace frontend {

namespace {

// The design's large caption size in points.
constexpr double kLargePointSize = 9.6;

const QColor kPanelYellow(255, 255, 0);
const QColor kGreen(0, 128, 0);

void setLargeFont(QWidget* widget) {
  QFont font = widget->font();
  font.setPointSizeF(kLargePointSize);
  widget->setFont(font);
}

// A 3-D panel: a sunken frame showing a centred caption on yellow.
QLabel* makePanel(QWidget* parent, const char* name, const QString& caption) {
  auto* panel = named(new QLabel(caption, parent), name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setAlignment(Qt::AlignCenter);
  panel->setWordWrap(true);
  panel->setTextFormat(Qt::PlainText);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, kPanelYellow);
  panel->setPalette(palette);
  return panel;
}

// A marker box: a bordered square in the window colour that shows the tick
// when on and nothing when off.
QLabel* makeMarkerBox(QWidget* parent, const char* name) {
  auto* box = named(new QLabel(parent), name);
  box->setFrameStyle(QFrame::Box | QFrame::Plain);
  box->setAlignment(Qt::AlignCenter);
  box->setTextFormat(Qt::PlainText);
  box->setCursor(Qt::PointingHandCursor);
  return box;
}

QButtonGroup* makeGroup(QObject* owner, std::initializer_list<QRadioButton*> buttons) {
  auto* group = new QButtonGroup(owner);
  group->setExclusive(true);
  for (QRadioButton* button : buttons) group->addButton(button);
  return group;
}

}  // namespace

void MainWindow::buildControls() {
  Panel3D1 = makePanel(this, "Panel3D1",
                       QStringLiteral("  Conversion Between VERADIS result files and .WAV or "
                                      ".TIM pressure impulse responses"));
  Panel3D1->setGeometry(twips(120, 60, 5352, 912));
  setLargeFont(Panel3D1);

  Frame3D1 = named(new QGroupBox(QStringLiteral("Conversion Mode"), this), "Frame3D1");
  Frame3D1->setGeometry(twips(120, 960, 5352, 1572));
  Command3D1 = named(new QPushButton(Frame3D1), "Command3D1");
  Command3D1->setGeometry(twips(60, 300, 1932, 492));
  setLargeFont(Command3D1);
  verawav = named(new QRadioButton(QStringLiteral("Veradis->WAV"), Frame3D1), "verawav");
  verawav->setGeometry(twips(2160, 240, 1695, 195));
  veratim = named(new QRadioButton(QStringLiteral("Veradis->TIM"), Frame3D1), "veratim");
  veratim->setGeometry(twips(2160, 480, 1695, 195));
  bktim = named(new QRadioButton(QStringLiteral("B&&K->TIM"), Frame3D1), "bktim");
  bktim->setGeometry(twips(2160, 720, 1512, 192));
  bktim->setVisible(false);  // reachable only by the start-up keyword
  wavtim = named(new QRadioButton(QStringLiteral("WAV->TIM"), Frame3D1), "wavtim");
  wavtim->setGeometry(twips(3960, 240, 1335, 195));
  timwav = named(new QRadioButton(QStringLiteral("TIM->WAV"), Frame3D1), "timwav");
  timwav->setGeometry(twips(3960, 480, 1335, 195));
  wavtim->setChecked(true);  // selected in the design, before any mode is set up

  Frame3D4 = named(new QGroupBox(Frame3D1), "Frame3D4");
  Frame3D4->setGeometry(twips(180, 960, 2175, 555));
  MonoOpt = named(new QRadioButton(QStringLiteral("Mono"), Frame3D4), "MonoOpt");
  MonoOpt->setGeometry(twips(60, 180, 972, 252));
  StereoOpt = named(new QRadioButton(QStringLiteral("Stereo"), Frame3D4), "StereoOpt");
  StereoOpt->setGeometry(twips(1080, 180, 972, 252));

  Frame3D5 = named(new QGroupBox(Frame3D1), "Frame3D5");
  Frame3D5->setGeometry(twips(2760, 960, 2475, 555));
  IRmode = named(new QRadioButton(QStringLiteral("I.R."), Frame3D5), "IRmode");
  IRmode->setGeometry(twips(120, 120, 792, 372));
  Scopemode = named(new QRadioButton(QStringLiteral("Scope"), Frame3D5), "Scopemode");
  Scopemode->setGeometry(twips(900, 120, 912, 372));

  // The sampling-frequency and equaliser groups lie over the lower part of
  // the mode group; they are shown in the simulation modes, where the
  // channel and data-type groups are hidden.
  Frame3D6 = named(new QGroupBox(QStringLiteral("Sampling Frequency (kHz)"), this), "Frame3D6");
  Frame3D6->setGeometry(twips(240, 1920, 3672, 552));
  Opt44 = named(new QRadioButton(QStringLiteral("44.1"), Frame3D6), "Opt44");
  Opt44->setGeometry(twips(240, 300, 1035, 195));
  Opt48 = named(new QRadioButton(QStringLiteral("48"), Frame3D6), "Opt48");
  Opt48->setGeometry(twips(1440, 300, 555, 195));
  OptBin = named(new QRadioButton(QStringLiteral("Binaural 44.1"), Frame3D6), "OptBin");
  OptBin->setGeometry(twips(2280, 300, 1275, 195));

  Frame3D7 = named(new QGroupBox(QStringLiteral("Equalizer"), this), "Frame3D7");
  Frame3D7->setGeometry(twips(3960, 1680, 1452, 792));
  Label2 = makeMarkerBox(Frame3D7, "Label2");
  Label2->setGeometry(twips(120, 240, 252, 252));
  Label1 = named(new QLabel(QStringLiteral("Octave Filter"), Frame3D7), "Label1");
  Label1->setGeometry(twips(480, 300, 1212, 192));
  Label3 = makeMarkerBox(Frame3D7, "Label3");
  Label3->setGeometry(twips(120, 480, 252, 252));
  Label4 = named(new QLabel(QStringLiteral("Force Pink"), Frame3D7), "Label4");
  Label4->setGeometry(twips(480, 540, 1212, 192));
  for (QLabel* caption : {Label1, Label4}) caption->setCursor(Qt::PointingHandCursor);

  Frame3D2 = named(new QGroupBox(this), "Frame3D2");
  Wav = named(new QLineEdit(Frame3D2), "Wav");
  Wav->setGeometry(twips(120, 300, 3735, 372));
  CommWav = named(new QPushButton(QStringLiteral("Browse..."), Frame3D2), "CommWav");
  CommWav->setGeometry(twips(3840, 300, 1335, 375));
  Panel3D2 = makePanel(Frame3D2, "Panel3D2", QString());
  Panel3D2->setGeometry(twips(120, 720, 3732, 432));
  ExpSPL = named(new QLineEdit(Frame3D2), "ExpSPL");
  ExpSPL->setGeometry(twips(3840, 720, 1332, 432));
  ExpSPL->setAlignment(Qt::AlignCenter);

  Frame3D3 = named(new QGroupBox(this), "Frame3D3");
  TimLeft = named(new QLineEdit(Frame3D3), "TimLeft");
  TimLeft->setGeometry(twips(120, 300, 3732, 372));
  CommLeft = named(new QPushButton(QStringLiteral("Browse..."), Frame3D3), "CommLeft");
  CommLeft->setGeometry(twips(3840, 300, 1332, 372));
  TimRight = named(new QLineEdit(Frame3D3), "TimRight");
  TimRight->setGeometry(twips(120, 720, 3732, 372));
  CommRight = named(new QPushButton(QStringLiteral("Browse..."), Frame3D3), "CommRight");
  CommRight->setGeometry(twips(3840, 720, 1332, 372));

  Command3D2 = named(new QPushButton(QStringLiteral("OK - Convert!"), this), "Command3D2");
  Command3D2->setGeometry(twips(180, 5040, 1632, 492));
  Command3D3 = named(new QPushButton(QStringLiteral("Exit"), this), "Command3D3");
  Command3D3->setGeometry(twips(2040, 5040, 1632, 492));
  SSCommand1 = named(new QPushButton(QStringLiteral("Help"), this), "SSCommand1");
  SSCommand1->setGeometry(twips(3840, 5040, 1632, 492));
  for (QPushButton* button : {Command3D2, Command3D3, SSCommand1}) setLargeFont(button);
  // Enter or Return presses the focused button, as Space does: once per
  // press, however long the key is held.
  for (QPushButton* button :
       {Command3D1, CommWav, CommLeft, CommRight, Command3D2, Command3D3, SSCommand1}) {
    button->setAutoDefault(true);
    ignoreEnterRepeats(button);
  }
  // Typing into a field that gets the focus replaces its text.
  for (QLineEdit* field : {Wav, TimLeft, TimRight, ExpSPL}) selectAllOnFocus(field);
  setTextColour(Command3D2, kDarkRed);
  setTextColour(Command3D3, kDarkBlue);
  setTextColour(SSCommand1, kGreen);

  QWidget* order[] = {Command3D1, Command3D2, Command3D3, Wav,       CommWav,   ExpSPL,
                      TimLeft,    CommLeft,   TimRight,   CommRight, verawav,   veratim,
                      bktim,      wavtim,     timwav,     MonoOpt,   StereoOpt, IRmode,
                      Scopemode,  Opt44,      Opt48,      OptBin};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  modeGroup_ = makeGroup(this, {verawav, veratim, bktim, wavtim, timwav});
  channelGroup_ = makeGroup(this, {MonoOpt, StereoOpt});
  dataTypeGroup_ = makeGroup(this, {IRmode, Scopemode});
  rateGroup_ = makeGroup(this, {Opt44, Opt48, OptBin});
  Command3D1->setFocus();  // first in the tab order
}

void MainWindow::placeOnScreen() {
  setFixedSize(twips(0, 0, 5580, 5670).size());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

}  // namespace frontend
