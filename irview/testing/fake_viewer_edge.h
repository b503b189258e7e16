// A ViewerEdge for the window tests: records every call, answers dialogs
// from a script, keeps written files and the recent-files list in memory,
// and can be told to fail writes.
#ifndef IRVIEW_TESTING_FAKE_VIEWER_EDGE_H_
#define IRVIEW_TESTING_FAKE_VIEWER_EDGE_H_

#include <QList>
#include <QMap>
#include <deque>

#include "irview/model/viewer_edge.h"

namespace irview::testing {

class FakeViewerEdge : public ViewerEdge {
 public:
  struct ExportDialog {
    ExportKind kind;
    QString suggestedName;
  };

  QList<ViewerMessage> messages;
  QList<ExportDialog> exportDialogs;
  int openDialogs = 0;
  QMap<QString, QByteArray> written;  // path -> bytes
  QStringList recent;                 // the stored list
  int recentStores = 0;
  QStringList recentDry;  // the stored list of dry signals
  int dryDialogs = 0;

  // Answers for the coming dialogs; a cancel when the script runs out.
  std::deque<QStringList> openChoices;
  std::deque<QString> exportChoices;
  std::deque<QString> dryChoices;
  // When not empty, every write fails with this reason.
  QString writeProblem;

  QStringList chooseFilesToOpen() override {
    ++openDialogs;
    if (openChoices.empty()) return {};
    QStringList choice = openChoices.front();
    openChoices.pop_front();
    return choice;
  }
  QString chooseDrySignal() override {
    ++dryDialogs;
    if (dryChoices.empty()) return {};
    QString choice = dryChoices.front();
    dryChoices.pop_front();
    return choice;
  }
  QString chooseExportFile(ExportKind kind, const QString& suggestedName) override {
    exportDialogs.append({kind, suggestedName});
    if (exportChoices.empty()) return {};
    QString choice = exportChoices.front();
    exportChoices.pop_front();
    return choice;
  }
  void showMessage(const ViewerMessage& message) override { messages.append(message); }
  QString writeFile(const QString& path, const QByteArray& bytes) override {
    if (!writeProblem.isEmpty()) return writeProblem;
    written[path] = bytes;
    return {};
  }
  QStringList loadRecentFiles() override { return recent; }
  void storeRecentFiles(const QStringList& files) override {
    recent = files;
    ++recentStores;
  }
  QStringList loadRecentDrySignals() override { return recentDry; }
  void storeRecentDrySignals(const QStringList& files) override { recentDry = files; }
};

}  // namespace irview::testing

#endif  // IRVIEW_TESTING_FAKE_VIEWER_EDGE_H_
