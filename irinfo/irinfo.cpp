#include "irinfo/irinfo.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "analysis/analyse.h"
#include "analysis/read/read_response.h"
#include "irinfo/binaural_pairs.h"
#include "irinfo/records.h"
#include "irinfo/room_analysis.h"
#include "irinfo/room_records.h"
#include "irinfo/room_report.h"
#include "irinfo/text_report.h"

namespace irinfo {
namespace {

constexpr std::string_view kUsage =
    "usage: irinfo [--csv | --json] [--binaural]\n"
    "              [--speech-level DB [--noise-levels L,...]] FILE...\n";

constexpr std::string_view kHelp =
    "usage: irinfo [--csv | --json] [--binaural]\n"
    "              [--speech-level DB [--noise-levels L,...]] FILE...\n"
    "\n"
    "Shows the facts of impulse-response files (.TIM files and WAVE, AIFF, FLAC\n"
    "and other audio files; each channel is one response) and their\n"
    "room-acoustic parameters per channel, for each octave band 31.5 Hz .. 16 kHz\n"
    "below 0.45 times the sampling rate and for the unfiltered response:\n"
    "EDT, T20, T30 (s), C50, C80 (dB), D50, Ts (ms) and the peak-to-noise ratio\n"
    "(dB). A value the response cannot give is shown as \"-\" with its reason.\n"
    "Per channel also the speech transmission index (STI) with its category.\n"
    "\n"
    "  --csv      one CSV record per file, channel and band\n"
    "  --json     the same records as one JSON array\n"
    "  --binaural the files are the ears of binaural pairs, a stereo file or two\n"
    "             mono files in a row (left, right): their interaural cross-\n"
    "             correlation IACC_E, IACC_L, IACC_A per band and 1 - IACC_E3\n"
    "  --speech-level DB\n"
    "             the A-weighted speech level at the listener (dB SPL): the STI\n"
    "             with auditory masking and reception threshold\n"
    "  --noise-levels L125,L250,L500,L1k,L2k,L4k,L8k\n"
    "             background noise per octave band (dB SPL) for the STI\n"
    "  --help     this text\n"
    "  --version  the version\n"
    "\n"
    "Exit status: 0 when every file was analysed, 1 when a file cannot be\n"
    "opened or read, 2 when a file is no impulse response irinfo reads.\n";

enum class Style { kTable, kCsv, kJson };

// The one way out of the program: standard output for the report, standard
// error for messages, each a whole piece at a time.
class Output {
 public:
  explicit Output(console::Terminal& terminal) : terminal_(terminal) {}
  void report(std::string_view text) {
    if (!text.empty()) terminal_.write_out(text);
  }
  void message(std::string_view text) {
    terminal_.write_err("irinfo: " + std::string(text) + "\n");
  }

