// The filter editor window "equal" ("Octave Band Equalizer"): ten band
// sliders and fields over the response graph, the two limit fields, the
// filter file name with its "Browse..." button, and "OK - save" and
// "Cancel - don't save". The bands and limits live in a BandModel; every
// handler applies one of its operations and shows the result. Files go
// through filter_file_io.h, dialogs, messages and the beep through Desktop.
//
// The editor edits FilterFileName, owned by the main window, in place:
// typing in Textfiltname, a successful "Browse..." or "OK - save" set it,
// "Cancel - don't save" empties it, the close box leaves it.
#ifndef FRONTEND_FILTER_EDITOR_FILTER_EDITOR_H_
#define FRONTEND_FILTER_EDITOR_FILTER_EDITOR_H_

#include <QString>
#include <QWidget>
#include <array>

#include "frontend/desktop/desktop.h"
#include "frontend/filter_editor/band_model.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace frontend {

class ResponseGraph;

class FilterEditor : public QWidget {
  Q_OBJECT

 public:
  // Builds the window and runs the opening sequence: the bands of the file
  // named by `filterFileName` when it is not empty (a message when it cannot
  // be read, and the standard bands instead), otherwise the standard bands
  // at 0 dB. The window docks to the right edge of `mainWindow` when shown,
  // closes when `mainWindow` closes, and carries a change between minimised
  // and normal over to it. `mainWindow` is its parent, so it lives no longer.
  FilterEditor(Desktop& desktop, QString& filterFileName, QWidget* mainWindow);

  const BandModel& model() const { return model_; }

 public slots:
  // Enter in Text1(band): the field's number, clamped into the limits.
  void applyBand(int band);
  // Enter in Topp or Bottom, or the field left after an edit. A limit that
  // would not keep TopLimit above BottomLimit is refused with a beep and the
  // field shows the limit in force again.
  void applyTopLimit();
  void applyBottomLimit();
  // VScroll1(band) moved by the user.
  void moveSlider(int band);
  // Commbrowse: open dialog, then the chosen file is loaded. A file that
  // cannot be loaded changes nothing, FilterFileName included.
  void browse();
  // Command3D2: save dialog, the bands written, the editor closed. A failed
  // write keeps the editor open and FilterFileName as before.
  void save();
  // Command3D1: FilterFileName emptied, the editor closed, nothing written.
  void cancel();
  // Docks the window before it first shows: its frame's top level with the
  // main window's frame top, its frame's left edge at the main window's
  // frame right edge.
  void setVisible(bool visible) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void connectControls();
  QRect twips(int left, int top, int width, int height) const;
  // LoadFilterFile: false (after the message) when the file cannot be read.
  bool loadFilterFile();
  void showLimits();
  // A limit applied: the sliders of `moved` placed anew, or the beep when
  // the model refused it; both limit fields show the limits in force.
  void showLimitResult(const std::optional<BandSet>& moved);
  // Sliders and graph from the model; the fields of `moved` rewritten.
  void showPositions(BandSet moved);
  FileDialogRequest dialogRequest(FileDialogKind kind) const;

  Desktop& desktop_;
  QString& filterFileName_;
  BandModel model_;
  bool placed_ = false;

  std::array<QLabel*, kBandCount> Label1{};
  std::array<QLineEdit*, kBandCount> Text1{};
  std::array<QScrollBar*, kBandCount> VScroll1{};
  ResponseGraph* Picture1 = nullptr;
  QLineEdit* Topp = nullptr;
  QLineEdit* Bottom = nullptr;
  QGroupBox* Frame3D1 = nullptr;
  QLineEdit* Textfiltname = nullptr;
  QPushButton* Commbrowse = nullptr;
  QPushButton* Command3D2 = nullptr;
  QPushButton* Command3D1 = nullptr;
};

// Shows the editor modally beside `mainWindow` and returns when it has
// closed (or `mainWindow` has gone).
void runFilterEditor(Desktop& desktop, QString& filterFileName, QWidget* mainWindow);

}  // namespace frontend

#endif  // FRONTEND_FILTER_EDITOR_FILTER_EDITOR_H_
