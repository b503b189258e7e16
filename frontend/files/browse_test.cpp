// The Browse buttons of the main window, through the fake file dialog and
// once through Qt's real one.
#include "frontend/files/browse.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QTest>
#include <QTimer>

#include "frontend/qt_desktop/qt_desktop.h"
#include "frontend/testing/window_fixture.h"

namespace frontend {
namespace {

const QString kWave = "MS RIFF Audio File (*.WAV)|*.WAV";
const QString kTim = "MLSSA Imp.Resp. File (*.TIM)|*.TIM";
const QString kBk =
    "2Ch. Time File (*.DTI)|*.DTI|Ch.A Time File (*.TIA)|*.TIA|Ch.B Time File (*.TIB)|*.TIB";
const QString kResult = "Veradis files (*._*)|*._*";

constexpr auto Open = FileDialogKind::Open;
constexpr auto SaveAs = FileDialogKind::SaveAs;

class BrowseTest : public WindowTest {
 protected:
  void browse(const char* button) { this->button(button)->click(); }
  static const char* fieldOf(const char* button) {
    return QByteArray(button) == "CommWav" ? "Wav" : QByteArray(button) == "CommLeft" ? "TimLeft"
                                                                                       : "TimRight";
  }
};

TEST_F(BrowseTest, DialogKindFilterAndInitialNameFollowModeAndButtonAndACancelChangesNothing) {
  const struct {
    Mode mode;
    const char* button;
    QString fieldText;
    FileDialogKind kind;
    QString filter;
    QString initialName;
  } cases[] = {
      {Mode::wavtim, "CommWav", "take1.wav", Open, kWave, "*.WAV"},
      {Mode::timwav, "CommWav", "", SaveAs, kWave, "*.WAV"},
      {Mode::bktim, "CommWav", "", Open, kBk, "*.DTI"},
      {Mode::veratim, "CommWav", "hall._03", Open, kResult, "*._*"},
      {Mode::verawav, "CommWav", "", Open, kResult, "*._*"},
      {Mode::wavtim, "CommLeft", "Left.TIM", SaveAs, kTim, "Left.TIM"},
      {Mode::wavtim, "CommLeft", "Left.dat", SaveAs, kTim, "*.TIM"},
      {Mode::timwav, "CommLeft", "", Open, kTim, "*.TIM"},
      {Mode::bktim, "CommLeft", "a.tim", SaveAs, kTim, "a.tim"},
      {Mode::veratim, "CommLeft", "out.wav", SaveAs, kTim, "*.TIM"},
      {Mode::verawav, "CommLeft", "Out.WAV", SaveAs, kWave, "Out.WAV"},
      {Mode::verawav, "CommLeft", "out.tim", SaveAs, kWave, "*.WAV"},
      {Mode::wavtim, "CommRight", "", SaveAs, kTim, "*.TIM"},
      {Mode::timwav, "CommRight", "r.x", Open, kTim, "r.x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " in mode " + std::to_string(int(c.mode)));
    window->selectMode(c.mode);
    field(fieldOf(c.button))->setText(c.fieldText);
    desktop.fileDialogs.clear();
    browse(c.button);  // no choice scripted: the fake cancels
    ASSERT_EQ(desktop.fileDialogs.size(), 1);
    const FileDialogRequest& request = desktop.fileDialogs[0];
    EXPECT_EQ(request.kind, c.kind);
    EXPECT_EQ(request.filter, c.filter);
    EXPECT_EQ(request.initialName, c.initialName);
    EXPECT_EQ(request.startFolder, workDir.path()) << "a cancel kept the start folder";
    EXPECT_EQ(field(fieldOf(c.button))->text(), c.fieldText);
  }
}

TEST_F(BrowseTest, AChosenNameGoesIntoTheFieldWithALowerCaseSuffixAndDialogsLeaveWorkDir) {
  window->selectMode(Mode::wavtim);
  desktop.fileChoices = {"/data/Take 1", "", "/data/Right.TIM"};
  browse("CommRight");
  EXPECT_EQ(field("TimRight")->text(), "/data/Take 1.tim");  // case kept on Linux
  browse("CommWav");                                           // cancelled
  browse("CommRight");
  EXPECT_EQ(field("TimRight")->text(), "/data/Right.TIM");
  ASSERT_EQ(desktop.fileDialogs.size(), 3);
  EXPECT_EQ(desktop.fileDialogs[0].startFolder, workDir.path());
  EXPECT_EQ(desktop.fileDialogs[1].startFolder, "");
  EXPECT_EQ(desktop.fileDialogs[2].startFolder, "");

  const struct {
    Mode mode;
    const char* button;
    QString expected;
  } suffixes[] = {{Mode::verawav, "CommLeft", "/d/out.wav"},
                  {Mode::veratim, "CommLeft", "/d/out.tim"},
                  {Mode::timwav, "CommWav", "/d/out.wav"},
                  {Mode::timwav, "CommLeft", "/d/out.tim"}};
  for (const auto& c : suffixes) {
    window->selectMode(c.mode);
    desktop.fileChoices = {"/d/out"};
    browse(c.button);
    EXPECT_EQ(field(fieldOf(c.button))->text(), c.expected) << c.button;
  }
  // Windows turns the whole path to lower case.
  EXPECT_EQ(browsedFieldText(BrowseButton::CommRight, Mode::wavtim, "C:\\Data\\Take1",
                             Platform::Windows),
            "c:\\data\\take1.tim");
}

TEST_F(BrowseTest, TheFileChosenForWavSelectsTheChannelByItsFirstBytes) {
  const auto file = [this](const char* name, int size, std::initializer_list<std::pair<int, char>> bytes) {
    QByteArray content(size, '\x07');
    for (const auto& [at, value] : bytes) content[at] = value;
    QFile out(workDir.filePath(name));
    EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(content) == size);
    return workDir.filePath(name);
  };
  const QString mono = file("mono.wav", 44, {{22, 1}, {23, 0}});
  const QString stereo = file("stereo.wav", 44, {{22, 2}, {23, 0}});
  const QString short22 = file("short.wav", 22, {});
  const QString bkStereo = file("two.dti", 1700, {});
  const QString bk1605 = file("one.dti", 1700, {{1605, 0}});
  const QString bkShort = file("short.dti", 1605, {});
  const QString missing = workDir.filePath("missing.wav");
  const struct {
    Mode mode;
    QString path;
    Channel channel;
  } cases[] = {
      {Mode::wavtim, mono, Channel::Mono},       {Mode::wavtim, stereo, Channel::Stereo},
      {Mode::wavtim, short22, Channel::Stereo},  {Mode::wavtim, missing, Channel::Stereo},
      {Mode::bktim, bkStereo, Channel::Stereo},  {Mode::bktim, bk1605, Channel::Mono},
      {Mode::bktim, bkShort, Channel::Mono},     {Mode::bktim, missing, Channel::Mono},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path.toStdString());
    window->selectMode(c.mode);
    // Start from the other option, so that the probe has to change it.
    option(c.channel == Channel::Mono ? "StereoOpt" : "MonoOpt")->click();
    field("TimLeft")->setText("left.wav");
    desktop.fileChoices = {c.path};
    browse("CommWav");
    EXPECT_EQ(window->readForm().channel, c.channel);
    EXPECT_EQ(shown("TimRight"), c.channel == Channel::Stereo);
    EXPECT_EQ(shown("CommRight"), c.channel == Channel::Stereo);
    if (c.channel == Channel::Mono) {
      EXPECT_EQ(field("TimLeft")->text(), "left.tim");
    }
  }
  EXPECT_FALSE(QFile::exists(missing)) << "the probe created the file";
  EXPECT_EQ(QFileInfo(mono).size(), 44);

