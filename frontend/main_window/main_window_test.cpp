#include "frontend/main_window/main_window.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "frontend/desktop/messages.h"
#include "frontend/testing/window_fixture.h"
#include "frontend/widgets/twips.h"

namespace frontend {
namespace {

// What each mode setup leaves on the screen.
struct ModeLayout {
  Mode mode;
  const char* option;
  QString command3D1;
  QString frame3D2;
  QString frame3D3;
  QString panel3D2;
  QString expSpl;
  int frame3D2Top;
  int frame3D3Top;
  bool panelShown, channelsShown, dataTypeShown, rateAndEqualizerShown;
};

const ModeLayout kLayouts[] = {
    {Mode::wavtim, "wavtim", ".WAV ---> .TIM", ".WAV file name", ".TIM file names",
     "Expected SPL Value (dB) =", "100.0", 2520, 3720, true, true, true, false},
    {Mode::timwav, "timwav", ".TIM ---> .WAV", ".WAV file name", ".TIM file names",
     "Expected SPL Value (dB) =", "100.0", 3720, 2520, false, true, false, false},
    {Mode::bktim, "bktim", "B&&K ---> .TIM", "B&&K 2133 file name", ".TIM file names",
     "Expected SPL Value (dB) =", "100.0", 2520, 3720, true, true, true, false},
    // veratim's own caption ".TIM File name" is overwritten by the channel
    // handling of the Mono selection that follows it.
    {Mode::veratim, "veratim", "Veradis -> .TIM", "._* File name", ".TIM file name",
     "Microphone Number =", "1", 2520, 3720, true, false, false, true},
    {Mode::verawav, "verawav", "Veradis -> .WAV", "._* File name", ".WAV File name",
     "Microphone Number =", "1", 2520, 3720, true, false, false, true},
};

TEST_F(WindowTest, DesignStateIsTheWavtimLayoutWithStereoIrAnd44) {
  EXPECT_EQ(window->windowTitle(), "Sonabrix 2.5");
  EXPECT_EQ(window->readForm(), designState());
  EXPECT_TRUE(option("wavtim")->isChecked());
  EXPECT_TRUE(option("StereoOpt")->isChecked());
  EXPECT_TRUE(option("IRmode")->isChecked());
  EXPECT_TRUE(option("Opt44")->isChecked());
  EXPECT_TRUE(label("Label2")->text().isEmpty());
  EXPECT_TRUE(label("Label3")->text().isEmpty());
  EXPECT_TRUE(option("bktim")->isHidden());
}

TEST_F(WindowTest, EveryModeSetsCaptionsGroupTopsVisibilityAndDefault) {
  const double dpi = window->logicalDpiY();
  for (const ModeLayout& layout : kLayouts) {
    SCOPED_TRACE(layout.option);
    field("ExpSPL")->setText("77");
    window->selectMode(layout.mode);
    EXPECT_EQ(window->readForm().CurrentMode, layout.mode);
    EXPECT_TRUE(option(layout.option)->isChecked());
    EXPECT_EQ(button("Command3D1")->text(), layout.command3D1);
    EXPECT_EQ(frame("Frame3D2")->title(), layout.frame3D2);
    EXPECT_EQ(frame("Frame3D3")->title(), layout.frame3D3);
    EXPECT_EQ(label("Panel3D2")->text(), layout.panel3D2);
    EXPECT_EQ(frame("Frame3D2")->y(), twipsToPixels(layout.frame3D2Top, dpi));
    EXPECT_EQ(frame("Frame3D3")->y(), twipsToPixels(layout.frame3D3Top, dpi));
    EXPECT_EQ(shown("Panel3D2"), layout.panelShown);
    EXPECT_EQ(shown("ExpSPL"), layout.panelShown);
    // timwav hides the field and leaves what was typed.
    EXPECT_EQ(field("ExpSPL")->text(), layout.panelShown ? layout.expSpl : QString("77"));
    EXPECT_EQ(shown("Frame3D4"), layout.channelsShown);
    EXPECT_EQ(shown("Frame3D5"), layout.dataTypeShown);
    EXPECT_EQ(shown("Frame3D6"), layout.rateAndEqualizerShown);
    EXPECT_EQ(shown("Frame3D7"), layout.rateAndEqualizerShown);
    EXPECT_TRUE(option("bktim")->isHidden());
  }
}

TEST_F(WindowTest, SimulationModesSelectMonoAndHideTheRightField) {
  window->selectMode(Mode::veratim);
  EXPECT_TRUE(option("MonoOpt")->isChecked());
  EXPECT_FALSE(shown("TimRight"));
  EXPECT_FALSE(shown("CommRight"));
  window->selectMode(Mode::timwav);  // timwav selects Stereo
  EXPECT_TRUE(option("StereoOpt")->isChecked());
  EXPECT_TRUE(shown("TimRight"));
  EXPECT_TRUE(shown("CommRight"));
  EXPECT_EQ(frame("Frame3D3")->title(), ".TIM file names");
}

TEST_F(WindowTest, ClickingAModeOptionRunsItsSetupAndNormalisesTheNames) {
  window->selectMode(Mode::wavtim);
  field("Wav")->setText("Take1.WAV");
  field("TimLeft")->setText("take1l.TIM");
  option("timwav")->click();
  EXPECT_EQ(window->readForm().CurrentMode, Mode::timwav);
  // The case of a name is kept: the file system tells Take1.WAV from take1.wav.
  EXPECT_EQ(field("Wav")->text(), "Take1.WAV");
  EXPECT_EQ(field("TimLeft")->text(), "take1l.TIM");
  EXPECT_LT(frame("Frame3D3")->y(), frame("Frame3D2")->y());

  option("veratim")->click();
  EXPECT_EQ(field("Wav")->text(), "");  // not a result file
  field("Wav")->setText("hall._03");
  field("TimLeft")->setText("out.tim");
  option("verawav")->click();
  EXPECT_EQ(field("Wav")->text(), "hall._03");
  EXPECT_EQ(field("TimLeft")->text(), "out.wav");
  option("veratim")->click();
  EXPECT_EQ(field("TimLeft")->text(), "out.tim");

  field("TimLeft")->setText("result.dat");
  option("wavtim")->click();
  EXPECT_EQ(field("TimLeft")->text(), "");
}

TEST_F(WindowTest, SelectingTheCurrentModeFromCodeRunsItsSetupAgain) {
  window->selectMode(Mode::verawav);
  field("ExpSPL")->setText("4");
  window->selectMode(Mode::verawav);
  EXPECT_EQ(field("ExpSPL")->text(), "1");
}

TEST_F(WindowTest, VeratimGreysOutBinauralAndMovesItsSelectionTo44) {
  window->selectMode(Mode::verawav);
  option("OptBin")->click();
  ASSERT_TRUE(option("OptBin")->isChecked());
  option("veratim")->click();
  EXPECT_FALSE(option("OptBin")->isEnabled());
  EXPECT_TRUE(option("Opt44")->isChecked());
  option("verawav")->click();
  EXPECT_TRUE(option("OptBin")->isEnabled());
  EXPECT_TRUE(option("Opt44")->isChecked());
  EXPECT_FALSE(option("OptBin")->isChecked());

  option("Opt48")->click();
  option("veratim")->click();
  EXPECT_TRUE(option("Opt48")->isChecked());  // only a binaural selection moves
}

TEST_F(WindowTest, ChannelOptionsShowOrHideTheRightFieldAndMonoAppliesTheTimRule) {
  window->selectMode(Mode::wavtim);
  field("TimLeft")->setText("Left.WAV");
  option("MonoOpt")->click();
  EXPECT_FALSE(shown("TimRight"));
  EXPECT_FALSE(shown("CommRight"));
  EXPECT_EQ(frame("Frame3D3")->title(), ".TIM file name");
  EXPECT_EQ(field("TimLeft")->text(), "Left.TIM");
  option("StereoOpt")->click();
  EXPECT_TRUE(shown("TimRight"));
  EXPECT_TRUE(shown("CommRight"));
  EXPECT_EQ(frame("Frame3D3")->title(), ".TIM file names");
}

TEST_F(WindowTest, Command3D1CyclesThroughTheFourVisibleModes) {
  window->selectMode(Mode::verawav);
  const Mode expected[] = {Mode::veratim, Mode::wavtim, Mode::timwav, Mode::verawav};
  for (Mode mode : expected) {
    QTest::mouseClick(button("Command3D1"), Qt::LeftButton);
    EXPECT_EQ(window->readForm().CurrentMode, mode);
  }
}

TEST_F(WindowTest, Command3D1DoesNothingInBktim) {
  window->selectMode(Mode::bktim);
  const FormState before = window->readForm();
  QTest::mouseClick(button("Command3D1"), Qt::LeftButton);
  EXPECT_EQ(window->readForm(), before);
  EXPECT_TRUE(option("bktim")->isChecked());
}

TEST_F(WindowTest, OctaveFilterTurnsOnOnlyWhenTheEditorLeavesAFilterFile) {
  window->selectMode(Mode::veratim);
  desktop.filterEditorResult = "";
  QTest::mouseClick(label("Label1"), Qt::LeftButton);
  EXPECT_EQ(desktop.filterEditorRuns, 1);
  EXPECT_TRUE(label("Label2")->text().isEmpty());

  desktop.filterEditorResult = "/data/hall.DAT";
  QTest::mouseClick(label("Label2"), Qt::LeftButton);
  EXPECT_EQ(desktop.filterEditorRuns, 2);
  EXPECT_EQ(label("Label2")->text(), kMarkerOn);
  EXPECT_EQ(window->filterFileName(), "/data/hall.DAT");

  // Turning it off opens no editor and keeps the filter file.
  QTest::mouseClick(label("Label1"), Qt::LeftButton);
  EXPECT_EQ(desktop.filterEditorRuns, 2);
  EXPECT_TRUE(label("Label2")->text().isEmpty());
  EXPECT_EQ(window->filterFileName(), "/data/hall.DAT");

  QTest::mouseClick(label("Label2"), Qt::LeftButton);
  EXPECT_EQ(desktop.filterEditorRuns, 3);
}

TEST_F(WindowTest, ForcePinkTurnsOnWithItsInformationAndOffSilently) {
  window->selectMode(Mode::verawav);
  QTest::mouseClick(label("Label4"), Qt::LeftButton);
  EXPECT_EQ(label("Label3")->text(), kMarkerOn);
  ASSERT_EQ(desktop.messages.size(), 1);
  EXPECT_EQ(desktop.messages[0], forcePinkInformation());
  EXPECT_EQ(desktop.messages[0].text.count(u'\r'), 4);
  EXPECT_FALSE(desktop.messages[0].text.contains(u'\n'));

  QTest::mouseClick(label("Label3"), Qt::LeftButton);
  EXPECT_TRUE(label("Label3")->text().isEmpty());
  EXPECT_EQ(desktop.messages.size(), 1);
}

TEST_F(WindowTest, ExitAnsweredNoChangesNothing) {
  window->selectMode(Mode::wavtim);
  field("Wav")->setText("take1");
  const FormState before = window->readForm();
  desktop.answers = {MessageAnswer::No};
  QTest::mouseClick(button("Command3D3"), Qt::LeftButton);
  EXPECT_EQ(desktop.beeps, 1);
  ASSERT_EQ(desktop.messages.size(), 1);
  EXPECT_EQ(desktop.messages[0], exitQuestion());
  EXPECT_EQ(desktop.programEnds, 0);
  EXPECT_EQ(window->readForm(), before);
}

TEST_F(WindowTest, ExitAnsweredYesEndsTheProgramAfterTheBeep) {
  desktop.answers = {MessageAnswer::Yes};
  QTest::mouseClick(button("Command3D3"), Qt::LeftButton);
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(desktop.programEnds, 1);
  EXPECT_TRUE(desktop.starts.isEmpty());
}

TEST_F(WindowTest, HelpOpensTheManualUnderWorkDir) {
  QTest::mouseClick(button("SSCommand1"), Qt::LeftButton);
  EXPECT_EQ(desktop.openedManuals, QStringList{workDir.filePath("Manual/MSonabrix.mht")});
  EXPECT_TRUE(desktop.messages.isEmpty());
}

TEST_F(WindowTest, ConvertWithAMissingNameWarnsAndLeavesTheFields) {
  window->selectMode(Mode::wavtim);
  field("Wav")->setText("take1");
  field("TimLeft")->setText("left");
  // Stereo is selected and TimRight is empty.
  QTest::mouseClick(button("Command3D2"), Qt::LeftButton);
  ASSERT_EQ(desktop.messages.size(), 1);
  EXPECT_EQ(desktop.messages[0], fileSpecificationError());
  EXPECT_TRUE(desktop.starts.isEmpty());
  EXPECT_EQ(field("Wav")->text(), "take1");
  EXPECT_EQ(field("TimLeft")->text(), "left");
}

TEST_F(WindowTest, ConvertWritesTheCompletedNamesBackIntoTheFields) {
  window->selectMode(Mode::wavtim);
  field("Wav")->setText(".wav");
  field("TimLeft")->setText("dir.x/left");
  field("TimRight")->setText("right");
  QTest::mouseClick(button("Command3D2"), Qt::LeftButton);
  EXPECT_EQ(field("Wav")->text(), ".wav.WAV");
  EXPECT_EQ(field("TimLeft")->text(), "dir.x/left");
  EXPECT_EQ(field("TimRight")->text(), "right.TIM");
}

TEST_F(WindowTest, WindowHasTheDesignSizeFixedBorderAndCaptionColours) {
  const double dpi = window->logicalDpiY();
  EXPECT_EQ(window->minimumSize(), QSize(twipsToPixels(5580, dpi), twipsToPixels(5670, dpi)));
  EXPECT_EQ(window->maximumSize(), window->minimumSize());
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(button("Command3D2")->palette().color(QPalette::ButtonText), QColor(128, 0, 0));
  EXPECT_EQ(button("Command3D3")->palette().color(QPalette::ButtonText), QColor(0, 0, 128));
  EXPECT_EQ(button("SSCommand1")->palette().color(QPalette::ButtonText), QColor(0, 128, 0));
  EXPECT_EQ(label("Panel3D1")->palette().color(QPalette::Window), QColor(255, 255, 0));
  EXPECT_TRUE(window->font().bold());
  EXPECT_DOUBLE_EQ(window->font().pointSizeF(), 7.8);
  EXPECT_DOUBLE_EQ(button("Command3D2")->font().pointSizeF(), 9.6);
  EXPECT_EQ(field("Wav")->geometry(), twipsRect(120, 300, 3735, 372, dpi));
}

TEST_F(WindowTest, TabOrderStartsWithTheButtonsThenTheFileFields) {
  const char* order[] = {"Command3D1", "Command3D2", "Command3D3", "Wav",      "CommWav",
                         "ExpSPL",     "TimLeft",    "CommLeft",   "TimRight", "CommRight"};
  QWidget* widget = window->findChild<QWidget*>(order[0]);
  for (size_t i = 1; i < std::size(order); ++i) {
    widget = widget->nextInFocusChain();
    EXPECT_EQ(widget->objectName(), order[i]);
  }
}

// A right click on a file field: Qt's own editing entries and "View impulse
// response", which starts irview (here beside sonabrix) on the field's file
// as the conversion would name it, detached and not in a terminal.
TEST_F(WindowTest, TheFileFieldsMenuStartsTheViewerOnTheFieldsFile) {
  const QString viewer = workDir.filePath("irview");
  {
    QFile program(viewer);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  window->selectMode(Mode::wavtim);
  window->show();
  field("TimLeft")->setText("left");

  QStringList entries;
  QTimer::singleShot(0, [&entries] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (QAction* action : menu->actions()) {
      entries.append(action->text().section(u'\t', 0, 0));  // without the shortcut
      if (action->text() == "View impulse response") menu->setActiveAction(action);
    }
    QTest::keyClick(menu, Qt::Key_Return);  // as a user chooses it
    if (menu->isVisible()) menu->close();
  });
  QLineEdit* left = field("TimLeft");
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), left->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(left, &click);

