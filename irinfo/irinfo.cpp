#include "irinfo/irinfo.h"

#include <algorithm>
#include <string_view>

#include "analysis/analyse.h"
#include "analysis/read/read_response.h"
#include "irinfo/records.h"
#include "irinfo/text_report.h"

namespace irinfo {
namespace {

constexpr std::string_view kUsage = "usage: irinfo [--csv | --json] FILE...\n";

constexpr std::string_view kHelp =
    "usage: irinfo [--csv | --json] FILE...\n"
    "\n"
    "Shows the facts of impulse-response files (.TIM files and WAVE, AIFF, FLAC\n"
    "and other audio files; each channel is one response) and their\n"
    "room-acoustic parameters per channel, for each octave band 31.5 Hz .. 16 kHz\n"
    "below 0.45 times the sampling rate and for the unfiltered response:\n"
    "EDT, T20, T30 (s), C50, C80 (dB), D50, Ts (ms) and the peak-to-noise ratio\n"
    "(dB). A value the response cannot give is shown as \"-\" with its reason.\n"
    "\n"
    "  --csv      one CSV record per file, channel and band\n"
    "  --json     the same records as one JSON array\n"
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
  std::vector<std::string> files;
  std::string problem;  // why the words cannot be followed
};

Command parse(const std::vector<std::string>& words) {
  Command c;
  bool options = true;
  bool csv = false, json = false;
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
    } else if (options && w.size() > 1 && w[0] == '-') {
      c.problem = "unknown option " + w;
      return c;
    } else {
      c.files.push_back(w);
    }
  }
  if (csv && json) c.problem = "--csv and --json exclude each other";
  if (c.files.empty() && !c.help && !c.version && c.problem.empty()) c.problem = "no file named";
  c.style = csv ? Style::kCsv : json ? Style::kJson : Style::kTable;
  return c;
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
  for (const std::string& name : command.files) {
    const analysis::ReadResult read = analysis::read_response_file(name);
    if (!read.file) {
      out.message(read.message);
      status = std::max(status, analysis::exit_status(read.problem));
      continue;
    }
    const auto channels = analysis::analyse_file(*read.file, {});
    switch (command.style) {
      case Style::kCsv:
        out.report(csv_records(name, *channels));
        break;
      case Style::kJson:
        if (!first) out.report(",\n");
        out.report(json_records(name, *channels));
        break;
      case Style::kTable: {
        std::string text = first ? "" : "\n";
        text += facts_text(name, *read.file);
        for (std::size_t c = 0; c < channels->size(); ++c) {
          text += '\n';
          text += channel_table(c + 1, (*channels)[c]);
        }
        out.report(text);
        break;
      }
    }
    first = false;
  }
  if (command.style == Style::kJson) out.report(first ? "]\n" : "\n]\n");
  return status;
}

}  // namespace irinfo
