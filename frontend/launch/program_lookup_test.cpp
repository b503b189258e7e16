#include "frontend/launch/program_lookup.h"

#include <gtest/gtest.h>

#include <set>

namespace frontend {
namespace {

// A file system holding exactly the given program files.
ProgramFileTest filesAt(std::set<QString> files) {
  return [files = std::move(files)](const QString& path) { return files.contains(path); };
}

const ProgramSearch kSearch{QStringLiteral("/w"), QStringLiteral("/app/bin"),
                            {QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/bin")},
                            Platform::Linux};

TEST(ProgramLookup, SearchOrder) {
  struct Case {
    const char* name;
    std::set<QString> files;
    std::optional<QString> found;
  } cases[] = {
      {"IRGEN.EXE", {"/w/IRGEN.EXE", "/w/irgen"}, "/w/IRGEN.EXE"},
      {"IRGEN.EXE", {"/w/irgen", "/app/bin/irgen"}, "/w/irgen"},
      {"IRGEN.EXE", {"/app/bin/irgen", "/usr/bin/irgen"}, "/app/bin/irgen"},
      {"fenwix4.exe", {"/usr/bin/fenwix4", "/usr/bin/fenwix"}, "/usr/bin/fenwix4"},
      {"fenwix.exe", {"/usr/local/bin/fenwix", "/usr/bin/fenwix"}, "/usr/local/bin/fenwix"},
      {"KALDOR.EXE", {"/usr/bin/KALDOR"}, std::nullopt},
      {"IREXPO.EXE", {}, std::nullopt},
      {"sub/prog", {"/w/sub/prog"}, "/w/sub/prog"},
      {"/opt/prog", {"/opt/prog"}, "/opt/prog"},
      {".exe", {"/w/"}, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(findProgram(QString::fromUtf8(c.name), kSearch, filesAt(c.files)), c.found)
        << c.name;
}

TEST(ProgramLookup, CandidatesAreThePathsTriedInOrderEachOnce) {
  EXPECT_EQ(programCandidates("fenwix.exe", kSearch),
            (QStringList{"/w/fenwix.exe", "/w/fenwix", "/app/bin/fenwix", "/usr/local/bin/fenwix",
                         "/usr/bin/fenwix"}));
  EXPECT_EQ(searchedProgramName("fenwix.exe", Platform::Linux), "fenwix");
  EXPECT_EQ(programCandidates("sub/prog", kSearch), QStringList{"/w/sub/prog"});
  const ProgramSearch sameFolders{"/w", "/w", {"/w/"}, Platform::Linux};
  EXPECT_EQ(programCandidates("irgen", sameFolders), (QStringList{"/w/irgen", "/w/irgen"}).mid(1));
}

TEST(ProgramLookup, ResolveSplitsWordsAndReportsMissingProgram) {
  const auto request =
      resolveCommandLine(QStringLiteral(R"(IRGEN.EXE "a b.WAV" "l.TIM" "NONE" 100.0 1)"), kSearch,
                         filesAt({"/app/bin/irgen"}));
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(request->program, QStringLiteral("/app/bin/irgen"));
  EXPECT_EQ(request->arguments, (QStringList{"a b.WAV", "l.TIM", "NONE", "100.0", "1"}));

  QString missing;
  EXPECT_FALSE(resolveCommandLine(QStringLiteral("KALDOR.EXE x"), kSearch, filesAt({}), &missing));
  EXPECT_EQ(missing, QStringLiteral("KALDOR.EXE"));
  EXPECT_FALSE(resolveCommandLine(QString(), kSearch, filesAt({}), &missing));
  EXPECT_EQ(missing, QString());
}

TEST(ProgramLookup, WindowsSearchesTheNameAsGivenWithBackslashedFolders) {
  const ProgramSearch search{QStringLiteral("C:\\TOOLS"), QStringLiteral("D:\\SONABRIX\\"),
                             {QStringLiteral("C:\\WINDOWS")}, Platform::Windows};
  struct Case {
    const char* name;
    std::set<QString> files;
    std::optional<QString> found;
  } cases[] = {
      {"IRGEN.EXE", {"C:\\TOOLS\\IRGEN.EXE"}, "C:\\TOOLS\\IRGEN.EXE"},
      {"IRGEN.EXE", {"D:\\SONABRIX\\IRGEN.EXE"}, "D:\\SONABRIX\\IRGEN.EXE"},
      {"fenwix4.exe", {"C:\\WINDOWS\\fenwix4.exe"}, "C:\\WINDOWS\\fenwix4.exe"},
      {"IRGEN.EXE", {"C:\\TOOLS\\irgen"}, std::nullopt},  // ".exe" is not stripped
      {"sub\\prog.exe", {"C:\\TOOLS\\sub\\prog.exe"}, "C:\\TOOLS\\sub\\prog.exe"},
      {"E:\\prog.exe", {"E:\\prog.exe"}, "E:\\prog.exe"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(findProgram(QString::fromUtf8(c.name), search, filesAt(c.files)), c.found)
        << c.name;
}

TEST(ProgramLookup, PathValueSplitsAtThePlatformsSeparatorSkippingEmpties) {
  EXPECT_EQ(pathDirectories(QStringLiteral("/a::/b:"), Platform::Linux),
            (QStringList{"/a", "/b"}));
  EXPECT_EQ(pathDirectories(QString(), Platform::Linux), QStringList());
  EXPECT_EQ(pathDirectories(QStringLiteral("C:\\Windows;;D:\\Tools;"), Platform::Windows),
            (QStringList{"C:\\Windows", "D:\\Tools"}));
}

}  // namespace
}  // namespace frontend
