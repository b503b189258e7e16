#include "irconv/irconv.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>

#include "analysis/read/read_response.h"
#include "console/process.h"
#include "filter_file/filter_file.h"
#include "formats/output_file.h"
#include "irconv/progress_bar.h"
#include "listen/convolution/auralise.h"
#include "listen/files/export.h"
#include "listen/level/gain.h"
#include "listen/files/output_format.h"
#include "listen/response/prepare.h"
#include "listen/files/scratch.h"
#include "listen/files/sound_reader.h"

namespace irconv {
namespace {

constexpr std::string_view kUsage =
    "usage: irconv [OPTIONS] -o OUT DRY RESPONSE [RESPONSE_RIGHT]\n";

constexpr std::string_view kHelp =
    "usage: irconv [OPTIONS] -o OUT DRY RESPONSE [RESPONSE_RIGHT]\n"
    "\n"
    "Convolves the dry recording DRY (an audio file of 1 or 2 channels) with\n"
    "RESPONSE (an audio file of 1 or 2 channels, or a .TIM file) and writes the\n"
    "auralisation, with its whole reverberant tail, to OUT (.wav or .flac).\n"
    "With RESPONSE_RIGHT, two mono responses (a .TIM pair) make one stereo\n"
    "response. The output has the response's channels; a response at another\n"
    "rate than DRY is resampled to DRY's rate.\n"
    "\n"
    "  -o OUT                the output file, WAVE (.wav) or FLAC (.flac)\n"
    "  --normalize MODE      peak (default), loudness (BS.1770) or none (the\n"
    "                        response's own scale)\n"
    "  --level DB            the peak in dBFS (default -1) or the loudness in\n"
    "                        LUFS (default -23)\n"
    "  --bits 16|24|float    the samples (default 24; float for WAVE only;\n"
    "                        16 with TPDF dither)\n"
    "  --filter FILE         equalise the response by a filter file's ten\n"
    "                        octave-band gains (linear phase)\n"
    "  --help                this text\n"
    "  --version             the version\n"
    "\n"
    "Exit status: 0 when OUT was written, 1 when a file cannot be opened, read\n"
    "or written, 2 for bad usage or an input refused; OUT is unchanged after\n"
    "any failure.\n";

struct Command {
  bool help = false;
  bool version = false;
  std::string out;
  std::vector<std::string> files;  // DRY RESPONSE [RESPONSE_RIGHT]
  listen::Normalize normalize = listen::Normalize::kPeak;
  std::optional<double> level;
  listen::SampleFormat samples = listen::SampleFormat::kPcm24;
  std::optional<std::string> filter;
  std::string problem;  // why the words cannot be followed
};

std::optional<double> parse_number(std::string_view text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || at != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

Command parse(const std::vector<std::string>& words) {
  Command c;
  bool options = true;
  for (std::size_t i = 1; i < words.size() && c.problem.empty(); ++i) {
    std::string w = words[i];
    std::optional<std::string> attached;  // --name=value
    if (options && w.starts_with("--") && w.find('=') != std::string::npos) {
      attached = w.substr(w.find('=') + 1);
      w = w.substr(0, w.find('='));
    }
    const auto value = [&]() -> std::optional<std::string> {
      if (attached) return attached;
      if (i + 1 < words.size()) return words[++i];
      c.problem = w + " needs a value";
      return std::nullopt;
    };
    if (options && w == "--") {
      options = false;
    } else if (options && (w == "--help" || w == "--version") && !attached) {
      (w == "--help" ? c.help : c.version) = true;
    } else if (options && (w == "-o" || w == "--output")) {
      if (const auto v = value()) c.out = *v;
    } else if (options && w == "--normalize") {
      if (const auto v = value()) {
        if (*v == "peak")
          c.normalize = listen::Normalize::kPeak;
        else if (*v == "loudness")
          c.normalize = listen::Normalize::kLoudness;
        else if (*v == "none")
          c.normalize = listen::Normalize::kNone;
        else
          c.problem = "--normalize takes peak, loudness or none, not " + *v;
      }
    } else if (options && w == "--level") {
      if (const auto v = value()) {
        c.level = parse_number(*v);
        if (!c.level) c.problem = "--level takes a number of dB, not " + *v;
      }
    } else if (options && w == "--bits") {
      if (const auto v = value()) {
        if (*v == "16")
          c.samples = listen::SampleFormat::kPcm16;
        else if (*v == "24")
          c.samples = listen::SampleFormat::kPcm24;
        else if (*v == "float")
          c.samples = listen::SampleFormat::kFloat;
        else
          c.problem = "--bits takes 16, 24 or float, not " + *v;
      }
    } else if (options && w == "--filter") {
      if (const auto v = value()) c.filter = *v;
    } else if (options && w.size() > 1 && w[0] == '-') {
      c.problem = "unknown option " + words[i];
    } else {
      c.files.push_back(words[i]);
    }
  }
  if (!c.problem.empty() || c.help || c.version) return c;
  if (c.out.empty()) {
    c.problem = "no output named (-o OUT)";
  } else if (c.files.size() < 2) {
    c.problem = c.files.empty() ? "no dry signal and no response named" : "no response named";
  } else if (c.files.size() > 3) {
    c.problem = "more than two responses named";
  } else if (c.level && c.normalize == listen::Normalize::kNone) {
    c.problem = "--level has no meaning with --normalize none";
  }
  return c;
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string rate_text(double hz) { return fixed(hz, hz == std::floor(hz) ? 0 : 3) + " Hz"; }

// The one way out of the program: standard output for the summary, standard
// error for messages.
class Output {
 public:
  explicit Output(console::Terminal& terminal) : terminal_(terminal) {}
  void report(std::string_view text) { terminal_.write_out(text); }
  void message(std::string_view text) {
    terminal_.write_err("irconv: " + std::string(text) + "\n");
  }

 private:
  console::Terminal& terminal_;
};

// The filter file's gains: status 1 when it cannot be read, 2 when it is no
// filter file.
std::optional<listen::BandGains> read_gains(const std::string& path, Output& out, int& status) {
  std::FILE* f = console::open_file(console::utf8_path(path), "rb");
  if (f == nullptr) {
    out.message(path + ": cannot be opened (" + std::strerror(errno) + ")");
    status = 1;
    return std::nullopt;
  }
  std::string text;
  char buffer[4096];
  for (std::size_t got;
       (got = std::fread(buffer, 1, sizeof buffer, f)) > 0 && text.size() < (1u << 20);) {
    text.append(buffer, got);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) {
    out.message(path + ": cannot be read");
    status = 1;
    return std::nullopt;
  }
  const frontend::FilterFileRead read = frontend::readFilterFile(text);
  if (!read.bands) {
    const frontend::FilterFileError& e = *read.error;
    std::string why = "not a filter file: ";
    switch (e.kind) {
      case frontend::FilterFileError::Kind::NotANumber:
        why += "item " + std::to_string(e.item) + " of line " + std::to_string(e.line) + " (\"" +
               e.text + "\") is not a number";
        break;
      case frontend::FilterFileError::Kind::OutOfRange:
        why += "item " + std::to_string(e.item) + " of line " + std::to_string(e.line) +
               " is out of range";
        break;
      case frontend::FilterFileError::Kind::TooFewNumbers:
        why += "it ends after " + std::to_string(e.numbersRead) + " of its 20 numbers";
        break;
    }
    out.message(path + ": " + why);
    status = 2;
    return std::nullopt;
  }
  listen::BandGains gains{};
  for (int b = 0; b < listen::kEqualiserBands; ++b) gains[b] = read.bands->gain[b];
  return gains;
}

}  // namespace

int run(const std::vector<std::string>& words, console::Terminal& terminal,
        const Environment& environment) {
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
    out.report(std::string("irconv ") + kVersion + "\n");
    return 0;
  }

  const listen::FormatChoice format = listen::choose_format(command.out, command.samples);
  if (!format.problem.empty()) {
    out.message(command.out + ": " + format.problem);
    return 2;
  }
  const std::filesystem::path out_path = console::utf8_path(command.out);
  std::vector<std::string> inputs = command.files;
  if (command.filter) inputs.push_back(*command.filter);
  for (const std::string& input : inputs) {
    if (input == command.out || formats::refers_to_same_file(console::utf8_path(input), out_path)) {
      out.message(command.out + ": the output would replace the input " + input);
      return 2;
    }
  }

  std::error_code ec;
  if (std::filesystem::is_directory(out_path, ec)) {
    out.message(command.out + ": cannot be written: it is a folder");
    return 1;
  }

  // The responses, whole.
  std::vector<analysis::ReadResult> reads;
  for (std::size_t i = 1; i < command.files.size(); ++i) {
    reads.push_back(analysis::read_response_file(command.files[i]));
    if (!reads.back().file) {
      out.message(reads.back().message);
      return analysis::exit_status(reads.back().problem);
    }
  }
  // The dry, opened to be read in blocks.
  listen::Problem problem;
  const std::unique_ptr<listen::SoundReader> dry =
      listen::SoundReader::open(command.files[0], problem);
  if (!dry) {
    out.message(problem.message);
    return problem.status;
  }
  std::optional<listen::BandGains> gains;
  if (command.filter) {
    int status = 0;
    gains = read_gains(*command.filter, out, status);
    if (!gains) return status;
  }

  std::vector<listen::NamedResponse> named;
  for (std::size_t i = 0; i < reads.size(); ++i) {
    named.push_back({&*reads[i].file, command.files[i + 1]});
  }
  listen::Prepared prepared = listen::prepare_response(named, dry->sample_rate_hz(), gains);
  if (prepared.problem) {
    out.message(prepared.problem.message);
    return prepared.problem.status;
  }
  for (const listen::NamedResponse& n : named) {
    if (n.file->sample_rate_hz != dry->sample_rate_hz()) {
      out.message(n.name + ": resampled from " + rate_text(n.file->sample_rate_hz) +
                  " to the dry signal's " + rate_text(dry->sample_rate_hz()));
    }
  }
  named.clear();
  reads.clear();  // the prepared copy is all that is needed from here

  // Pass 1: the convolution into a scratch file beside OUT, measured.
  std::filesystem::path folder = out_path.parent_path();
  if (folder.empty()) folder = ".";
  const std::unique_ptr<listen::ScratchFrames> scratch = listen::ScratchFrames::create(
      folder, prepared.response.channels.size() == 2 || dry->channels() == 2 ? 2 : 1,
      dry->sample_rate_hz());
  if (!scratch) {
    out.message(command.out + ": cannot be created (no file can be made in its folder)");
    return 1;
  }
  ProgressBar bar(terminal, environment.err_is_terminal, environment.seconds);
  constexpr double kFirstPass = 0.9;  // of the progress bar
  listen::Control control;
  control.progress = [&](double done) { bar.show(done * kFirstPass); };
  control.measure_loudness = command.normalize == listen::Normalize::kLoudness;
  const listen::Auralised auralised = listen::auralise(*dry, prepared.response, *scratch, control);
  if (auralised.problem) {
    bar.end();
    out.message(auralised.problem.message);
    return auralised.problem.status;
  }
  const listen::Measured& m = auralised.measured;

  // Pass 2: the gain, then the frames read back, scaled and written.
  if (!scratch->rewind()) {
    bar.end();
    out.message(scratch->error());
    return 1;
  }
  control.progress = [&](double done) { bar.show(kFirstPass + done * (1.0 - kFirstPass)); };
  const listen::Exported exported = listen::export_auralisation(
      *scratch, m, {command.normalize, command.level, format.format}, command.out, control);
  bar.end();
  if (exported.problem) {
    out.message(exported.problem.message);
    return exported.problem.status;
  }
  const listen::GainChoice& gain = exported.gain;

  const double peak_db = 20.0 * std::log10(m.peak * gain.gain());
  std::string summary =
      command.out + ": " + std::to_string(m.frames) + " frames (" +
      fixed(static_cast<double>(m.frames) / m.sample_rate_hz, 2) + " s), " +
      std::to_string(m.channels) + (m.channels == 1 ? " channel, " : " channels, ") +
      rate_text(m.sample_rate_hz) + ", " + listen::format_text(format.format) + "\n";
  summary += "gain " + fixed(gain.gain_db, 2) + " dB: peak " +
             (m.peak > 0.0 ? fixed(peak_db, 2) + " dBFS" : std::string("silent"));
  if (std::isfinite(m.loudness_lufs)) {
    summary += ", loudness " + fixed(m.loudness_lufs + gain.gain_db, 2) + " LUFS";
  }
  out.report(summary + "\n");
  return 0;
}

}  // namespace irconv
