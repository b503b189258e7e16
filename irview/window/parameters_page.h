// The "Parameters" page: irinfo's table of every analysed trace (a cell of
// a missing value shows its reason as a tool tip), and below it the facts
// of each file and the reasons of the missing values.
#ifndef IRVIEW_WINDOW_PARAMETERS_PAGE_H_
#define IRVIEW_WINDOW_PARAMETERS_PAGE_H_

#include <QSplitter>
#include <vector>

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

  QTableWidget* table() const { return table_; }
  QPlainTextEdit* details() const { return details_; }

 private:
  QTableWidget* table_;
  QPlainTextEdit* details_;
};

}  // namespace irview

#endif  // IRVIEW_WINDOW_PARAMETERS_PAGE_H_
