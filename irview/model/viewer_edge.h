// The viewer's edge: every side effect of its window beyond its own widgets
// (file dialogs, message boxes, writing the exported files, the stored list
// of recent files) goes through this one interface, so that the window
// tests replace it with a recording fake (irview/testing/fake_viewer_edge.h).
// The real one is irview/window/qt_viewer_edge.h. Reading the responses is
// the analysis library's (irview/model/analysis_runner.h).
#ifndef IRVIEW_MODEL_VIEWER_EDGE_H_
#define IRVIEW_MODEL_VIEWER_EDGE_H_

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace irview {

struct ViewerMessage {
  enum class Icon { Information, Warning };
  QString title;
  QString text;
  Icon icon = Icon::Warning;

  friend bool operator==(const ViewerMessage&, const ViewerMessage&) = default;
};

// What a save dialog is for: the name filter and the suffix it offers.
enum class ExportKind { Png, Svg, Csv, Audio };  // Audio: .wav or .flac

class ViewerEdge {
 public:
  virtual ~ViewerEdge() = default;

  // A modal dialog for one or more response files; empty when cancelled.
  virtual QStringList chooseFilesToOpen() = 0;
  // A modal dialog for one audio file, the Listen panel's dry signal;
  // empty when cancelled.
  virtual QString chooseDrySignal() = 0;
  // A modal save dialog for an export, `suggestedName` filled in; the path
  // chosen (it asks before replacing a file), or empty when cancelled.
  virtual QString chooseExportFile(ExportKind kind, const QString& suggestedName) = 0;
  // A modal message box with an OK button.
  virtual void showMessage(const ViewerMessage& message) = 0;
  // Writes `bytes` to `path` all or nothing: a failed write leaves any file
  // there as it was. Returns an empty text, or the reason it failed.
  virtual QString writeFile(const QString& path, const QByteArray& bytes) = 0;

  // The recent-files list as last stored (most recent first), and storing a
  // new one; it outlives the program.
  virtual QStringList loadRecentFiles() = 0;
  virtual void storeRecentFiles(const QStringList& files) = 0;
  // The same for the dry signals of the Listen panel.
  virtual QStringList loadRecentDrySignals() = 0;
  virtual void storeRecentDrySignals(const QStringList& files) = 0;
};

}  // namespace irview

#endif  // IRVIEW_MODEL_VIEWER_EDGE_H_
