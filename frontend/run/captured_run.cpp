#include "frontend/run/captured_run.h"

namespace frontend {

QString capturedRunScript() {
  return QStringLiteral(
      "status=$1; shift\n"
      "\"$@\"\n"
      "code=$?\n"
      "{ printf '%s\\n' \"$code\" >\"$status.part\" &&\n"
      "  command -p mv -f -- \"$status.part\" \"$status\"; } "
      "2>/dev/null\n"
      "exit \"$code\"\n");
}

StartRequest capturedRunStart(const StartRequest& converter, const QString& statusFile) {
  QStringList words{QStringLiteral("-c"), capturedRunScript(), QStringLiteral("sonabrix"),
                    statusFile, converter.program};
  words += converter.arguments;
  return {QString::fromLatin1(kCapturedRunShell), words};
}

std::optional<int> parseExitStatus(const QByteArray& text) {
  if (!text.endsWith('\n')) return std::nullopt;
  const QByteArray digits = text.chopped(1);
  if (digits.isEmpty() || digits.size() > 3) return std::nullopt;
  for (const char c : digits)
    if (c < '0' || c > '9') return std::nullopt;
  const int status = digits.toInt();
  if (status > 255) return std::nullopt;
  return status;
}

QStringList lastOutputLines(const QByteArray& tail, bool wholeOutput, int count) {
  QString text = QString::fromUtf8(tail);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  QStringList lines = text.split(u'\n');
  if (!wholeOutput && !lines.isEmpty()) lines.removeFirst();
  QStringList shown;
  for (qsizetype i = lines.size() - 1; i >= 0 && shown.size() < count; --i) {
    QString line;
    for (const QChar c : lines[i])
      if (c == u'\t' || (!c.isNonCharacter() && c.category() != QChar::Other_Control)) line += c;
    while (!line.isEmpty() && line.back().isSpace()) line.chop(1);
    if (!line.isEmpty()) shown.prepend(line);
  }
  return shown;
}

}  // namespace frontend
