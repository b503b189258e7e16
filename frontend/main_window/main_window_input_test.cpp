// The main window under the keyboard and the mouse as a user drives it:
// the arrow keys within the option groups, double clicks, and Enter or
// Return on the focused button, also held down.
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTest>

#include "frontend/desktop/messages.h"
#include "frontend/main_window/main_window.h"
#include "frontend/testing/window_fixture.h"

namespace frontend {
namespace {

// The option groups of the mode frame lie inside one another; the arrow keys
// must stay within the group that holds the focus and never reach a hidden or
// greyed-out option.
TEST_F(WindowTest, ArrowKeysMoveOnlyWithinTheFocusedOptionGroup) {
  window->selectMode(Mode::veratim);  // channels and data type hidden, OptBin greyed
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const auto pressOn = [](QWidget* focused, Qt::Key key) {
    focused->setFocus();
    QTest::keyClick(focused, key);
    return QApplication::focusWidget();
  };

  QWidget* focused = pressOn(option("veratim"), Qt::Key_Down);
  EXPECT_TRUE(focused->isVisible()) << focused->objectName().toStdString();
  focused = pressOn(focused, Qt::Key_Right);
  EXPECT_TRUE(focused->isVisible()) << focused->objectName().toStdString();
  EXPECT_TRUE(option("IRmode")->isChecked());
  EXPECT_FALSE(option("Scopemode")->isChecked());
  EXPECT_TRUE(option("StereoOpt")->isChecked() || option("MonoOpt")->isChecked());

  // Within the mode group the arrows still select, as option buttons do.
  focused = pressOn(option("veratim"), Qt::Key_Right);
  EXPECT_EQ(focused, option("timwav"));
  EXPECT_EQ(window->readForm().CurrentMode, Mode::timwav);
  EXPECT_TRUE(option("IRmode")->isChecked());

  window->selectMode(Mode::veratim);
  focused = pressOn(option("Opt44"), Qt::Key_Right);
  EXPECT_EQ(focused, option("Opt48"));
  EXPECT_TRUE(option("Opt48")->isChecked());
  focused = pressOn(option("Opt48"), Qt::Key_Right);  // OptBin is greyed out
  EXPECT_EQ(focused, option("Opt48"));
  EXPECT_TRUE(option("Opt48")->isChecked());
  EXPECT_FALSE(option("OptBin")->isChecked());
}

// What a widget receives from a double-click: a click, then a second press
// that arrives also as a double-click event, and its release.
void doubleClick(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton);
  QTest::mousePress(widget, Qt::LeftButton);
  QTest::mouseDClick(widget, Qt::LeftButton);
  QTest::mouseRelease(widget, Qt::LeftButton);
}

TEST_F(WindowTest, DoubleClickingAMarkerToggleCountsAsOneClick) {
  window->selectMode(Mode::verawav);
  for (const char* name : {"Label3", "Label4"}) {
    SCOPED_TRACE(name);
    desktop.messages.clear();
    const bool wasOn = !label("Label3")->text().isEmpty();
    doubleClick(label(name));
    EXPECT_EQ(label("Label3")->text().isEmpty(), wasOn);
    EXPECT_EQ(desktop.messages.size(), wasOn ? 0 : 1);
  }

  desktop.filterEditorResult = "/data/hall.DAT";
  doubleClick(label("Label1"));
  EXPECT_EQ(desktop.filterEditorRuns, 1);
  EXPECT_EQ(label("Label2")->text(), kMarkerOn);
  doubleClick(label("Label2"));
  EXPECT_EQ(desktop.filterEditorRuns, 1);
  EXPECT_TRUE(label("Label2")->text().isEmpty());
}

TEST_F(WindowTest, EnterOrReturnPressesTheFocusedButton) {
  window->selectMode(Mode::verawav);
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

  button("Command3D1")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(window->readForm().CurrentMode, Mode::veratim);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
  EXPECT_EQ(window->readForm().CurrentMode, Mode::wavtim);

  desktop.answers = {MessageAnswer::No};
  button("Command3D3")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(desktop.beeps, 1);
  ASSERT_EQ(desktop.messages.size(), 1);
  EXPECT_EQ(desktop.messages[0], exitQuestion());

  button("SSCommand1")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
  EXPECT_EQ(desktop.openedManuals.size(), 1);
}

// A held key: one real press, then the auto-repeats the system sends, each
// after a release that is itself marked as repeated.
void holdKey(QWidget* widget, Qt::Key key, int repeats) {
  QKeyEvent first(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &first);
  for (int i = 0; i < repeats; ++i) {
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(widget, &up);
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(widget, &down);
  }
  QKeyEvent last(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &last);
}

TEST_F(WindowTest, HeldEnterOrReturnPressesTheFocusedButtonOnce) {
  QFile converter(workDir.filePath("irgen"));  // found, never run: the desktop is fake
  ASSERT_TRUE(converter.open(QIODevice::WriteOnly));
  converter.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  converter.close();
  window->selectMode(Mode::wavtim);
  field("Wav")->setText("take1");
  field("TimLeft")->setText("left");
  field("TimRight")->setText("right");
  holdKey(button("Command3D2"), Qt::Key_Return, 5);
  EXPECT_EQ(desktop.starts.size(), 1) << "one converter per press";
  holdKey(button("Command3D2"), Qt::Key_Enter, 5);
  EXPECT_EQ(desktop.starts.size(), 2);

  holdKey(button("Command3D1"), Qt::Key_Return, 3);
  EXPECT_EQ(window->readForm().CurrentMode, Mode::timwav);

  desktop.answers = {MessageAnswer::No, MessageAnswer::Yes};
  holdKey(button("Command3D3"), Qt::Key_Enter, 4);
  EXPECT_EQ(desktop.beeps, 1);
  EXPECT_EQ(desktop.messages.size(), 1);
  EXPECT_EQ(desktop.programEnds, 0);
}

}  // namespace
}  // namespace frontend
