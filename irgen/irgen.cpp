#include "irgen/irgen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <span>
#include <string_view>
#include <system_error>

#include "console/dialogue.h"
#include "console/format.h"
#include "console/info_option.h"
#include "console/process.h"
#include "formats/byte_order.h"
#include "formats/byte_source.h"
#include "formats/output_file.h"
#include "formats/wave_file.h"
#include "irgen/conversion.h"

namespace irgen {
namespace {

namespace fs = std::filesystem;
using console::Dialogue;
using console::Failure;
using console::Statement;
using formats::ReadStatus;
using formats::WaveStatus;

constexpr std::size_t kNameWidth = 40;
constexpr std::size_t kModeWidth = 10;
constexpr std::size_t kSplWidth = 20;
constexpr int kSplDecimals = 3;
constexpr int kWaveUnit = 1;
constexpr int kLeftUnit = 3;
constexpr int kRightUnit = 4;

// Samples move between the files in runs of this many frames.
constexpr std::int32_t kRun = 4096;

constexpr std::string_view kBanner =
    "1** Irgen 2.0 - Converts a .WAV file in 1 or 2 .TIM Impulse Responses **\n"
    "\n"
    "   Acoustic IR tools - free software, provided without any warranty\n";

constexpr std::string_view kUsage =
    "Usage: irgen WAVE LEFT.TIM [RIGHT.TIM [SPL [MODE]]]\n"
    "       irgen\n"
    "       irgen --help | --version\n"
    "\n"
    "Converts a 16-bit PCM WAVE file (mono or stereo) into one .TIM\n"
    "impulse-response file per channel. RIGHT.TIM is used for a stereo input\n"
    "only; NONE there is a file name like any other. SPL is the expected sound\n"
    "pressure level in dB (default 0), MODE the acquisition mode (1 = MLS, any\n"
    "other integer = scope; default 0). With fewer than two arguments irgen\n"
    "asks for what it needs on the console.\n";

constexpr std::string_view kWaveLabel = "File Name of the .WAV input  file = ";
constexpr std::string_view kLeftLabel = "File Name of the .TIM LEFT   file = ";
constexpr std::string_view kRightLabel = "File Name of the .TIM RIGHT  file = ";
constexpr std::string_view kSplLabel = "Expected Sound Pressure Level (dB)= ";
constexpr std::string_view kModeLabel = "Acquisition Mode (0=scope, 1=MLS) = ";

// One line: the label, then the field right-aligned in 40 columns (a
// 20-character field after 20 blanks, a 10-character one after 30).
std::string echo_line(std::string_view label, std::string_view field) {
  std::string line = " ";
  line += label;
  line.append(kNameWidth - std::min(field.size(), kNameWidth), ' ');
  line += field;
  return line;
}

[[noreturn]] void read_failure(Dialogue& d, const std::string& name,
                               ReadStatus status) {
  d.error_stop(Statement::read, name,
               status == ReadStatus::kIoError ? Failure::read_failed
                                              : Failure::end_of_file);
}

// Ends the run for anything but kOk: a file that ends early or cannot be
// read is an error stop for the read, a file that cannot be used a refusal.
void check_wave(Dialogue& d, const std::string& name, WaveStatus status) {
  switch (status) {
    case WaveStatus::kOk:
      return;
    case WaveStatus::kTruncated:
      read_failure(d, name, ReadStatus::kTruncated);
    case WaveStatus::kIoError:
      read_failure(d, name, ReadStatus::kIoError);
    default:
      d.refuse(formats::wave_status_message(status));
  }
}

std::int16_t to_mode(Dialogue& d, long long value, std::string_view source) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    d.error_stop(Statement::read, source, Failure::bad_number);
  }
  return static_cast<std::int16_t>(value);
}

bool same_target(const std::string& a, const std::string& b) {
  const fs::path native_a = console::utf8_path(a);
  const fs::path native_b = console::utf8_path(b);
  if (formats::refers_to_same_file(native_a, native_b)) return true;
  std::error_code ec;
  fs::path pa = fs::absolute(native_a, ec).lexically_normal();
  if (ec) return false;
  fs::path pb = fs::absolute(native_b, ec).lexically_normal();
  return !ec && pa == pb;
}

// An output of the run: its name and the temporary it is written to.
struct Output {
  std::string name;
  formats::OutputFile file;
  std::uint64_t squares = 0;  // sum of its squared 16-bit samples
  bool write_failed = false;  // a failed write of a sample run, reported later

  void write(Dialogue& d, std::span<const std::uint8_t> bytes) {
    if (!file.write(bytes)) {
      d.error_stop(Statement::write, name, Failure::write_failed);
    }
  }
};

