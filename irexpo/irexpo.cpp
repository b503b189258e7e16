#include "irexpo/irexpo.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

#include "console/dialogue.h"
#include "console/format.h"
#include "console/info_option.h"
#include "console/process.h"
#include "formats/byte_source.h"
#include "formats/output_file.h"
#include "formats/tim_file.h"
#include "formats/wave_file.h"
#include "irexpo/scaling.h"

namespace irexpo {
namespace {

using console::Dialogue;
using console::Failure;
using console::Statement;
using formats::ReadStatus;

constexpr std::size_t kNameWidth = 40;
constexpr int kLeftUnit = 3;
constexpr int kRightUnit = 4;
constexpr int kOutputUnit = 9;

// Samples one channel can hold.
constexpr std::int32_t kCapacity = 65536;

// Frames go to the output in runs of this many.
constexpr std::size_t kRun = 4096;

constexpr std::string_view kBanner =
    "1*** Irexpo - Converts 1 or 2 .TIM Impulse Responses into a .WAV file ***\n"
    "\n"
    "     Acoustic IR tools - free software, provided without any warranty\n";

constexpr std::string_view kUsage =
    "Usage: irexpo OUT.WAV LEFT.TIM [RIGHT.TIM]\n"
    "       irexpo\n"
    "       irexpo --help | --version\n"
    "\n"
    "Converts one or two .TIM impulse-response files into a 16-bit PCM WAVE\n"
    "file, both channels scaled by their common peak. A RIGHT.TIM name that\n"
    "begins with NONE, or none at all, gives a mono file. With fewer than two\n"
    "arguments irexpo asks for the names on the console.\n";

// A right name that begins with these four characters means a mono file.
constexpr std::string_view kNoRightFile = "NONE";

// What the run keeps between the steps. The interval and the point count
// are those of the file read last.
struct State {
  std::string output_field = std::string(kNameWidth, ' ');
  std::string left_field = std::string(kNameWidth, ' ');
  std::string right_field = std::string(kNameWidth, ' ');
  std::string left_name;   // names as opened
  std::string right_name;
  std::string interval_source;  // the file the interval came from
  float interval = 0.0f;
  std::int32_t points = 0;
  std::int32_t left_points = 0;
  float peak = 0.0f;  // Xmax
  // Sized once for the whole run. Left uninitialised: only the samples read
  // are used, plus the zeros that extend a left file shorter than the right.
  std::unique_ptr<float[]> left = std::make_unique_for_overwrite<float[]>(kCapacity);
  std::unique_ptr<float[]> right = std::make_unique_for_overwrite<float[]>(kCapacity);
};

bool has_right_file(const State& s) {
  return s.right_field.compare(0, kNoRightFile.size(), kNoRightFile) != 0;
}

// The command-line words after the program name pick the names; with fewer
// than two the names are asked for.
void take_names(Dialogue& d, State& s) {
  const std::size_t words = d.word_count() > 0 ? d.word_count() - 1 : 0;
  if (words < 2) {
    d.prompt(" Name of the .TIM LEFT (or MONO) file = ");
    s.left_field = d.read_field(kNameWidth);
    d.prompt(" Name of the .TIM RIGHT          file = ");
    s.right_field = d.read_field(kNameWidth);
    d.prompt(" Name of the .WAV output         file = ");
    s.output_field = d.read_field(kNameWidth);
    return;
  }
  d.get_word(1, s.output_field);
  d.get_word(2, s.left_field);
  if (words == 3) {
    d.get_word(3, s.right_field);
  } else {
    s.right_field = console::fit_field(kNoRightFile, kNameWidth);
  }
  d.print(" File Name of the .TIM LEFT   file = " + s.left_field);
  if (words == 3) d.print(" File Name of the .TIM RIGHT  file = " + s.right_field);
  d.print(" File Name of the .WAV output file = " + s.output_field);
}

[[noreturn]] void read_failure(Dialogue& d, const std::string& name,
                               ReadStatus status) {
  d.error_stop(Statement::read, name,
               status == ReadStatus::kIoError ? Failure::read_failed
                                              : Failure::end_of_file);
}

// Reads one .TIM file into `samples`: its head sets the interval and the
// point count of the run, its samples raise the peak. Returns the name the
// file was opened under.
std::string read_tim(Dialogue& d, State& s, const std::string& field, int unit,
                     float* samples, bool show_count) {
  const std::string name = d.file_name(field, unit);
  formats::FileSource source;
  if (!source.open(name)) {
    std::error_code ec;
    d.error_stop(Statement::open, name,
                 std::filesystem::exists(console::utf8_path(name), ec)
                     ? Failure::cannot_open
                                                   : Failure::file_not_found);
  }
  formats::TimHead head;
  if (const ReadStatus st = formats::read_tim_head(source, head);
      st != ReadStatus::kOk) {
    read_failure(d, name, st);
  }
  if (head.point_count < 0) {
    d.refuse("The point count of " + name + " is negative!");
  }
  if (head.point_count > kCapacity) {
    d.refuse("The point count of " + name + " is above 65536!");
  }
  s.interval = head.sample_interval_ms;
  s.points = head.point_count;
  s.interval_source = name;

  if (show_count) {
    d.print(" Number of Impulse Response points = " +
            console::format_integer(s.points, 8));
  }
  d.print(" Reading " + console::format_integer(s.points, 6) + " pts from " +
          field);
  const std::span<float> read(samples, static_cast<std::size_t>(s.points));
  if (const ReadStatus st = formats::read_tim_samples(source, read);
      st != ReadStatus::kOk) {
    read_failure(d, name, st);
  }
  const std::optional<float> peak = peak_magnitude(read, s.peak);
  if (!peak) d.refuse(name + " holds a sample that is not a finite number!");
  s.peak = *peak;
  return name;
}

std::string rate_problem_text(RateProblem problem) {
  switch (problem) {
    case RateProblem::kNotPositive:
      return "is not a positive number!";
    case RateProblem::kTooSmall:
      return "is too small for a WAVE file!";
    case RateProblem::kTooLarge:
      return "is too large for a WAVE file!";
  }
  return "cannot be used!";
}

class Writer {
 public:
  Writer(Dialogue& d, std::string name) : d_(d), name_(std::move(name)) {}