  EXPECT_TRUE(entries.contains("&Copy") && entries.contains("&Paste"))
      << entries.join(", ").toStdString();
  EXPECT_EQ(entries.last(), "View impulse response");
  ASSERT_EQ(desktop.windowStarts.size(), 1);
  EXPECT_EQ(desktop.windowStarts[0].program, viewer);
  EXPECT_EQ(desktop.windowStarts[0].arguments, QStringList{workDir.filePath("left.TIM")});
  EXPECT_EQ(desktop.windowStarts[0].workingFolder, workDir.path());
  EXPECT_TRUE(desktop.starts.isEmpty());
  EXPECT_TRUE(desktop.messages.isEmpty());
  EXPECT_EQ(field("TimLeft")->text(), "left");  // the field is left as typed

  // An empty field, a viewer that does not start, no viewer: each is told.
  field("TimRight")->clear();
  window->viewImpulseResponse(FileField::TimRight);
  desktop.windowProgramStarts = false;
  window->viewImpulseResponse(FileField::TimLeft);
  QFile::remove(viewer);
  window->viewImpulseResponse(FileField::TimLeft);
  ASSERT_EQ(desktop.messages.size(), 3);
  EXPECT_EQ(desktop.messages[0], noFileToViewMessage());
  EXPECT_EQ(desktop.messages[1], cannotStartMessage(viewer, workDir.path()));
  EXPECT_EQ(desktop.messages[2], viewerMissingMessage(workDir.path()));
  EXPECT_EQ(desktop.windowStarts.size(), 2);
}

}  // namespace
}  // namespace frontend
