#include "irinfo/room/room_report.h"

#include <cstdio>

#include "irinfo/records.h"
#include "irinfo/text_report.h"

namespace irinfo {
namespace {

constexpr int kColumn = 7;

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, args...);
  return text;
}

std::string cell(const analysis::ParameterValue& v) {
  return format("%*s", kColumn, v.value ? format("%.2f", *v.value).c_str() : "-");
}

}  // namespace

std::string speech_text(std::size_t channel, const analysis::SpeechIndex& speech) {
  std::string out = "\n" + format("  %-10s", ("speech " + std::to_string(channel)).c_str());
  if (!speech.sti.value) {
    return out + "STI -: " + speech.sti.missing + "\n";
  }
  std::string labels, values;
  for (const analysis::SpeechBand& b : speech.bands) {
    labels += format("%*s", kColumn, analysis::band_label(b.band).c_str());
    values += format("%*.2f", kColumn, b.mti);
  }
  out += labels + "\n  MTI       " + values + "\n";
  out += format("  STI         %.2f (category %s), ", *speech.sti.value, speech.category.c_str());
  out += speech.conditions
             ? conditions_text(speech.conditions) + ", with auditory masking and reception threshold"
             : std::string("reverberation only: no speech level and background noise given, so "
                           "no noise, masking or reception threshold");
  return out + "\n";
}

std::string binaural_text(const PairRecords& pair) {
  const analysis::BinauralAnalysis& a = pair.analysis;
  std::string out = "\nbinaural pair: left " + printable(pair.left_file) +
                    (pair.left_file == pair.right_file ? " channel 1, right channel 2"
                                                       : ", right " + printable(pair.right_file)) +
                    "\n";
  if (a.results.empty()) return out + "  IACC -: " + a.problem + "\n";
  out += format("  from the onset at %.1f ms (the earlier ear) to %.1f ms\n", *a.onset_s * 1000,
                a.end_s * 1000);
  out += format("  %-10s", "IACC");
  for (const analysis::BandIacc& r : a.results)
    out += format("%*s", kColumn, r.band ? analysis::band_label(*r.band).c_str() : "all");
  out += "\n";
  const struct {
    const char* label;
    analysis::ParameterValue analysis::IaccValues::*value;
  } rows[] = {{"IACC_E", &analysis::IaccValues::early},
              {"IACC_L", &analysis::IaccValues::late},
              {"IACC_A", &analysis::IaccValues::all}};
  for (const auto& row : rows) {
    out += format("  %-10s", row.label);
    for (const analysis::BandIacc& r : a.results) out += cell(r.values.*row.value);
    out += "\n";
  }
  if (a.one_minus_iacc_e3.value) {
    out += format("  1 - IACC_E3 %.2f (500 Hz .. 2 kHz: IACC_E3 %.2f", *a.one_minus_iacc_e3.value,
                  *a.iacc_e3.value);
    if (a.iacc_l3.value) out += format(", IACC_L3 %.2f", *a.iacc_l3.value);
    if (a.iacc_a3.value) out += format(", IACC_A3 %.2f", *a.iacc_a3.value);
    out += ")\n";
  } else {
    out += "  1 - IACC_E3 -: " + a.one_minus_iacc_e3.missing + "\n";
  }
  for (const analysis::BandIacc& r : a.results) {
    const std::string band = r.band ? number_text(r.band->nominal_hz) + " Hz" : "all";
    for (const auto& row : rows) {
      const analysis::ParameterValue& v = r.values.*row.value;
      if (!v.value) out += format("  %-8s", band.c_str()) + row.label + ": " + v.missing + "\n";
    }
  }
  return out;
}

}  // namespace irinfo
