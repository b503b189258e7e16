#include "irinfo/irinfo.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

#include "analysis/analyse.h"
#include "analysis/read/read_response.h"
#include "irinfo/room/binaural_pairs.h"
#include "irinfo/records.h"
#include "irinfo/room/room_analysis.h"
#include "irinfo/room/room_records.h"
#include "irinfo/room/room_report.h"
#include "irinfo/text_report.h"

namespace irinfo {
namespace {

constexpr std::string_view kUsage =
    "usage: irinfo [--csv | --json] [--bands octave|third] [--jobs N] [--binaural]\n"
    "              [--speech-level DB [--noise-levels L,...]] FILE...\n";

constexpr std::string_view kHelp =
    "usage: irinfo [--csv | --json] [--bands octave|third] [--jobs N] [--binaural]\n"
    "              [--speech-level DB [--noise-levels L,...]] FILE...\n"
    "\n"
    "Shows the facts of impulse-response files (.TIM files and WAVE, AIFF, FLAC\n"
    "and other audio files; each channel is one response) and their\n"
    "room-acoustic parameters per channel, for each octave band 31.5 Hz .. 16 kHz\n"
    "below 0.45 times the sampling rate, for the broadband response (the span\n"
    "of those bands) and as single numbers (\"mid\": the mean of 500 Hz and\n"
    "1 kHz): EDT, T20, T30 (s), C50, C80 (dB), D50, Ts (ms) and the\n"
    "peak-to-noise ratio (dB). A value the response cannot give is shown as \"-\"\n"
    "with its reason. Per channel also the speech transmission index (STI) with\n"
    "its category.\n"
    "\n"
    "  --csv      one CSV record per file, channel and band\n"
    "  --json     the same records as one JSON array\n"
    "  --bands third\n"
    "             third-octave bands 25 Hz .. 20 kHz instead of octaves\n"
    "  --jobs N   analyse up to N files at once (default: one per core)\n"
    "  --binaural the files are the ears of binaural pairs, a stereo file or two\n"
    "             mono files in a row (left, right): their interaural cross-\n"
    "             correlation IACC_E, IACC_L, IACC_A per band and 1 - IACC_E3\n"
    "  --speech-level DB\n"
    "             the A-weighted speech level at the listener (dB SPL): the STI\n"
    "             with auditory masking and reception threshold\n"
    "  --noise-levels L125,L250,L500,L1k,L2k,L4k,L8k\n"
    "             background noise per octave band (dB SPL) for the STI"
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
  unsigned jobs = 0;  // 0: one per core
  analysis::BandKind bands = analysis::BandKind::kOctave;
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
    } else if (options && (w == "--jobs" || w.starts_with("--jobs="))) {
      std::string_view n;
      if (w == "--jobs") {
        if (i + 1 < words.size()) n = words[++i];
      } else {
        n = std::string_view(w).substr(7);
      }
      unsigned jobs = 0;
      const auto [end, error] = std::from_chars(n.data(), n.data() + n.size(), jobs);
      if (n.empty() || error != std::errc() || end != n.data() + n.size() || jobs == 0) {
        c.problem = "--jobs takes a whole number from 1 up";
        return c;
      }
      c.jobs = jobs;
    } else if (options && (w == "--bands" || w.starts_with("--bands="))) {
      std::string_view kind;
      if (w == "--bands") {
        if (i + 1 < words.size()) kind = words[++i];
      } else {
        kind = std::string_view(w).substr(8);
      }
      if (kind == "octave") {
        c.bands = analysis::BandKind::kOctave;
      } else if (kind == "third") {
        c.bands = analysis::BandKind::kThird;
      } else {
        c.problem = "--bands takes octave or third";
        return c;
      }
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
  std::string name;  // as given
  std::string text;
  std::string message;
  int status = 0;
  double sample_rate_hz = 0.0;
  std::vector<analysis::BandSignals> signals;
};

// The audio library keeps the words of a failed open in one buffer of its
// own, so files are read one at a time; their analyses run side by side.
std::mutex g_reading;

FileReport report_file(const Command& command, const std::string& name) {
  FileReport r;
  r.name = name;
  std::optional<analysis::ResponseFile> file;
  {
    const std::lock_guard<std::mutex> lock(g_reading);
    analysis::ReadResult read = analysis::read_response_file(name);
    if (!read.file) {
      r.message = read.message;
      r.status = analysis::exit_status(read.problem);
      return r;
    }
    file = std::move(read.file);
  }
  analysis::AnalysisOptions options;
  options.band_kind = command.bands;
  const auto channels = analysis::analyse_file(*file, options);
  std::vector<ChannelRoom> room = room_analysis(*file, command.speech);
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
      r.text = facts_text(name, *file);
      for (std::size_t c = 0; c < channels->size(); ++c) {
        r.text += '\n';
        r.text += channel_table(c + 1, (*channels)[c]);
        r.text += speech_text(c + 1, speech[c]);
      }
      break;
  }
  r.sample_rate_hz = file->sample_rate_hz;
  if (command.binaural) {
    for (ChannelRoom& c : room) r.signals.push_back(std::move(c.signals));
  }
  return r;
}

// Analyses the files on up to `jobs` threads and hands each report to
// `emit` on this thread, in the order of the command line, as soon as it
// and every one before it are done: the same output as one at a time.
void report_files(const Command& command, const std::function<void(FileReport&)>& emit) {
  const std::size_t count = command.files.size();
  unsigned jobs = command.jobs != 0 ? command.jobs : std::thread::hardware_concurrency();
  jobs = static_cast<unsigned>(std::clamp<std::size_t>(jobs, 1, count));
  if (jobs == 1) {
    for (const std::string& name : command.files) {
      FileReport r = report_file(command, name);
      emit(r);
    }
    return;
  }
  std::vector<std::optional<FileReport>> done(count);
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < count;) {
      FileReport r = report_file(command, command.files[i]);
      const std::lock_guard<std::mutex> lock(mutex);
      done[i] = std::move(r);
      ready.notify_one();
    }
  };
  std::vector<std::thread> threads;
  for (unsigned j = 0; j < jobs; ++j) threads.emplace_back(work);
  for (std::size_t i = 0; i < count; ++i) {
    std::unique_lock<std::mutex> lock(mutex);
    ready.wait(lock, [&] { return done[i].has_value(); });
    FileReport r = std::move(*done[i]);
    done[i].reset();
    lock.unlock();
    emit(r);
  }
  for (std::thread& t : threads) t.join();
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
  report_files(command, [&](FileReport& r) {
    if (!r.message.empty()) out.message(r.message);
    status = std::max(status, r.status);
    if (r.text.empty()) {
      if (command.binaural) report_pairs(pairs.broken());
      return;
    }
    if (!first && command.style == Style::kJson) out.report(",\n");
    if (!first && command.style == Style::kTable) out.report("\n");
    out.report(r.text);
    first = false;
    if (command.binaural) report_pairs(pairs.add(r.name, r.sample_rate_hz, std::move(r.signals)));
  });
  if (command.binaural) report_pairs(pairs.finish());
  if (command.style == Style::kJson) out.report(first ? "]\n" : "\n]\n");
  return status;
}

}  // namespace irinfo
