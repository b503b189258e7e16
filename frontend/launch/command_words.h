// Splitting a command line into program arguments by the Windows rules, so
// that a converter started on Linux receives the same words as it would
// from the Windows system.
#ifndef FRONTEND_LAUNCH_COMMAND_WORDS_H_
#define FRONTEND_LAUNCH_COMMAND_WORDS_H_

#include <QStringList>
#include <QStringView>

namespace frontend {

// Words are separated by blanks or tabs. A double quote opens or closes a
// quoted stretch in which blanks and tabs belong to the word; the quote
// itself is dropped, and "" is an empty word. A backslash is literal except
// before a double quote: 2n backslashes and a quote give n backslashes and a
// quote delimiter, 2n+1 backslashes and a quote give n backslashes and a
// literal quote. Word 0 is the program.
QStringList splitCommandWords(QStringView commandLine);

}  // namespace frontend

#endif  // FRONTEND_LAUNCH_COMMAND_WORDS_H_
