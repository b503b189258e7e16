// irinfo's parameter table of a channel, as the viewer shows and exports
// it: one column per octave band analysed and one for the unfiltered
// response, one row per parameter (EDT, T20, T30, C50, C80, D50, Ts, PNR),
// each cell a value in irinfo's notation or missing with its reason; and
// the CSV records irinfo --csv writes for the same channels.
#ifndef IRVIEW_MODEL_PARAMETER_TABLE_H_
#define IRVIEW_MODEL_PARAMETER_TABLE_H_

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "analysis/decay/parameters.h"
#include "irview/model/viewed_file.h"

namespace irview {

struct TableCell {
  QString text;     // the value, or kMissingText
  QString missing;  // the reason, exactly when the value is missing

  friend bool operator==(const TableCell&, const TableCell&) = default;
};

inline const QString kMissingText = QStringLiteral("-");

// The table of several traces: the columns are the bands any of them was
// analysed in, lowest first, then the unfiltered response; each analysed
// trace gives one row per parameter, in the order of analysis::kParameters.
// A band a trace was not analysed in (above its sampling rate's bands) is
// an empty cell with no reason.
struct TableRow {
  QString trace;  // the trace's label
  analysis::Parameter parameter = analysis::Parameter::kEdt;
  QList<TableCell> cells;  // one per heading
};
struct ParameterTable {
  QStringList headings;  // "31.5" .. "16k", then "unfiltered"
  QList<TableRow> rows;
  // The reasons of the missing values, one line per trace and reason:
  // "left.tim: T30 at 31.5, 63: <reason>".
  QStringList notes;
};

// The heading of a band's column, and of the unfiltered response's.
QString columnHeading(const std::optional<analysis::OctaveBand>& band);
// "T30 (s)", "D50", ...: a row's heading.
QString rowHeading(analysis::Parameter parameter);
// A value in irinfo's notation for the parameter.
QString valueText(analysis::Parameter parameter, double value);
TableCell tableCell(analysis::Parameter parameter, const analysis::ParameterValue& value);

// The table of the traces whose analysis has arrived; the others are left
// out.
ParameterTable parameterTable(const std::vector<Trace>& traces);

// The CSV of the analysed traces, as irinfo --csv prints for their files:
// a heading line, then one record per channel and band (the unfiltered
// response last), lines ending in LF.
QByteArray csvText(const std::vector<Trace>& traces);

}  // namespace irview

#endif  // IRVIEW_MODEL_PARAMETER_TABLE_H_
