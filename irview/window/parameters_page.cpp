#include "irview/window/parameters_page.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <algorithm>

#include "irview/model/parameter_table.h"
#include "irview/model/room_text.h"

namespace irview {

ParametersPage::ParametersPage(QWidget* parent)
    : QSplitter(Qt::Vertical, parent), table_(new QTableWidget), details_(new QPlainTextEdit) {
  setObjectName(QStringLiteral("parametersPage"));
  table_->setObjectName(QStringLiteral("parameterTable"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  details_->setObjectName(QStringLiteral("parameterDetails"));
  details_->setReadOnly(true);
  details_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  addWidget(table_);
  addWidget(details_);
  setStretchFactor(0, 3);
  setStretchFactor(1, 1);
}

void ParametersPage::showTraces(const std::vector<ViewedFile>& files,
                                const std::vector<Trace>& traces) {
  const ParameterTable parameters = parameterTable(traces);
  table_->clear();
  table_->clearSpans();
  table_->setRowCount(static_cast<int>(parameters.rows.size()));
  table_->setColumnCount(static_cast<int>(parameters.headings.size()) + 2);
  table_->setHorizontalHeaderLabels(QStringList{QStringLiteral("trace"), QStringLiteral("")} +
                                    parameters.headings);
  for (int r = 0; r < parameters.rows.size(); ++r) {
    const TableRow& row = parameters.rows[r];
    // A trace's label once, over its rows.
    if (r % analysis::kParameterCount == 0) {
      table_->setItem(r, 0, new QTableWidgetItem(row.trace));
      table_->setSpan(r, 0, static_cast<int>(analysis::kParameterCount), 1);
    }
    table_->setItem(r, 1, new QTableWidgetItem(rowHeading(row.parameter)));
    for (int c = 0; c < row.cells.size(); ++c) {
      auto* item = new QTableWidgetItem(row.cells[c].text);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (!row.cells[c].missing.isEmpty()) item->setToolTip(row.cells[c].missing);
      table_->setItem(r, c + 2, item);
    }
  }
  table_->resizeColumnsToContents();
  // The traces' labels span their rows, which the fitting above leaves out.
  int labelWidth = table_->columnWidth(0);
  for (const TableRow& row : parameters.rows)
    labelWidth = std::max(labelWidth, table_->fontMetrics().horizontalAdvance(row.trace) + 16);
  table_->setColumnWidth(0, labelWidth);

  QString text;
  for (const ViewedFile& file : files) {
    text += factsText(file);
    if (file.stage == ViewedFile::Stage::Stopped) text += QStringLiteral("  analysis stopped\n");
  }
  if (!parameters.notes.isEmpty())
    text += QStringLiteral("\nMissing values:\n") + parameters.notes.join(u'\n') + u'\n';
  text += roomText(files, binaural_, pairs_);
  details_->setPlainText(text);
}

}  // namespace irview
