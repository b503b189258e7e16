#include "frontend/run/terminal.h"

namespace frontend {

const QList<TerminalKind>& commonTerminals() {
  static const QList<TerminalKind> terminals = {
      {QStringLiteral("gnome-terminal"), {QStringLiteral("--")}},
      {QStringLiteral("konsole"), {QStringLiteral("-e")}},
      {QStringLiteral("xfce4-terminal"), {QStringLiteral("-x")}},
      {QStringLiteral("mate-terminal"), {QStringLiteral("-x")}},
      {QStringLiteral("terminator"), {QStringLiteral("-x")}},
      {QStringLiteral("alacritty"), {QStringLiteral("-e")}},
      {QStringLiteral("kitty"), {}},
      {QStringLiteral("foot"), {}},
      {QStringLiteral("urxvt"), {QStringLiteral("-e")}},
      {QStringLiteral("st"), {QStringLiteral("-e")}},
      {QStringLiteral("xterm"), {QStringLiteral("-e")}},
  };
  return terminals;
}

QStringList terminalRunCommand(const QString& program) {
  const QString name = program.mid(program.lastIndexOf(u'/') + 1);
  for (const TerminalKind& kind : commonTerminals())
    if (kind.program == name) return kind.runCommand;
  return {QStringLiteral("-e")};
}

QString terminalScript() {
  return QStringLiteral(
      "folder=$1; shift\n"
      "cd -- \"$folder\" && \"$@\"\n"
      "status=$?\n"
      "if [ \"$status\" -eq 0 ]; then\n"
      "  printf '\\n%s ended successfully. Press Enter to close this window.\\n' "
      "\"${1##*/}\"\n"
      "else\n"
      "  printf '\\n%s ended with exit status %s. Press Enter to close this window.\\n' "
      "\"${1##*/}\" \"$status\"\n"
      "fi\n"
      "read -r answer\n"
      "exit \"$status\"\n");
}

std::optional<StartRequest> terminalStart(const StartRequest& converter,
                                          const QString& workingFolder,
                                          const TerminalSettings& settings,
                                          const ExecutableSearch& findExecutable) {
  if (!settings.displayAvailable) return std::nullopt;
  QStringList candidates;
  if (!settings.preferred.isEmpty()) candidates.append(settings.preferred);
  candidates.append(QStringLiteral("x-terminal-emulator"));
  for (const TerminalKind& kind : commonTerminals()) candidates.append(kind.program);

  for (const QString& candidate : candidates) {
    const QString path = findExecutable(candidate);
    if (path.isEmpty()) continue;
    QStringList words = terminalRunCommand(candidate);
    words << QStringLiteral("sh") << QStringLiteral("-c") << terminalScript()
          << QStringLiteral("sonabrix") << workingFolder << converter.program;
    words += converter.arguments;
    return StartRequest{path, words};
  }
  return std::nullopt;
}

}  // namespace frontend
