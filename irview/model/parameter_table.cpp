#include "irview/model/parameter_table.h"

#include <algorithm>
#include <charconv>
#include <map>
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

// The columns past the bands': the broadband response's, the mid values'.
constexpr int kBroadbandColumn = -1;
constexpr int kMidColumn = -2;

// The column of a result: its band's index, or the broadband column.
int columnOf(const analysis::BandAnalysis& result) {
  return result.band ? result.band->index : kBroadbandColumn;
}

// The broadband response's heading: its span ("22-11k") when every trace's
// has the same, "broadband" when they differ.
QString broadbandHeading(const std::vector<Trace>& traces) {
  QString heading;
  for (const Trace& trace : traces) {
    const analysis::ChannelAnalysis* channel = trace.channelAnalysis();
    if (!channel || channel->results.empty()) continue;
    const analysis::BandAnalysis& result = channel->broadband();
    const QString label = result.span ? QString::fromStdString(analysis::span_label(*result.span))
                                      : QStringLiteral("all");
    if (!heading.isEmpty() && heading != label) return QStringLiteral("broadband");
    heading = label;
  }
  return heading.isEmpty() ? QStringLiteral("broadband") : heading;
}

// The parameters of a trace's column; nullptr where it has none.
const analysis::ParameterSet* columnParameters(const analysis::ChannelAnalysis& channel,
                                               int column) {
  if (column == kMidColumn) return &channel.mid;
  for (const analysis::BandAnalysis& r : channel.results)
    if (columnOf(r) == column) return &r.parameters;
  return nullptr;
}

// The reasons of one column's missing values, the parameters of one reason
// together, in the order of their first parameter.
QStringList bandNotes(const QString& trace, const QString& band,
                      const analysis::ParameterSet& parameters, bool mid) {
  QStringList reasons;
  QList<QStringList> labels;
  for (const analysis::Parameter parameter : analysis::kParameters) {
    const analysis::ParameterValue& value = parameters[parameter];
    if (value.value || (mid && !analysis::has_single_number(parameter))) continue;
    const QString reason = QString::fromStdString(value.missing);
    qsizetype at = reasons.indexOf(reason);
    if (at < 0) {
      reasons.append(reason);
      labels.append(QStringList());
      at = reasons.size() - 1;
    }
    labels[at].append(fromView(analysis::parameter_label(parameter)));
  }
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
  std::map<int, analysis::OctaveBand> bands;
  for (const Trace& trace : traces)
    if (const analysis::ChannelAnalysis* channel = trace.channelAnalysis())
      for (const analysis::BandAnalysis& result : channel->results)
        if (result.band) {
          columns.push_back(result.band->index);
          bands[result.band->index] = *result.band;
        }
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
  columns.push_back(kBroadbandColumn);
  columns.push_back(kMidColumn);

  ParameterTable table;
  const QString broadband = broadbandHeading(traces);
  for (const int column : columns)
    table.headings.append(column == kBroadbandColumn ? broadband
                          : column == kMidColumn
                              ? QStringLiteral("mid")
                              : QString::fromStdString(analysis::band_label(bands[column])));
  for (const Trace& trace : traces) {
    const analysis::ChannelAnalysis* channel = trace.channelAnalysis();
    if (!channel) continue;
    for (const analysis::Parameter parameter : analysis::kParameters) {
      TableRow row{trace.label, parameter, {}};
      for (const int column : columns) {
        const analysis::ParameterSet* parameters = columnParameters(*channel, column);
        if (!parameters || (column == kMidColumn && !analysis::has_single_number(parameter))) {
          row.cells.append(TableCell{});
          continue;
        }
        const analysis::ParameterValue& value = (*parameters)[parameter];
        row.cells.append(value.value
                             ? TableCell{valueText(parameter, *value.value), QString()}
                             : TableCell{kMissingText, QString::fromStdString(value.missing)});
      }
      table.rows.append(row);
    }
    for (const analysis::BandAnalysis& result : channel->results) {
      const QString band =
          result.band ? QString::fromStdString(irinfo::number_text(result.band->nominal_hz)) +
                            QStringLiteral(" Hz")
          : result.span ? QStringLiteral("broadband %1")
                              .arg(QString::fromStdString(analysis::span_text(*result.span)))
                        : QStringLiteral("all");
      table.notes.append(bandNotes(trace.label, band, result.parameters, false));
    }
    table.notes.append(bandNotes(trace.label, QStringLiteral("mid"), channel->mid, true));
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
