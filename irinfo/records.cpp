#include "irinfo/records.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

#include "irinfo/room/room_records.h"

namespace irinfo {
namespace {

using analysis::BandAnalysis;
using analysis::ChannelAnalysis;
using analysis::Parameter;

std::string band_text(const BandAnalysis& r) {
  return r.band ? number_text(r.band->nominal_hz) : std::string();
}

// One record: a band's, the broadband response's or the mid values.
struct Record {
  std::string band_hz;  // empty but for a band
  const char* kind;
  std::optional<analysis::BandSpan> span;
  const analysis::ParameterSet* parameters;
  std::optional<analysis::OctaveBand> band;
};

// The speech index's fields of a record: the index on the broadband
// record, each band's MTI on its octave's; none on thirds and mid values.
std::vector<ExtraField> fields_of(const analysis::SpeechIndex* speech, const Record& r) {
  const bool octave = r.band && r.band->kind == analysis::BandKind::kOctave;
  const bool broadband = std::string_view(r.kind) == "broadband";
  return channel_fields(octave || broadband ? speech : nullptr, r.band);
}

std::vector<Record> records_of(const ChannelAnalysis& channel) {
  std::vector<Record> out;
  for (const BandAnalysis& r : channel.results) {
    if (r.band) {
      const bool third = r.band->kind == analysis::BandKind::kThird;
      out.push_back({band_text(r), third ? "third" : "octave",
                     analysis::BandSpan{r.band->lower_hz, r.band->upper_hz}, &r.parameters,
                     r.band});
    } else {
      out.push_back({"", "broadband", r.span, &r.parameters, std::nullopt});
    }
  }
  out.push_back({"", "mid", std::nullopt, &channel.mid, std::nullopt});
  return out;
}

std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// The length of the UTF-8 sequence starting at s[i], or 0 when none does.
std::size_t utf8_length(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  std::size_t n = 0;
  unsigned char low = 0x80, high = 0xBF;  // range of the second byte
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) n = 2;
  else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < n; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return n;
}

// The fields beyond the decay parameters (in CSV behind `missing`, so that
// the columns before it keep their places), and the reasons of those
// missing.
void append_csv_fields(std::string& out, std::string& missing,
                       const std::vector<ExtraField>& fields) {
  for (const ExtraField& f : fields) {
    out += ',';
    if (f.number) out += number_text(*f.number);
    if (f.text) out += csv_field(*f.text);
    if (f.applies && !f.number && !f.text) {
      if (!missing.empty()) missing += "; ";
      missing += std::string(f.key) + ": " + f.missing;
    }
  }
}

void append_json_fields(std::string& out, std::string& missing,
                        const std::vector<ExtraField>& fields) {
  for (const ExtraField& f : fields) {
    const std::string key = json_string(f.key);
    out += ", " + key + ": " +
           (f.number ? number_text(*f.number) : f.text ? json_string(*f.text) : "null");
    if (f.applies && !f.number && !f.text) {
      if (!missing.empty()) missing += ", ";
      missing += key + ": " + json_string(f.missing);
    }
  }
}

const analysis::SpeechIndex* speech_of(const std::vector<analysis::SpeechIndex>& speech,
                                       std::size_t channel) {
  return channel < speech.size() ? &speech[channel] : nullptr;
}

}  // namespace

std::string number_text(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
  return std::string(text, result.ptr);
}