  // In the simulation modes nothing is read and the channel stays Mono.
  window->selectMode(Mode::verawav);
  desktop.fileChoices = {stereo};
  browse("CommWav");
  EXPECT_EQ(window->readForm().channel, Channel::Mono);
}

// The four text fields select their whole text when they get the focus, so
// that typing replaces it.
TEST_F(BrowseTest, TextFieldsSelectTheirWholeTextByTabAndByClick) {
  window->selectMode(Mode::wavtim);
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const struct {
    const char* field;
    const char* before;  // the control before it in the tab order
  } fields[] = {{"Wav", "Command3D3"}, {"ExpSPL", "CommWav"},
                {"TimLeft", "ExpSPL"}, {"TimRight", "CommLeft"}};
  for (const auto& f : fields) {
    SCOPED_TRACE(f.field);
    QLineEdit* edit = field(f.field);
    edit->setText("take 1.wav");
    window->findChild<QWidget*>(f.before)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "take 1.wav");
    QTest::keyClicks(edit, "94");
    EXPECT_EQ(edit->text(), "94");

    button("Command3D1")->setFocus();
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 4, edit->height() / 2));
    ASSERT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->selectedText(), "94");
    QTest::keyClicks(edit, "7");
    EXPECT_EQ(edit->text(), "7");
  }
}

// Qt's own dialog, offscreen: it lists the folder's WAVE files whatever the
// case of their extension, and the name typed into it lands in the field.
TEST(BrowseRealDialogTest, WavBrowseListsBothCasesAndPutsTheChosenPathInTheField) {
  QTemporaryDir folder;
  for (const char* name : {"take1.wav", "TAKE1.WAV", "notes.txt"}) {
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  QtDesktop real;
  LaunchEnvironment environment;
  environment.workDir = folder.path();
  MainWindow window(real, environment);
  real.setParentWidget(&window);
  window.selectMode(Mode::timwav);  // no channel probe
  window.show();

  // First the dialog's own "*.WAV" is confirmed, which must filter rather
  // than choose; then a name is typed into the dialog shown again.
  QStringList listed;
  bool patternChosen = true;
  const auto typeName = [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    patternChosen = false;
    auto* list = dialog->findChild<QListView*>("listView");
    auto* model = dialog->findChild<QFileSystemModel*>();
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!list || !model || !name) return dialog->reject();
    for (int waited = 0; waited < 5000 && listed.size() < 2; waited += 20) {
      QTest::qWait(20);
      listed.clear();
      const QModelIndex root = list->rootIndex();
      for (int row = 0; row < model->rowCount(root); ++row)
        if (!list->isRowHidden(row)) listed.append(model->index(row, 0, root).data().toString());
    }
    name->setText("TAKE1.WAV");
    QTest::keyClick(name, Qt::Key_Return);
  };
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
    if (!name) return;
    EXPECT_EQ(name->text(), "*.WAV");
    QTest::keyClick(name, Qt::Key_Return);
    QTimer::singleShot(0, typeName);
  });
  QTimer::singleShot(15000, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
  });
  window.findChild<QPushButton*>("CommWav")->click();
  EXPECT_FALSE(patternChosen) << "the dialog took *.WAV for a file";
  listed.sort();
  EXPECT_EQ(listed, QStringList({"TAKE1.WAV", "take1.wav"}));
  EXPECT_EQ(window.findChild<QLineEdit*>("Wav")->text(), folder.filePath("TAKE1.WAV"));
}

}  // namespace
}  // namespace frontend
