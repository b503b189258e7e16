// Completed file names on a case-sensitive file system: the launch appends
// ".WAV" or ".TIM", which on Linux misses a take1.wav that the same name
// finds on Windows.
#ifndef FRONTEND_LAUNCH_NAME_CASE_H_
#define FRONTEND_LAUNCH_NAME_CASE_H_

#include <QString>
#include <QStringList>
#include <functional>

#include "frontend/desktop/platform.h"

namespace frontend {

// The names of the files in a folder; empty when it cannot be read.
using FolderListing = std::function<QStringList(const QString& folder)>;

// Linux: `name` as it is when its folder holds a file of exactly that name,
// or when no file or more than one there matches it ignoring case; else the
// name with its last part replaced by that of the one matching file. A name
// without a leading "/" lies in `workDir`. Windows: `name` unchanged.
QString matchFileCase(const QString& name, const QString& workDir, const FolderListing& list,
                      Platform platform = kHostPlatform);

// The files of `folder` (hidden ones included) through QDir.
QStringList filesInFolder(const QString& folder);

}  // namespace frontend

#endif  // FRONTEND_LAUNCH_NAME_CASE_H_
