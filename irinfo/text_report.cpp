#include "irinfo/text_report.h"

#include <cstdio>
#include <algorithm>

#include "irinfo/records.h"

namespace irinfo {
namespace {

using analysis::BandAnalysis;
using analysis::Parameter;

constexpr int kColumn = 7;

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, args...);
  return text;
}

std::string column_label(const BandAnalysis& r) {
  if (r.band) return analysis::band_label(*r.band);
  return r.span ? analysis::span_label(*r.span) : "all";
}

// A column of the table: a band's, the broadband response's or the mid
// values.
struct Column {
  std::string label;  // the heading
  std::string name;   // in front of its reasons
  const analysis::ParameterSet* parameters;
  bool mid = false;
};

std::vector<Column> columns_of(const analysis::ChannelAnalysis& channel) {
  std::vector<Column> out;
  for (const BandAnalysis& r : channel.results) {
    const std::string name = r.band ? number_text(r.band->nominal_hz) + " Hz" : column_label(r);
    out.push_back({column_label(r), name, &r.parameters});
  }
  out.push_back({"mid", "mid", &channel.mid, true});
  return out;
}

// Each parameter with the decimals its size calls for.
std::string value_text(Parameter p, double v) {
  switch (p) {
    case Parameter::kEdt:
    case Parameter::kT20:
    case Parameter::kT30:
    case Parameter::kD50:
      return format("%.2f", v);
    case Parameter::kTs:
      return format("%.0f", v);
    default:
      return format("%.1f", v);
  }
}

std::string line(std::string_view label, const std::string& value) {
  return format("  %-14s", std::string(label).c_str()) + value + "\n";
}

}  // namespace

std::string printable(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) c = '?';
  }
  return out;
}

std::string facts_text(std::string_view name, const analysis::ResponseFile& file) {
  const std::size_t channels = file.channels.size();
  std::string out = printable(name) + "\n";
  out += line("format", file.format + ", " + std::to_string(channels) +
                            (channels == 1 ? " channel" : " channels"));
  std::string rate = number_text(file.sample_rate_hz) + " Hz";
  if (file.tim) rate += " (sample interval " + number_text(file.tim->sample_interval_ms) + " ms)";
  out += line("sampling rate", rate);
  out += line("points", std::to_string(file.points()));
  out += line("duration", format("%.4f s", file.duration_s()));
  const analysis::Peak peak = analysis::find_peak(file);
  out += line("peak", number_text(peak.value) + format(" at %.3f ms", peak.time_s * 1000) +
                          (channels > 1 ? ", channel " + std::to_string(peak.channel + 1) : ""));
  if (file.tim) {
    if (file.tim->has_trailer) {
      out += line("date stamp", printable(file.tim->timestamp));
      out += line("source name", printable(file.tim->source_name));
      out += line("level factor", number_text(file.tim->level_factor));
    } else {
      out += line("trailer", "none (the file ends behind its samples)");
    }
  }
  return out;
}

std::string channel_table(std::size_t channel, const analysis::ChannelAnalysis& analysis) {
  const std::vector<Column> columns = columns_of(analysis);
  std::string out = format("  %-10s", ("channel " + std::to_string(channel)).c_str());
  for (const Column& c : columns) out += format("%*s", kColumn, c.label.c_str());
  out += "\n";
  for (Parameter p : analysis::kParameters) {
    out += format("  %-4s%-6s", std::string(analysis::parameter_label(p)).c_str(),
                  std::string(analysis::parameter_unit(p)).c_str());
    for (const Column& c : columns) {
      const analysis::ParameterValue& v = (*c.parameters)[p];
      const char* empty = c.mid && !analysis::has_single_number(p) ? "" : "-";
      out += format("%*s", kColumn, v.value ? value_text(p, *v.value).c_str() : empty);
    }
    out += "\n";
  }
  for (const Column& c : columns) {
    // The parameters of one reason, in their order, the reasons in order of
    // their first parameter.
    std::vector<std::pair<std::string, std::string>> reasons;
    for (Parameter p : analysis::kParameters) {
      const analysis::ParameterValue& v = (*c.parameters)[p];
      if (v.value || (c.mid && !analysis::has_single_number(p))) continue;
      auto it = std::find_if(reasons.begin(), reasons.end(),
                             [&](const auto& e) { return e.second == v.missing; });
      const std::string label(analysis::parameter_label(p));
      if (it == reasons.end()) {
        reasons.emplace_back(label, v.missing);
      } else {
        it->first += ", " + label;
      }
    }
    for (const auto& [labels, reason] : reasons) {
      out += format("  %-8s", c.name.c_str()) + labels + ": " + reason + "\n";
    }
  }
  const BandAnalysis& broadband = analysis.broadband();
  out += "  " + column_label(broadband) + ": " +
         (broadband.span ? "broadband, " + analysis::span_text(*broadband.span)
                         : std::string("the unfiltered response")) +
         "; mid: the mean of 500 Hz and 1 kHz\n";
  return out;
}

}  // namespace irinfo