  void open() {
    if (!file_.open(console::utf8_path(name_))) {
      d_.error_stop(Statement::open, name_, Failure::cannot_create);
    }
  }
  void write(std::span<const std::uint8_t> bytes) {
    if (!file_.write(bytes)) {
      d_.error_stop(Statement::write, name_, Failure::write_failed);
    }
  }
  void commit() {
    if (!file_.commit()) {
      d_.error_stop(Statement::close, name_, Failure::cannot_complete);
    }
  }

 private:
  Dialogue& d_;
  std::string name_;
  formats::OutputFile file_;
};

void convert(Dialogue& d) {
  d.print(kBanner);
  State s;
  take_names(d, s);

  s.left_name = read_tim(d, s, s.left_field, kLeftUnit, s.left.get(), true);
  s.left_points = s.points;
  const bool stereo = has_right_file(s);
  if (stereo) {
    s.right_name =
        read_tim(d, s, s.right_field, kRightUnit, s.right.get(), false);
    // A left file shorter than the right one ends in zeros.
    if (s.points > s.left_points) {
      std::fill(s.left.get() + s.left_points, s.left.get() + s.points, 0.0f);
    }
  }
  const std::int16_t channels = stereo ? 2 : 1;
  const Rate rate = sampling_rate(s.interval, 2 * channels);
  if (rate.problem) {
    d.refuse("The sample interval of " + s.interval_source + " " +
             rate_problem_text(*rate.problem));
  }

  d.print(" Converting Floats to Int & Scaling to Xmax=" +
          console::format_real(s.peak, 10, 2));

  const std::string output_name = d.file_name(s.output_field, kOutputUnit);
  const auto same = [](const std::string& a, const std::string& b) {
    return formats::refers_to_same_file(console::utf8_path(a), console::utf8_path(b));
  };
  if (same(output_name, s.left_name) || (stereo && same(output_name, s.right_name))) {
    d.refuse("The .WAV output file would overwrite a .TIM input file!");
  }
  Writer out(d, output_name);
  out.open();
  d.print(" Fsampling =" + console::format_integer(rate.hz, 8) + " Hz");
  out.write(formats::encode_wave_header(channels, rate.hz, s.points));
  d.print("0Saving data to output file (s)...");

  // Scaled frames, left before right, one run at a time.
  std::array<std::uint8_t, 4 * kRun> bytes;
  const float* left = s.left.get();
  const float* right = s.right.get();
  const auto total = static_cast<std::size_t>(s.points);
  const std::size_t frame_bytes = 2 * static_cast<std::size_t>(channels);
  for (std::size_t start = 0; start < total; start += kRun) {
    const std::size_t n = std::min(kRun, total - start);
    const std::span<std::uint8_t> frames(bytes.data(), n * frame_bytes);
    scale_frames(std::span(left + start, n),
                 stereo ? std::span(right + start, n) : std::span<const float>(),
                 s.peak, frames);
    out.write(frames);
  }
  out.commit();
}

}  // namespace

int run(const std::vector<std::string>& words, console::Terminal& terminal) {
  if (console::answer_info_option(words, {"irexpo", kUsage}, terminal)) {
    return console::kStatusOk;
  }
  Dialogue dialogue(words, terminal);
  return console::run_dialogue(dialogue, convert);
}

}  // namespace irexpo
