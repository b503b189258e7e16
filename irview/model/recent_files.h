// The recent-files list of the File menu: most recent first, each file once,
// at most kMaxRecentFiles.
#ifndef IRVIEW_MODEL_RECENT_FILES_H_
#define IRVIEW_MODEL_RECENT_FILES_H_

#include <QString>
#include <QStringList>

namespace irview {

inline constexpr int kMaxRecentFiles = 10;

// The absolute, cleaned form under which a file enters the list, so that
// "./a.tim" and "a.tim" in one folder are one entry (symbolic links are
// kept as named). Relative paths are taken from `currentFolder`.
QString recentEntry(const QString& path, const QString& currentFolder);

// `list` with `entry` moved or added to the front, cut to kMaxRecentFiles;
// empty texts and duplicates in `list` (a stored list edited by hand) are
// dropped.
QStringList withRecent(const QStringList& list, const QString& entry);

// `list` without `entry` (a recent file that no longer opens).
QStringList withoutRecent(const QStringList& list, const QString& entry);

}  // namespace irview

#endif  // IRVIEW_MODEL_RECENT_FILES_H_
