// The real edge's files: writes all or nothing, and the recent list kept in
// a settings file from one run to the next.
#include "irview/window/qt_viewer_edge.h"

#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace irview {
namespace {

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(QtViewerEdgeTest, AWriteReplacesTheFileWhole) {
  QTemporaryDir folder;
  QtViewerEdge edge(nullptr, folder.filePath("settings.ini"));
  const QString path = folder.filePath("table.csv");
  EXPECT_EQ(edge.writeFile(path, "old\n"), "");
  EXPECT_EQ(edge.writeFile(path, "new\n"), "");
  EXPECT_EQ(contents(path), "new\n");
  // A folder that is not there: the reason comes back, nothing is left.
  EXPECT_NE(edge.writeFile(folder.filePath("none/table.csv"), "x"), "");
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"table.csv"}));
}

TEST(QtViewerEdgeTest, AFailedWriteLeavesTheOldFileAsItWas) {
  QTemporaryDir folder;
  QtViewerEdge edge(nullptr, folder.filePath("settings.ini"));
  // A file in a folder that cannot be written: the old one stays.
  QDir(folder.path()).mkdir("locked");
  const QString locked = folder.filePath("locked/plot.svg");
  ASSERT_EQ(edge.writeFile(locked, "kept"), "");
  QFile::setPermissions(folder.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
  if (QFile(folder.filePath("locked/probe")).open(QIODevice::WriteOnly))
    GTEST_SKIP() << "run by a user who may write anywhere (root)";
  EXPECT_NE(edge.writeFile(locked, "lost"), "");
  EXPECT_EQ(contents(locked), "kept");
  QFile::setPermissions(folder.filePath("locked"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(QtViewerEdgeTest, TheRecentListOutlivesTheEdgeThatStoredIt) {
  QTemporaryDir folder;
  const QString settings = folder.filePath("irview.conf");
  QtViewerEdge(nullptr, settings).storeRecentFiles({"/a/left.tim", "/b/hall.wav"});
  EXPECT_EQ(QtViewerEdge(nullptr, settings).loadRecentFiles(),
            QStringList({"/a/left.tim", "/b/hall.wav"}));
  EXPECT_TRUE(QtViewerEdge(nullptr, folder.filePath("other.conf")).loadRecentFiles().isEmpty());
}

}  // namespace
}  // namespace irview
