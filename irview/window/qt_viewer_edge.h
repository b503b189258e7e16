// The real viewer edge on Qt: Qt's file dialogs, message boxes, files
// written through QSaveFile (a temporary file renamed into place), and the
// recent-files list in the program's own settings: QSettings of
// organisation and application "irview", on Linux
// ~/.config/irview/irview.conf, keys recentFiles and recentDrySignals.
#ifndef IRVIEW_WINDOW_QT_VIEWER_EDGE_H_
#define IRVIEW_WINDOW_QT_VIEWER_EDGE_H_

#include <QString>

#include "irview/model/viewer_edge.h"

class QWidget;

namespace irview {

class QtViewerEdge : public ViewerEdge {
 public:
  // Dialogs and boxes are parented to `parent` (the window, once made).
  // `settingsFile` empty: the program's settings; otherwise that INI file
  // (for tests).
  explicit QtViewerEdge(QWidget* parent = nullptr, QString settingsFile = {});
  void setParentWidget(QWidget* parent) { parent_ = parent; }

  QStringList chooseFilesToOpen() override;
  QString chooseDrySignal() override;
  QString chooseExportFile(ExportKind kind, const QString& suggestedName) override;
  void showMessage(const ViewerMessage& message) override;
  QString writeFile(const QString& path, const QByteArray& bytes) override;
  QStringList loadRecentFiles() override;
  void storeRecentFiles(const QStringList& files) override;
  QStringList loadRecentDrySignals() override;
  void storeRecentDrySignals(const QStringList& files) override;

 private:
  QWidget* parent_;
  QString settingsFile_;
  // Where the next dialog opens: the folder of the last file chosen.
  QString lastFolder_;
};

}  // namespace irview

#endif  // IRVIEW_WINDOW_QT_VIEWER_EDGE_H_
