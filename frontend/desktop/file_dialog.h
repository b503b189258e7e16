// A file dialog as a value: what a window asks the user to choose, and how
// the windows' filter texts ("description|pattern|description|pattern")
// become the name filters of a dialog.
#ifndef FRONTEND_DESKTOP_FILE_DIALOG_H_
#define FRONTEND_DESKTOP_FILE_DIALOG_H_

#include <QList>
#include <QString>
#include <QStringList>

namespace frontend {

enum class FileDialogKind { Open, SaveAs };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  // Pairs of description and pattern joined by "|"; the first entry is the
  // one preselected.
  QString filter;
  // The name the dialog offers in its file name field ("*.WAV" lists the
  // folder with that pattern).
  QString initialName;
  // The folder the dialog opens in; empty: where the desktop's dialog opens
  // by default, the folder last used.
  QString startFolder;

  friend bool operator==(const FileDialogRequest&, const FileDialogRequest&) = default;
};

struct FileFilterEntry {
  QString description;
  QString pattern;

  friend bool operator==(const FileFilterEntry&, const FileFilterEntry&) = default;
};

// The entries of a filter text, in order. A trailing description without
// its pattern is dropped.
QList<FileFilterEntry> parseFileFilter(const QString& filter);

// The entries in the form "description (pattern)" that Qt's dialogs read
// their patterns from. A description that already ends with the pattern in
// parentheses, as "MS RIFF Audio File (*.WAV)" does, is kept as it is.
QStringList qtNameFilters(const QString& filter);

}  // namespace frontend

#endif  // FRONTEND_DESKTOP_FILE_DIALOG_H_
