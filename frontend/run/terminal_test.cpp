#include "frontend/run/terminal.h"

#include <gtest/gtest.h>

#include <QSet>

namespace frontend {
namespace {

TEST(TerminalTest, ChoosesTerminalAfterTERMINALThenDebiansThenTheCommonOnes) {
  const struct {
    bool display;
    QString preferred;
    QSet<QString> installed;
    QString program;  // empty: no terminal, a detached start
    QStringList runCommand;
  } cases[] = {
      {true, "konsole", {"konsole", "x-terminal-emulator"}, "/usr/bin/konsole", {"-e"}},
      {true, "/opt/my term", {"/opt/my term", "xterm"}, "/usr/bin//opt/my term", {"-e"}},
      {true, "absent", {"x-terminal-emulator", "xterm"}, "/usr/bin/x-terminal-emulator", {"-e"}},
      {true, "", {"gnome-terminal", "xterm"}, "/usr/bin/gnome-terminal", {"--"}},
      {true, "", {"xfce4-terminal"}, "/usr/bin/xfce4-terminal", {"-x"}},
      {true, "", {"kitty"}, "/usr/bin/kitty", {}},
      {true, "xterm", {}, "", {}},
      {false, "xterm", {"xterm", "x-terminal-emulator"}, "", {}},
  };
  const StartRequest converter{"/work/irgen", {"my take (1).WAV", "it's $HOME.TIM"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.preferred.toStdString() + " / " + QStringList(c.installed.values()).join(' ').toStdString());
    const auto find = [&](const QString& name) {
      return c.installed.contains(name) ? "/usr/bin/" + name : QString();
    };
    const std::optional<StartRequest> start =
        terminalStart(converter, "/home/ann/work", {c.display, c.preferred}, find);
    if (c.program.isEmpty()) {
      EXPECT_FALSE(start);
      continue;
    }
    ASSERT_TRUE(start);
    EXPECT_EQ(start->program, c.program);
    const QStringList expected = c.runCommand + QStringList{"sh", "-c", terminalScript(),
                                                            "sonabrix", "/home/ann/work",
                                                            "/work/irgen", "my take (1).WAV",
                                                            "it's $HOME.TIM"};
    EXPECT_EQ(start->arguments, expected);
  }
}

}  // namespace
}  // namespace frontend
