#include "irview/model/parameter_table.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "analysis/dsp/octave_bands.h"
#include "irinfo/records.h"
#include "irinfo/text_report.h"

namespace irview {

namespace {

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int decimals(analysis::Parameter parameter) {
  switch (parameter) {
    case analysis::Parameter::kEdt:
    case analysis::Parameter::kT20:
    case analysis::Parameter::kT30:
    case analysis::Parameter::kD50:
      return 2;
    case analysis::Parameter::kTs:
      return 0;
    case analysis::Parameter::kC50:
    case analysis::Parameter::kC80:
    case analysis::Parameter::kPnr:
      return 1;
  }
  return 2;
}

// The column of a result: its band's index, -1 for the unfiltered.
int columnOf(const analysis::BandAnalysis& result) { return result.band ? result.band->index : -1; }

// The reasons of one band's missing values, the parameters of one reason
// together, in the order of their first parameter.
QStringList bandNotes(const QString& trace, const analysis::BandAnalysis& result) {
  QStringList reasons;
  QList<QStringList> labels;
  for (const analysis::Parameter parameter : analysis::kParameters) {
    const analysis::ParameterValue& value = result.parameters[parameter];
    if (value.value) continue;
    const QString reason = QString::fromStdString(value.missing);
    qsizetype at = reasons.indexOf(reason);
    if (at < 0) {
      reasons.append(reason);
      labels.append(QStringList());
      at = reasons.size() - 1;
    }
    labels[at].append(fromView(analysis::parameter_label(parameter)));
  }
  const QString band = result.band
                           ? QString::fromStdString(irinfo::number_text(result.band->nominal_hz)) +
                                 QStringLiteral(" Hz")
                           : QStringLiteral("all");
  QStringList notes;
  for (qsizetype r = 0; r < reasons.size(); ++r)
    notes.append(QStringLiteral("%1, %2: %3: %4")
                     .arg(trace, band, labels[r].join(QStringLiteral(", ")), reasons[r]));
  return notes;
}

}  // namespace

QString rowHeading(analysis::Parameter parameter) {
  const QString label = fromView(analysis::parameter_label(parameter));
  const QString unit = fromView(analysis::parameter_unit(parameter));
  return unit.isEmpty() ? label : QStringLiteral("%1 (%2)").arg(label, unit);
}

QString valueText(analysis::Parameter parameter, double value) {
  // As printf's "%.*f" in the C locale, which irinfo prints with.
  char text[64];
  const auto end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals(parameter));
  return QString::fromLatin1(text, end.ptr - text);
}

ParameterTable parameterTable(const std::vector<Trace>& traces) {
  std::vector<int> columns;
  for (const Trace& trace : traces)
    if (const analysis::ChannelAnalysis* channel = trace.channelAnalysis())
      for (const analysis::BandAnalysis& result : channel->results)
        if (result.band) columns.push_back(result.band->index);
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
  columns.push_back(-1);

  ParameterTable table;
  for (const int column : columns)
    table.headings.append(column < 0 ? QStringLiteral("all")
                                     : QString::fromStdString(
                                           analysis::band_label(analysis::octave_bands()[column])));
  for (const Trace& trace : traces) {
    const analysis::ChannelAnalysis* channel = trace.channelAnalysis();
    if (!channel) continue;
    for (const analysis::Parameter parameter : analysis::kParameters) {
      TableRow row{trace.label, parameter, {}};
      for (const int column : columns) {
        const auto result = std::find_if(
            channel->results.begin(), channel->results.end(),
            [column](const analysis::BandAnalysis& r) { return columnOf(r) == column; });
        if (result == channel->results.end()) {
          row.cells.append(TableCell{});
          continue;
        }
        const analysis::ParameterValue& value = result->parameters[parameter];
        row.cells.append(value.value
                             ? TableCell{valueText(parameter, *value.value), QString()}
                             : TableCell{kMissingText, QString::fromStdString(value.missing)});
      }
      table.rows.append(row);
    }
    for (const analysis::BandAnalysis& result : channel->results)
      table.notes.append(bandNotes(trace.label, result));
  }
  return table;
}

QString factsText(const ViewedFile& file) {
  if (!file.response) return QString();
  return QString::fromStdString(irinfo::facts_text(file.path.toStdString(), *file.response));
}

QByteArray csvText(const std::vector<ViewedFile>& files) {
  std::string text = irinfo::csv_header();
  for (const ViewedFile& file : files)
    if (file.analysis)
      text += irinfo::csv_records(file.path.toStdString(), file.analysis->channels);
  return QByteArray::fromStdString(text);
}

}  // namespace irview
