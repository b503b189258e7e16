#include "frontend/startup/program_info.h"

#include <gtest/gtest.h>

namespace frontend {
namespace {

TEST(ProgramInfoTest, OnlyALoneHelpOrVersionIsAnswered) {
  const struct {
    QStringList arguments;
    std::optional<QString> text;
  } cases[] = {
      {{"--help"}, usageText()},
      {{"--version"}, "sonabrix 1.2.3\n"},
      {{}, std::nullopt},
      {{"IRGEN"}, std::nullopt},
      {{"--help", "IRGEN"}, std::nullopt},
      {{"IRGEN", "--version"}, std::nullopt},
      {{"--HELP"}, std::nullopt},
      {{"-h"}, std::nullopt},
      {{"./--help"}, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(informationRequest(c.arguments, "1.2.3"), c.text) << c.arguments.join(' ').toStdString();
  EXPECT_TRUE(usageText().startsWith("Usage: sonabrix [IRGEN|IREXPO|KALDOR|VERATOTIM|VERATOWAV]"));
  EXPECT_TRUE(usageText().endsWith(".\n"));
}

}  // namespace
}  // namespace frontend