std::string json_string(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else if (c >= 0x80) {
      const std::size_t n = utf8_length(text, i);
      if (n == 0) {
        out += "\xEF\xBF\xBD";  // U+FFFD for a byte that starts no character
        ++i;
        continue;
      }
      out.append(text.substr(i, n));
      i += n;
      continue;
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

std::string csv_header() {
  std::string line = "file,channel,band_hz";
  for (Parameter p : analysis::kParameters) {
    line += ',';
    line += analysis::parameter_key(p);
  }
  line += ",missing,band,span_low_hz,span_high_hz";
  for (std::string_view key : extra_keys()) {
    line += ',';
    line += key;
  }
  return line + '\n';
}

std::string csv_records(std::string_view file, const std::vector<ChannelAnalysis>& channels,
                        const std::vector<analysis::SpeechIndex>& speech) {
  std::string out;
  for (std::size_t c = 0; c < channels.size(); ++c) {
    for (const Record& r : records_of(channels[c])) {
      out += csv_field(file) + ',' + std::to_string(c + 1) + ',' + r.band_hz;
      std::string missing;
      for (Parameter p : analysis::kParameters) {
        const analysis::ParameterValue& v = (*r.parameters)[p];
        out += ',';
        if (v.value) {
          out += number_text(*v.value);
        } else {
          if (!missing.empty()) missing += "; ";
          missing += std::string(analysis::parameter_key(p)) + ": " + v.missing;
        }
      }
      std::string extra;
      append_csv_fields(extra, missing, fields_of(speech_of(speech, c), r));
      out += ',' + csv_field(missing) + ',' + r.kind + ',';
      if (r.span) out += number_text(r.span->lower_hz) + ',' + number_text(r.span->upper_hz);
      else out += ',';
      out += extra + '\n';
    }
  }
  return out;
}

std::string json_records(std::string_view file, const std::vector<ChannelAnalysis>& channels,
                         const std::vector<analysis::SpeechIndex>& speech) {
  std::string out;
  for (std::size_t c = 0; c < channels.size(); ++c) {
    for (const Record& r : records_of(channels[c])) {
      if (!out.empty()) out += ",\n";
      out += "  {\"file\": " + json_string(file) + ", \"channel\": " + std::to_string(c + 1) +
             ", \"band_hz\": " + (r.band_hz.empty() ? "null" : r.band_hz) + ", \"band\": \"" +
             r.kind + "\", \"span_hz\": " +
             (r.span ? "[" + number_text(r.span->lower_hz) + ", " +
                           number_text(r.span->upper_hz) + "]"
                     : std::string("null"));
      std::string missing;
      for (Parameter p : analysis::kParameters) {
        const analysis::ParameterValue& v = (*r.parameters)[p];
        const std::string key = json_string(analysis::parameter_key(p));
        out += ", " + key + ": " + (v.value ? number_text(*v.value) : "null");
        if (!v.value) {
          if (!missing.empty()) missing += ", ";
          missing += key + ": " + json_string(v.missing);
        }
      }
      append_json_fields(out, missing, fields_of(speech_of(speech, c), r));
      out += ", \"missing\": {" + missing + "}}";
    }
  }
  return out;
}

namespace {

// The band and span columns of a pair's record: its octave band, or the
// unfiltered ears as broadband without a span.
std::string pair_band_fields(const analysis::BandIacc& r, char comma) {
  if (!r.band) return std::string("broadband") + comma;
  return std::string("octave") + comma + number_text(r.band->lower_hz) + comma +
         number_text(r.band->upper_hz);
}

}  // namespace

std::string csv_pair_records(const PairRecords& pair) {
  std::string out;
  for (const analysis::BandIacc& r : pair.analysis.results) {
    out += csv_field(pair.left_file) + ",," + (r.band ? number_text(r.band->nominal_hz) : "");
    out += std::string(analysis::kParameterCount, ',');
    std::string missing;
    std::string extra;
    append_csv_fields(extra, missing, pair_fields(pair, r));
    out += ',' + csv_field(missing) + ',' + pair_band_fields(r, ',') + extra + '\n';
  }
  return out;
}

std::string json_pair_records(const PairRecords& pair) {
  std::string out;
  for (const analysis::BandIacc& r : pair.analysis.results) {
    if (!out.empty()) out += ",\n";
    out += "  {\"file\": " + json_string(pair.left_file) + ", \"channel\": null, \"band_hz\": " +
           (r.band ? number_text(r.band->nominal_hz) : "null") + ", \"band\": \"" +
           (r.band ? "octave" : "broadband") + "\", \"span_hz\": " +
           (r.band ? "[" + number_text(r.band->lower_hz) + ", " + number_text(r.band->upper_hz) + "]"
                   : std::string("null"));
    for (Parameter p : analysis::kParameters)
      out += ", " + json_string(analysis::parameter_key(p)) + ": null";
    std::string missing;
    append_json_fields(out, missing, pair_fields(pair, r));
    out += ", \"missing\": {" + missing + "}}";
  }
  return out;
}

}  // namespace irinfo
