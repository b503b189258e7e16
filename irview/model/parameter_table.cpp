#include "irview/model/parameter_table.h"

#include <algorithm>

#include "analysis/dsp/octave_bands.h"

namespace irview {

namespace {

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Decimals of each parameter in the table: 2 for times in s and for D50,
// 1 for levels in dB, 0 for Ts in ms.
int decimals(analysis::Parameter parameter) {
  switch (parameter) {
    case analysis::Parameter::kEdt:
    case analysis::Parameter::kT20:
    case analysis::Parameter::kT30:
    case analysis::Parameter::kD50:
      return 2;
    case analysis::Parameter::kC50:
    case analysis::Parameter::kC80:
    case analysis::Parameter::kPnr:
      return 1;
    case analysis::Parameter::kTs:
      return 0;
  }
  return 2;
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
QString csvField(const QString& text) {
  if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
      !text.contains(u'\r'))
    return text;
  QString quoted = text;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return u'"' + quoted + u'"';
}

QString bandHz(const analysis::BandAnalysis& result) {
  return result.band ? QString::number(result.band->nominal_hz, 'g', 6) : QString();
}

}  // namespace

QString columnHeading(const std::optional<analysis::OctaveBand>& band) {
  return band ? QString::fromStdString(analysis::band_label(*band)) : QStringLiteral("unfiltered");
}

QString rowHeading(analysis::Parameter parameter) {
  const QString label = fromView(analysis::parameter_label(parameter));
  const QString unit = fromView(analysis::parameter_unit(parameter));
  return unit.isEmpty() ? label : QStringLiteral("%1 (%2)").arg(label, unit);
}

QString valueText(analysis::Parameter parameter, double value) {
  return QString::number(value, 'f', decimals(parameter));
}

TableCell tableCell(analysis::Parameter parameter, const analysis::ParameterValue& value) {
  if (value.value) return {valueText(parameter, *value.value), QString()};
  return {kMissingText, QString::fromStdString(value.missing)};
}

ParameterTable parameterTable(const std::vector<Trace>& traces) {
  // Columns: every band index found, in order, then the unfiltered (-1 here).
  std::vector<int> columns;
  for (const Trace& trace : traces)
    if (const analysis::ChannelAnalysis* channel = trace.channelAnalysis())
      for (const analysis::BandAnalysis& result : channel->results)
        if (result.band && std::find(columns.begin(), columns.end(), result.band->index) ==
                               columns.end())
          columns.push_back(result.band->index);
  std::sort(columns.begin(), columns.end());
  columns.push_back(-1);

  ParameterTable table;
  for (const int column : columns)
    table.headings.append(column < 0 ? columnHeading(std::nullopt)
                                     : columnHeading(analysis::octave_bands()[column]));
  for (const Trace& trace : traces) {
    const analysis::ChannelAnalysis* channel = trace.channelAnalysis();
    if (!channel) continue;
    // The reasons in the order they first occur, each with where it applies.
    QStringList reasons;
    QList<QStringList> places;
    for (const analysis::Parameter parameter : analysis::kParameters) {
      TableRow row{trace.label, parameter, {}};
      for (std::size_t c = 0; c < columns.size(); ++c) {
        const int band = columns[c];
        const auto result = std::find_if(
            channel->results.begin(), channel->results.end(), [band](const analysis::BandAnalysis& r) {
              return r.band ? r.band->index == band : band < 0;
            });
        if (result == channel->results.end()) {
          row.cells.append(TableCell{});
          continue;
        }
        const TableCell cell = tableCell(parameter, result->parameters[parameter]);
        row.cells.append(cell);
        if (cell.missing.isEmpty()) continue;
        qsizetype at = reasons.indexOf(cell.missing);
        if (at < 0) {
          reasons.append(cell.missing);
          places.append(QStringList{});
          at = reasons.size() - 1;
        }
        places[at].append(QStringLiteral("%1 at %2")
                              .arg(fromView(analysis::parameter_label(parameter)),
                                   table.headings[static_cast<qsizetype>(c)]));
      }
      table.rows.append(row);
    }
    for (qsizetype r = 0; r < reasons.size(); ++r)
      table.notes.append(QStringLiteral("%1: %2: %3")
                             .arg(trace.label, places[r].join(QStringLiteral(", ")), reasons[r]));
  }
  return table;
}

QByteArray csvText(const std::vector<Trace>& traces) {
  QStringList heading = {QStringLiteral("file"), QStringLiteral("channel"),
                         QStringLiteral("band_hz")};
  for (const analysis::Parameter parameter : analysis::kParameters)
    heading.append(fromView(analysis::parameter_key(parameter)));
  heading.append(QStringLiteral("missing"));
  QString text = heading.join(u',') + u'\n';
  for (const Trace& trace : traces) {
    const analysis::ChannelAnalysis* channel = trace.channelAnalysis();
    if (!channel) continue;
    for (const analysis::BandAnalysis& result : channel->results) {
      QStringList fields = {csvField(trace.path), QString::number(trace.channel + 1),
                            bandHz(result)};
      QStringList missing;
      for (const analysis::Parameter parameter : analysis::kParameters) {
        const analysis::ParameterValue& value = result.parameters[parameter];
        fields.append(value.value ? QString::number(*value.value, 'g', 6) : QString());
        if (!value.value)
          missing.append(QStringLiteral("%1: %2").arg(fromView(analysis::parameter_key(parameter)),
                                                      QString::fromStdString(value.missing)));
      }
      fields.append(csvField(missing.join(QStringLiteral("; "))));
      text += fields.join(u',') + u'\n';
    }
  }
  return text.toUtf8();
}

}  // namespace irview
