// irinfo's report of the viewed files, as the viewer shows and exports it:
// the table of each analysed channel (a column per octave band analysed,
// one for the broadband response, headed with its span, and one, "mid",
// for the single-number values; a row per parameter; a value
// in irinfo's notation, or "-" and the reason it is missing), the reasons
// one line per band as irinfo prints them, each file's facts, and the
// records of irinfo --csv. The facts and the CSV records are irinfo's own
// (irinfo/text_report.h, irinfo/records.h).
#ifndef IRVIEW_MODEL_PARAMETER_TABLE_H_
#define IRVIEW_MODEL_PARAMETER_TABLE_H_

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
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
// analysed in, lowest first, then the broadband response ("22-11k", its
// span, or "broadband" when the traces' spans differ) and "mid" (empty
// for C50 and PNR, which have no single number); each analysed trace gives one row
// per parameter, in the order of analysis::kParameters. A band a trace was
// not analysed in (above its sampling rate's bands) is an empty cell.
struct TableRow {
  QString trace;  // the trace's label
  analysis::Parameter parameter = analysis::Parameter::kEdt;
  QList<TableCell> cells;  // one per heading
};
struct ParameterTable {
  QStringList headings;  // "31.5" .. "16k", then "22-11k" and "mid"
  QList<TableRow> rows;
  // Why values are missing, as irinfo says it below a channel's table:
  // per band, the parameters of one reason together
  // ("hall.wav L, 16000 Hz: T20, T30: <reason>").
  QStringList notes;
};

// "T30 (s)", "D50", ...: a row's heading.
QString rowHeading(analysis::Parameter parameter);
// A value in irinfo's notation: 2 decimals for the decay times and D50, 0
// for Ts, 1 for the levels in dB; "." whatever the locale.
QString valueText(analysis::Parameter parameter, double value);

// The table of the traces whose analysis has arrived; the others are left
// out.
ParameterTable parameterTable(const std::vector<Trace>& traces);

// irinfo's facts of a read file (several lines, each ending in LF).
QString factsText(const ViewedFile& file);

// What irinfo --csv prints for the analysed files: its heading line, then
// the records of each file, channel and band; lines end in LF.
QByteArray csvText(const std::vector<ViewedFile>& files);

}  // namespace irview

#endif  // IRVIEW_MODEL_PARAMETER_TABLE_H_