 private:
  console::Terminal& terminal_;
};

struct Command {
  Style style = Style::kTable;
  bool help = false;
  bool version = false;
  bool binaural = false;
  std::optional<analysis::SpeechConditions> speech;
  std::vector<std::string> files;
  std::string problem;  // why the words cannot be followed
};

Command parse(const std::vector<std::string>& words) {
  Command c;
  bool options = true;
  bool csv = false, json = false;
  std::optional<double> speech_level;
  std::optional<analysis::SpeechBandValues> noise;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (options && w == "--") {
      options = false;
    } else if (options && w == "--csv") {
      csv = true;
    } else if (options && w == "--json") {
      json = true;
    } else if (options && w == "--help") {
      c.help = true;
    } else if (options && w == "--version") {
      c.version = true;
    } else if (options && w == "--binaural") {
      c.binaural = true;
    } else if (options && (w == "--speech-level" || w == "--noise-levels")) {
      if (i + 1 == words.size()) {
        c.problem = w + " needs a value";
        return c;
      }
      const std::string& value = words[++i];
      if (w == "--speech-level") {
        speech_level = parse_level(value);
        if (!speech_level) c.problem = "--speech-level " + value + ": not a level in dB";
      } else {
        noise = parse_noise_levels(value);
        if (!noise) {
          c.problem = "--noise-levels " + value +
                      ": not seven levels in dB (125 Hz .. 8 kHz) separated by commas";
        }
      }
      if (!c.problem.empty()) return c;
    } else if (options && w.size() > 1 && w[0] == '-') {
      c.problem = "unknown option " + w;
      return c;
    } else {
      c.files.push_back(w);
    }
  }
  if (csv && json) c.problem = "--csv and --json exclude each other";
  if (noise && !speech_level) c.problem = "--noise-levels needs --speech-level";
  if (speech_level) c.speech = analysis::SpeechConditions{*speech_level, noise};
  if (c.files.empty() && !c.help && !c.version && c.problem.empty()) c.problem = "no file named";
  c.style = csv ? Style::kCsv : json ? Style::kJson : Style::kTable;
  return c;
}

// What one file gives: its report (without what separates it from the
// one before), or the message of why it cannot be analysed; and its
// channels' band signals, for a binaural pair.
struct FileReport {
  std::string text;
  std::string message;
  int status = 0;
  double sample_rate_hz = 0.0;
  std::vector<analysis::BandSignals> signals;
};

FileReport report_file(const Command& command, const std::string& name) {
  FileReport r;
  const analysis::ReadResult read = analysis::read_response_file(name);
  if (!read.file) {
    r.message = read.message;
    r.status = analysis::exit_status(read.problem);
    return r;
  }
  const auto channels = analysis::analyse_file(*read.file, {});
  std::vector<ChannelRoom> room = room_analysis(*read.file, command.speech);
  std::vector<analysis::SpeechIndex> speech;
  for (const ChannelRoom& c : room) speech.push_back(c.speech);
  switch (command.style) {
    case Style::kCsv:
      r.text = csv_records(name, *channels, speech);
      break;
    case Style::kJson:
      r.text = json_records(name, *channels, speech);
      break;
    case Style::kTable:
      r.text = facts_text(name, *read.file);
      for (std::size_t c = 0; c < channels->size(); ++c) {
        r.text += '\n';
        r.text += channel_table(c + 1, (*channels)[c]);
        r.text += speech_text(c + 1, speech[c]);
      }
      break;
  }
  r.sample_rate_hz = read.file->sample_rate_hz;
  if (command.binaural) {
    for (ChannelRoom& c : room) r.signals.push_back(std::move(c.signals));
  }
  return r;
}

}  // namespace

int run(const std::vector<std::string>& words, console::Terminal& terminal) {
  Output out(terminal);
  const Command command = parse(words);
  if (!command.problem.empty()) {
    out.message(command.problem);
    terminal.write_err(kUsage);
    return 2;
  }
  if (command.help) {
    out.report(kHelp);
    return 0;
  }
  if (command.version) {
    out.report(std::string("irinfo ") + kVersion + "\n");
    return 0;
  }

  int status = 0;
  bool first = true;
  if (command.style == Style::kCsv) out.report(csv_header());
  if (command.style == Style::kJson) out.report("[\n");
  BinauralPairs pairs([&](const PairRecords& pair) -> std::string {
    switch (command.style) {
      case Style::kCsv: return csv_pair_records(pair);
      case Style::kJson: {
        const std::string records = json_pair_records(pair);
        return records.empty() ? records : ",\n" + records;
      }
      case Style::kTable: break;
    }
    return binaural_text(pair);
  });
  const auto report_pairs = [&](const PairOutput& p) {
    for (const std::string& m : p.messages) out.message(m);
    status = std::max(status, p.status);
    if (p.report) out.report(*p.report);
  };
  for (const std::string& name : command.files) {
    FileReport r = report_file(command, name);
    if (!r.message.empty()) out.message(r.message);
    status = std::max(status, r.status);
    if (r.text.empty()) {
      if (command.binaural) report_pairs(pairs.broken());
      continue;
    }
    if (!first && command.style == Style::kJson) out.report(",\n");
    if (!first && command.style == Style::kTable) out.report("\n");
    out.report(r.text);
    first = false;
    if (command.binaural) report_pairs(pairs.add(name, r.sample_rate_hz, std::move(r.signals)));
  }
  if (command.binaural) report_pairs(pairs.finish());
  if (command.style == Style::kJson) out.report(first ? "]\n" : "\n]\n");
  return status;
}

}  // namespace irinfo
