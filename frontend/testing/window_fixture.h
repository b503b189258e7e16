// Shared set-up of the window tests: a main window on a fake desktop, with
// WorkDir in a temporary folder and US English number settings, and lookup
// of its controls by object name.
#ifndef FRONTEND_TESTING_WINDOW_FIXTURE_H_
#define FRONTEND_TESTING_WINDOW_FIXTURE_H_

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <memory>

#include "frontend/main_window/main_window.h"
#include "frontend/testing/fake_desktop.h"

namespace frontend {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(workDir.isValid());
    environment.workDir = workDir.path();
    environment.besideDir = workDir.path();
    environment.locale = [this] { return locale; };
    window = std::make_unique<MainWindow>(desktop, environment);
  }

  template <typename W>
  W* control(const char* name) const {
    W* widget = window->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << "no control named " << name;
    return widget;
  }
  QLineEdit* field(const char* name) const { return control<QLineEdit>(name); }
  QRadioButton* option(const char* name) const { return control<QRadioButton>(name); }
  QPushButton* button(const char* name) const { return control<QPushButton>(name); }
  QGroupBox* frame(const char* name) const { return control<QGroupBox>(name); }
  QLabel* label(const char* name) const { return control<QLabel>(name); }
  bool shown(const char* name) const {
    return !window->findChild<QWidget*>(QString::fromLatin1(name))->isHidden();
  }

  QTemporaryDir workDir;
  QLocale locale{QLocale::English, QLocale::UnitedStates};
  FakeDesktop desktop;
  LaunchEnvironment environment;
  std::unique_ptr<MainWindow> window;
};

}  // namespace frontend

#endif  // FRONTEND_TESTING_WINDOW_FIXTURE_H_
