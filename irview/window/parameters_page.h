// The "Parameters" page: irinfo's table of every analysed trace (a cell of
// a missing value shows its reason as a tool tip), and below it the facts
// of each file, the reasons of the missing values, each channel's speech
// transmission index with its modulation transfer matrix and, for files
// taken as binaural, each pair's interaural cross-correlation
// (irview/model/room_text.h).
#ifndef IRVIEW_WINDOW_PARAMETERS_PAGE_H_
#define IRVIEW_WINDOW_PARAMETERS_PAGE_H_

#include <QHash>
#include <QSplitter>
#include <vector>

#include "analysis/spatial/iacc.h"

#include "irview/model/viewed_file.h"

class QPlainTextEdit;
class QTableWidget;

namespace irview {

class ParametersPage : public QSplitter {
  Q_OBJECT

 public:
  explicit ParametersPage(QWidget* parent = nullptr);

  // Shows the table of `traces` and the facts of `files`.
  void showTraces(const std::vector<ViewedFile>& files, const std::vector<Trace>& traces);

  // Whether the files are the ears of binaural pairs; shown from the next
  // showTraces() on.
  void setBinaural(bool binaural) { binaural_ = binaural; }
  bool binaural() const { return binaural_; }

  QTableWidget* table() const { return table_; }
  QPlainTextEdit* details() const { return details_; }

 private:
  QTableWidget* table_;
  QPlainTextEdit* details_;
  bool binaural_ = false;
  QHash<QString, analysis::BinauralAnalysis> pairs_;  // computed pairs, by their files' jobs
};

}  // namespace irview

#endif  // IRVIEW_WINDOW_PARAMETERS_PAGE_H_