void open_output(Dialogue& d, Output& out, const std::string& wave_name) {
  if (formats::refers_to_same_file(console::utf8_path(wave_name),
                                   console::utf8_path(out.name))) {
    d.refuse("The .TIM file would overwrite the .WAV input file!");
  }
  if (!out.file.open(console::utf8_path(out.name))) {
    d.error_stop(Statement::open, out.name, Failure::cannot_create);
  }
}

struct Settings {
  std::string wave_field = std::string(kNameWidth, ' ');
  std::string left_field = std::string(kNameWidth, ' ');
  std::string right_field = std::string(kNameWidth, '\0');  // no name yet
  float expected_spl = 0.0f;
  std::int16_t acquisition_mode = 0;
};

// Command-line words after the program name.
std::size_t argument_count(const Dialogue& d) {
  return d.word_count() > 0 ? d.word_count() - 1 : 0;
}

// The command-line arguments that are given, each echoed as it is taken.
void take_arguments(Dialogue& d, Settings& s) {
  const std::size_t arguments = argument_count(d);
  if (arguments >= 2) {
    d.get_word(1, s.wave_field);
    d.print(echo_line(kWaveLabel, s.wave_field));
    d.get_word(2, s.left_field);
    d.print(echo_line(kLeftLabel, s.left_field));
  }
  if (arguments >= 3) {
    d.get_word(3, s.right_field);
    d.print(echo_line(kRightLabel, s.right_field));
  }
  if (arguments >= 4) {
    std::string spl_field(kSplWidth, ' ');
    d.get_word(4, spl_field);
    d.print(echo_line(kSplLabel, spl_field));
    s.expected_spl = d.field_to_fixed(spl_field, kSplDecimals);
  }
  if (arguments >= 5) {
    std::string mode_field(kModeWidth, ' ');
    d.get_word(5, mode_field);
    d.print(echo_line(kModeLabel, mode_field));
    s.acquisition_mode =
        to_mode(d, d.field_to_integer(mode_field), console::kFieldName);
  }
  if (arguments < 2) {
    d.prompt(" Name of the .WAV input          file = ");
    s.wave_field = d.read_field(kNameWidth);
    d.prompt(" Name of the .TIM LEFT (or MONO) file = ");
    s.left_field = d.read_field(kNameWidth);
  }
}

// Reads the samples, converts them and sends them to the outputs in runs,
// adding up each channel's energy on the way. Console lines come out as if
// reading, converting and writing were three passes: a failed write is
// reported once everything has been read.
void convert_samples(Dialogue& d, formats::FileSource& input,
                     const std::string& wave_name, std::int32_t points,
                     Output& left, Output* right) {
  const std::size_t frame_bytes = right != nullptr ? 4 : 2;
  // Not zeroed: each run reads and converts into them before using them.
  std::array<std::uint8_t, kRun * 4> in_bytes;
  std::array<std::uint8_t, kRun * 4> out_bytes;

  d.print(" Reading data from input file...");
  for (std::int32_t done = 0; done < points;) {
    const std::size_t n = static_cast<std::size_t>(std::min(kRun, points - done));
    const std::span<std::uint8_t> frames(in_bytes.data(), n * frame_bytes);
    ReadStatus status = input.read(frames);
    if (status != ReadStatus::kOk) read_failure(d, wave_name, status);
    const std::span<std::uint8_t> encoded(out_bytes.data(), n * 4);
    std::size_t channel = 0;
    for (Output* out : {&left, right}) {
      if (out == nullptr) continue;
      out->squares += convert_run(frames, frame_bytes, channel++, encoded);
      if (!out->write_failed) out->write_failed = !out->file.write(encoded);
    }
    done += static_cast<std::int32_t>(n);
  }
  d.print(" Converting integers to reals...");
  d.print(" Writing data to  output file...");
  for (Output* out : {&left, right}) {
    if (out != nullptr && out->write_failed) {
      d.error_stop(Statement::write, out->name, Failure::write_failed);
    }
  }
}

// Zeros behind the samples up to `count` values.
void pad(Dialogue& d, Output& out, std::int32_t count) {
  static constexpr std::array<std::uint8_t, kRun * 4> kZeros{};
  while (count > 0) {
    const std::int32_t n = std::min(kRun, count);
    out.write(d, std::span(kZeros.data(), static_cast<std::size_t>(n) * 4));
    count -= n;
  }
}

