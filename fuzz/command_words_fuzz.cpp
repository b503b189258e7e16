// The front end's command-word splitter on arbitrary command lines. The
// words it finds, quoted again by the Windows rules and joined with blanks,
// split into the same words; a line without quotes or backslashes splits at
// its blanks and tabs and nowhere else.
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

#include "frontend/launch/command_words.h"
#include "fuzz/property.h"

namespace {

// One word as a Windows program expects it on its command line: bare when
// nothing in it needs quotes, else in double quotes with the backslashes
// before a quote (or before the closing quote) doubled and every quote
// escaped.
QString quoteWord(const QString& word) {
  if (!word.isEmpty() && !word.contains(u' ') && !word.contains(u'\t') &&
      !word.contains(u'"')) {
    return word;
  }
  QString out = QStringLiteral("\"");
  qsizetype backslashes = 0;
  for (const QChar c : word) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    if (c == u'"') {
      out += QString(2 * backslashes + 1, u'\\');
      out += u'"';
    } else {
      out += QString(backslashes, u'\\');
      out += c;
    }
    backslashes = 0;
  }
  out += QString(2 * backslashes, u'\\');
  out += u'"';
  return out;
}

QString joinWords(const QStringList& words) {
  QStringList quoted;
  for (const QString& w : words) quoted.append(quoteWord(w));
  return quoted.join(u' ');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString line =
      QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QStringList words = frontend::splitCommandWords(line);

  const QString joined = joinWords(words);
  FUZZ_REQUIRE(frontend::splitCommandWords(joined) == words);

  if (!line.contains(u'"') && !line.contains(u'\\')) {
    static const QRegularExpression kBlanks(QStringLiteral("[ \\t]+"));
    FUZZ_REQUIRE(words == line.split(kBlanks, Qt::SkipEmptyParts));
  }
  return 0;
}
