// irview's command line: the files to show, --help and --version. Qt's own
// options (-platform, -style, ...) are taken out by QApplication before the
// files are read, so `--help` and `--version` are looked for first, in the
// words as given, where no display is needed to answer them.
#ifndef IRVIEW_MODEL_COMMAND_LINE_H_
#define IRVIEW_MODEL_COMMAND_LINE_H_

#include <QString>
#include <QStringList>

namespace irview {

struct ViewerCommand {
  enum class Action { Show, Help, Version, Refuse };
  Action action = Action::Show;
  QStringList files;  // Show: the files, in order
  QString message;    // Refuse: what is wrong, for standard error
};

// The words after the program name. "--" ends the options: every word
// after it is a file, also one that starts with "-". Any other word that
// starts with "-" (but "-" alone) is refused.
ViewerCommand parseCommandLine(const QStringList& words);

// The texts of --help and --version, each ending in a line feed.
QString helpText();
QString versionText();

}  // namespace irview

#endif  // IRVIEW_MODEL_COMMAND_LINE_H_
