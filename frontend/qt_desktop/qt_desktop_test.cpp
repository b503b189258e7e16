#include "frontend/qt_desktop/qt_desktop.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace frontend {
namespace {

TEST(QtDesktopTest, MessageLinesBrokenByCarriageReturnsShowAsLines) {
  EXPECT_EQ(displayText("one\rtwo\r\nthree\nfour"), "one\ntwo\nthree\nfour");
  EXPECT_EQ(displayText("no break"), "no break");
}

TEST(QtDesktopTest, RegionSettingsPanelIsTheFirstOneInstalled) {
  const auto onlyKde = [](const QString& program) {
    return program == "systemsettings" ? QString("/usr/bin/systemsettings") : QString();
  };
  const std::optional<SettingsPanel> panel = findRegionSettingsPanel(onlyKde);
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->program, "/usr/bin/systemsettings");
  EXPECT_EQ(panel->arguments, QStringList{"kcm_regionandlang"});

  const auto everything = [](const QString& program) { return "/usr/bin/" + program; };
  EXPECT_EQ(findRegionSettingsPanel(everything)->program, "/usr/bin/gnome-control-center");
  EXPECT_EQ(findRegionSettingsPanel(everything)->arguments, QStringList{"region"});

  EXPECT_FALSE(findRegionSettingsPanel([](const QString&) { return QString(); }));
}

TEST(QtDesktopTest, StartingAMissingProgramReportsFailure) {
  QTemporaryDir folder;
  QtDesktop desktop;
  EXPECT_FALSE(desktop.startProgram(folder.filePath("absent"), {}, folder.path()));
}

TEST(QtDesktopTest, HeldEnterAnswersTheQuestionBoxOnlyWhenPressedAgain) {
  QtDesktop desktop;
  bool openAfterRepeats = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    QPushButton* yes = box->defaultButton();
    // The Enter that opened the box is still held: its repeats arrive.
    for (int i = 0; i < 3; ++i) {
      QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
      QApplication::sendEvent(yes, &repeat);
    }
    openAfterRepeats = box->isVisible();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier);
    QApplication::sendEvent(yes, &press);
  });
  // Should the box never be found, it is closed rather than left waiting.
  QTimer::singleShot(10000, [] {
    if (QWidget* box = QApplication::activeModalWidget()) box->close();
  });
  const UserMessage question{"Exit", "Sure?", MessageIcon::None, MessageButtons::YesNo};
  EXPECT_EQ(desktop.showMessage(question), MessageAnswer::Yes);
  EXPECT_TRUE(openAfterRepeats) << "a repeated Enter answered the box";
}

}  // namespace
}  // namespace frontend
