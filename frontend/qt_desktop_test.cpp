#include "frontend/qt_desktop.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

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

}  // namespace
}  // namespace frontend
