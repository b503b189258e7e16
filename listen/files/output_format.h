// What an auralisation is written as: the container, chosen by the output
// name's extension (".wav" WAVE, ".flac" FLAC, any case), and the samples:
// 16-bit PCM (with TPDF dither), 24-bit PCM, or 32-bit float (WAVE only).
#ifndef LISTEN_FILES_OUTPUT_FORMAT_H_
#define LISTEN_FILES_OUTPUT_FORMAT_H_

#include <string>
#include <string_view>

namespace listen {

enum class Container { kWave, kFlac };
enum class SampleFormat { kPcm16, kPcm24, kFloat };

struct OutputFormat {
  Container container = Container::kWave;
  SampleFormat samples = SampleFormat::kPcm24;
  friend bool operator==(const OutputFormat&, const OutputFormat&) = default;
};

struct FormatChoice {
  OutputFormat format;
  std::string problem;  // empty when `format` holds the choice
};

// The format for the output `name` with the samples `samples`.
// Problems: an extension other than .wav and .flac, float samples in FLAC.
FormatChoice choose_format(std::string_view name, SampleFormat samples);

// "24-bit WAVE", "16-bit FLAC", "32-bit float WAVE".
std::string format_text(const OutputFormat& format);

// The largest magnitude an integer format holds without clipping, as a
// float sample: (2^(bits-1) - 1) / 2^(bits-1), less the dither's reach of
// one step for 16 bits; infinity for float samples.
double largest_sample(SampleFormat samples);

}  // namespace listen

#endif  // LISTEN_FILES_OUTPUT_FORMAT_H_
