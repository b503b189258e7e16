#include "frontend/startup/work_dir.h"

#include <gtest/gtest.h>

#include <QSet>

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
  // Writability plays no part on Windows.
  const WorkDirFallbacks nothingWritable{"e:\\here", "e:\\home", [](const QString&) { return false; }};
  for (const auto& c : cases)
    EXPECT_EQ(workDirFor(QString::fromUtf8(c.folder), Platform::Windows, nothingWritable)
                  .toStdString(),
              c.workDir)
        << c.folder;
}

// Tests run as root, where every folder is writable: writability is injected.
TEST(WorkDir, LinuxTakesAWritableProgramFolderUnlessInstalledThenCurrentThenHome) {
  struct Case {
    const char* program;
    bool installed;  // the program's folder holds the install marker
    QSet<QString> writable;
    const char* workDir;
  } cases[] = {
      // An unpacked copy, case kept.
      {"/home/Ann/Tools", false, {"/home/Ann/Tools", "/home/Ann"}, "/home/Ann/Tools"},
      // Installed: the current folder, else home (started from /, say).
      {"/usr/lib/sonabrix", true, {"/home/Ann/Work", "/home/Ann"}, "/home/Ann/Work"},
      {"/usr/lib/sonabrix", true, {"/home/Ann"}, "/home/Ann"},
      {"/usr/lib/sonabrix", true, {}, "/home/Ann"},
      // Installed and run by root, who may write everywhere.
      {"/usr/lib/sonabrix", true, {"/usr/lib/sonabrix", "/home/Ann/Work"}, "/home/Ann/Work"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.program);
    WorkDirFallbacks fallbacks{"/home/Ann/Work", "/home/Ann",
                               [&](const QString& folder) { return c.writable.contains(folder); }};
    fallbacks.programInstalled = c.installed;
    EXPECT_EQ(workDirFor(c.program, Platform::Linux, fallbacks).toStdString(), c.workDir);
  }
}

TEST(WorkDir, HelpTakesTheManualUnderWorkDirElseTheOneBesideTheProgram) {
  const auto only = [](const QString& present) {
    return [present](const QString& path) { return path == present; };
  };
  const QString installed = "/usr/lib/sonabrix/Manual/MSonabrix.mht";
  EXPECT_EQ(helpManual("/home/ann", "/usr/lib/sonabrix", Platform::Linux, only(installed)),
            installed);
  EXPECT_EQ(helpManual("/home/ann", "/usr/lib/sonabrix", Platform::Linux,
                       only("/home/ann/Manual/MSonabrix.mht")),
            "/home/ann/Manual/MSonabrix.mht");
  EXPECT_EQ(helpManual("c:\\veradis2", "d:\\tools", Platform::Windows, only("")),
            "c:\\veradis2\\Manual\\MSonabrix.mht");
  EXPECT_EQ(windowsHelpCommandLine(manualPath("c:\\veradis2", Platform::Windows)),
            "Explorer c:\\veradis2\\Manual\\MSonabrix.mht");
}

}  // namespace
}  // namespace frontend
