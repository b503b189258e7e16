#include "frontend/launch/command_words.h"

namespace frontend {

QStringList splitCommandWords(QStringView line) {
  QStringList words;
  QString word;
  bool inWord = false;    // a word has started, even an empty quoted one
  bool inQuotes = false;
  qsizetype i = 0;
  while (i < line.size()) {
    const QChar c = line[i];
    if (c == u'\\') {
      qsizetype run = 0;
      while (i < line.size() && line[i] == u'\\') { ++run; ++i; }
      inWord = true;
      if (i < line.size() && line[i] == u'"') {
        word += QString(run / 2, u'\\');
        if (run % 2 == 1) {
          word += u'"';
          ++i;
        }
        // With an even run the quote is handled as a delimiter next round.
      } else {
        word += QString(run, u'\\');
      }
      continue;
    }
    if (c == u'"') {
      inQuotes = !inQuotes;
      inWord = true;
    } else if ((c == u' ' || c == u'\t') && !inQuotes) {
      if (inWord) words.append(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
    ++i;
  }
  if (inWord) words.append(word);
  return words;
}

}  // namespace frontend