void convert(Dialogue& d, const Clock& clock) {
  d.print(kBanner);
  Settings s;
  take_arguments(d, s);
  const bool interactive = argument_count(d) < 2;

  const std::string wave_name = d.file_name(s.wave_field, kWaveUnit);
  formats::FileSource input;
  if (!input.open(wave_name)) {
    std::error_code ec;
    d.error_stop(Statement::open, wave_name,
                 fs::exists(console::utf8_path(wave_name), ec) ? Failure::cannot_open
                                           : Failure::file_not_found);
  }
  formats::WaveFormat format;
  check_wave(d, wave_name, formats::read_wave_format(input, format));
  if (format.bits_per_sample != 16) d.refuse("The input file must be 16 bits!");
  check_wave(d, wave_name, formats::check_wave_format(format));
  const float interval_ms = 1000.0f / static_cast<float>(format.sample_rate);
  std::int32_t data_size = 0;
  check_wave(d, wave_name, formats::find_wave_data(input, data_size));
  const std::int32_t input_points =
      formats::wave_frame_count(data_size, format.block_align);
  const bool stereo = format.channel_count == 2;

  if (stereo && console::compare_fields(s.right_field, " ") <= 0) {
    d.prompt(" Name of the .TIM RIGHT          file = ");
    s.right_field = d.read_field(kNameWidth);
  }
  if (interactive) {
    d.prompt(" Expected SPL (in dB, 0 for none)     = ");
    s.expected_spl = d.read_free_real(s.expected_spl);
    d.prompt(" Acquistion Mode (0=scope, 1=MLS)     = ");
    s.acquisition_mode =
        to_mode(d, d.read_free_integer(s.acquisition_mode), console::kStdinName);
  }

  d.print(" Opening " + s.wave_field + " for input...");
  d.print(" Number of data points  :" + console::format_integer(input_points, 8) +
          " with " + console::format_integer(format.channel_count, 4) +
          "  Channels");
  d.print(" Sampling Frequency (Hz):" +
          console::format_integer(format.sample_rate, 8) + " with " +
          console::format_integer(format.bits_per_sample, 4) + "  Bits");

  const std::int32_t out_points = output_points(input_points);
  const auto head = formats::encode_tim_head(
      {s.acquisition_mode, interval_ms, out_points});
  Output left;
  left.name = d.file_name(s.left_field, kLeftUnit);
  open_output(d, left, wave_name);
  left.write(d, head);
  d.print(" Number of .TIM output file points = " +
          console::format_integer(out_points, 8));
  Output right;
  if (stereo) {
    right.name = d.file_name(s.right_field, kRightUnit);
    if (same_target(left.name, right.name)) {
      d.refuse("The LEFT and RIGHT .TIM files must be different files!");
    }
    open_output(d, right, wave_name);
    right.write(d, head);
  }
  d.print(" ");

  const std::int32_t points = points_read(input_points, out_points);
  convert_samples(d, input, wave_name, points, left, stereo ? &right : nullptr);
  pad(d, left, out_points - points);
  if (stereo) pad(d, right, out_points - points);

  const std::string timestamp = formats::format_tim_timestamp(clock());
  formats::TimTrailerFields fields;
  fields.sampling_rate_hz = format.sample_rate;
  fields.point_count = out_points;
  fields.acquisition_mode = s.acquisition_mode;
  fields.timestamp = timestamp;
  fields.source_name = s.wave_field;
  for (Output* out : {&left, stereo ? &right : nullptr}) {
    if (out == nullptr) continue;
    const Level level =
        channel_level(channel_energy(out->squares), s.acquisition_mode,
                      s.expected_spl, out_points);
    if (!std::isfinite(level.level_factor)) {
      d.refuse("The level factor is beyond the range of a real number!");
    }
    fields.level_factor = level.level_factor;
    out->write(d, formats::encode_tim_trailer(fields));
  }

  input.close();
  // Both files are complete on disk before either is renamed into place, so
  // a full disk or a failed write leaves both targets as they were. What can
  // still part them is a failed rename of the right file after the left one.
  const std::array<Output*, 2> outputs = {&left, stereo ? &right : nullptr};
  for (Output* out : outputs) {
    if (out != nullptr && !out->file.finish()) {
      d.error_stop(Statement::close, out->name, Failure::cannot_complete);
    }
  }
  for (Output* out : outputs) {
    if (out != nullptr && !out->file.commit()) {
      d.error_stop(Statement::close, out->name, Failure::cannot_complete);
    }
  }
}

}  // namespace

int run(const std::vector<std::string>& words, console::Terminal& terminal,
        const Clock& clock) {
  if (console::answer_info_option(words, {"irgen", kUsage}, terminal)) {
    return console::kStatusOk;
  }
  Dialogue dialogue(words, terminal);
  return console::run_dialogue(
      dialogue, [&clock](Dialogue& d) { convert(d, clock); });
}

}  // namespace irgen
