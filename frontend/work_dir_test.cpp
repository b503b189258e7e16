#include "frontend/work_dir.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

TEST(WorkDir, WindowsUpperCasesAndMapsUserAndSoftwareFolders) {
  struct Case {
    const char* folder;
    const char* workDir;
  } cases[] = {
      {R"(c:\users\ann\tools)", R"(c:\veradis2)"},
      {R"(C:\SOFT\x)", R"(c:\veradis2)"},
      {R"(c:\so)", R"(c:\veradis2)"},
      {R"(d:\tools)", R"(D:\TOOLS)"},
      {R"(c:\u)", R"(C:\U)"},
      {R"(d:\users)", R"(D:\USERS)"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(workDirFor(QString::fromUtf8(c.folder), Platform::Windows).toStdString(), c.workDir)
        << c.folder;
}

TEST(WorkDir, LinuxKeepsThePathAsItIs) {
  EXPECT_EQ(workDirFor(QStringLiteral("/home/Ann/Tools"), Platform::Linux),
            QStringLiteral("/home/Ann/Tools"));
  EXPECT_EQ(workDirFor(QStringLiteral("/usr/local/bin"), Platform::Linux),
            QStringLiteral("/usr/local/bin"));
}

TEST(WorkDir, ManualBelowWorkDirAndWindowsHelpLine) {
  EXPECT_EQ(manualPath(QStringLiteral("/opt/sonabrix"), Platform::Linux),
            QStringLiteral("/opt/sonabrix/Manual/MSonabrix.mht"));
  EXPECT_EQ(manualPath(QStringLiteral("c:\\veradis2"), Platform::Windows),
            QStringLiteral("c:\\veradis2\\Manual\\MSonabrix.mht"));
  EXPECT_EQ(windowsHelpCommandLine(QStringLiteral("c:\\veradis2")),
            QStringLiteral("Explorer c:\\veradis2\\Manual\\MSonabrix.mht"));
}

}  // namespace
}  // namespace frontend
