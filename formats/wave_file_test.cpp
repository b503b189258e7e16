#include "formats/wave_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "formats/byte_order.h"
#include "formats/test_temp_dir.h"

namespace formats {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ---- building files in memory ----

void put_id(Bytes& b, const char* id) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(id[i]));
}
void put_u16(Bytes& b, std::uint16_t v) {
  b.resize(b.size() + 2);
  store_u16le(&b[b.size() - 2], v);
}
void put_u32(Bytes& b, std::uint32_t v) {
  b.resize(b.size() + 4);
  store_u32le(&b[b.size() - 4], v);
}
void put_chunk(Bytes& b, const char* id, const Bytes& body, bool pad = true) {
  put_id(b, id);
  put_u32(b, static_cast<std::uint32_t>(body.size()));
  b.insert(b.end(), body.begin(), body.end());
  if (pad && body.size() % 2 == 1) b.push_back(0);
}

Bytes fmt_body(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
               std::uint16_t bits) {
  Bytes f;
  const auto align = static_cast<std::uint16_t>(channels * bits / 8);
  put_u16(f, tag);
  put_u16(f, channels);
  put_u32(f, rate);
  put_u32(f, rate * align);
  put_u16(f, align);
  put_u16(f, bits);
  return f;
}

Bytes riff(const Bytes& chunks) {
  Bytes b;
  put_id(b, "RIFF");
  put_u32(b, static_cast<std::uint32_t>(chunks.size() + 4));
  put_id(b, "WAVE");
  b.insert(b.end(), chunks.begin(), chunks.end());
  return b;
}

// The outcome of the whole reading sequence, as a converter meets it.
struct Outcome {
  WaveStatus status = WaveStatus::kOk;
  WaveFormat format;
  std::int32_t data_size = -1;
  Bytes first_bytes;  // up to 16 bytes from the first sample on
};

Outcome read_all(ByteSource& source) {
  Outcome o;
  o.status = read_wave_format(source, o.format);
  if (o.status != WaveStatus::kOk) return o;
  if (o.format.bits_per_sample != 16) return o;  // the caller refuses here
  o.status = check_wave_format(o.format);
  if (o.status != WaveStatus::kOk) return o;
  o.status = find_wave_data(source, o.data_size);
  if (o.status != WaveStatus::kOk) return o;
  o.first_bytes.resize(16);
  if (source.read(o.first_bytes) != ReadStatus::kOk) o.first_bytes.clear();
  return o;
}

Outcome read_all(const Bytes& file) {
  MemorySource source(file);
  return read_all(source);
}

Bytes frames_1_to_8() {
  Bytes d;
  for (std::uint16_t s = 1; s <= 8; ++s) put_u16(d, s);
  return d;
}

// ---- writer ----

TEST(WaveWriter, MonoThreeFramesMakeA50ByteFile) {
  const auto h = encode_wave_header(1, 44100, 3);
  EXPECT_EQ(std::string(h.begin(), h.begin() + 16), std::string("RIFF\x2A\0\0\0WAVEfmt ", 16));
  EXPECT_EQ(load_u32le(&h[4]), 42u);
  EXPECT_EQ(load_u32le(&h[16]), 16u);
  EXPECT_EQ(load_u16le(&h[20]), 1);
  EXPECT_EQ(load_u16le(&h[22]), 1);
  EXPECT_EQ(load_u32le(&h[24]), 44100u);
  EXPECT_EQ(load_u32le(&h[28]), 88200u);
  EXPECT_EQ(load_u16le(&h[32]), 2);
  EXPECT_EQ(load_u16le(&h[34]), 16);
  EXPECT_EQ(std::string(h.begin() + 36, h.begin() + 40), "data");
  EXPECT_EQ(load_u32le(&h[40]), 6u);
}

TEST(WaveWriter, StereoWithoutFramesIsTheBareHeader) {
  const auto h = encode_wave_header(2, 48000, 0);
  EXPECT_EQ(load_u32le(&h[4]), 36u);
  EXPECT_EQ(load_u32le(&h[28]), 192000u);
  EXPECT_EQ(load_u16le(&h[32]), 4);
  EXPECT_EQ(load_u32le(&h[40]), 0u);
}

TEST(WaveWriter, SamplesAreLittleEndianTwosComplement) {
  const std::int16_t s[] = {1, -1, -32768, 32767, 0x1234};
  Bytes out(10);
  encode_pcm16(s, out);
  EXPECT_EQ(out, (Bytes{0x01, 0x00, 0xFF, 0xFF, 0x00, 0x80, 0xFF, 0x7F, 0x34, 0x12}));
}

// ---- reader ----

TEST(WaveReader, ReadsTheWritersOwnLayout) {
  const auto h = encode_wave_header(2, 22050, 2);
  Bytes file(h.begin(), h.end());
  const Bytes d = frames_1_to_8();
  file.insert(file.end(), d.begin(), d.end());
  const Outcome o = read_all(file);
  ASSERT_EQ(o.status, WaveStatus::kOk);
  EXPECT_EQ(o.format.channel_count, 2);
  EXPECT_EQ(o.format.sample_rate, 22050);
  EXPECT_EQ(o.format.block_align, 4);
  EXPECT_EQ(o.data_size, 8);
  EXPECT_EQ(wave_frame_count(o.data_size, o.format.block_align), 2);
  EXPECT_EQ(o.first_bytes, d);
  MemorySource source(file);
  WaveFormat f;
  std::int32_t size = 0;
  ASSERT_EQ(read_wave_format(source, f), WaveStatus::kOk);
  ASSERT_EQ(find_wave_data(source, size), WaveStatus::kOk);
  EXPECT_EQ(source.position(), 44u);
}

TEST(WaveReader, WalksOverFurtherChunksToTheData) {
  Bytes chunks;
  put_chunk(chunks, "fmt ", fmt_body(1, 1, 44100, 16));
  put_chunk(chunks, "LIST", Bytes(26, 'x'));
  put_chunk(chunks, "fact", Bytes(4, 0));
  put_chunk(chunks, "junk", Bytes(9, 'j'));  // odd size, padded
  put_chunk(chunks, "data", frames_1_to_8());
  const Outcome o = read_all(riff(chunks));
  ASSERT_EQ(o.status, WaveStatus::kOk);
  EXPECT_EQ(o.data_size, 16);
  EXPECT_EQ(o.first_bytes, frames_1_to_8());
}

TEST(WaveReader, HonoursTheDeclaredFormatChunkSize) {
  for (std::size_t extra : {2u, 3u, 8u}) {  // 18, odd 19 with pad, 24
    Bytes fmt = fmt_body(1, 2, 44100, 16);
    fmt.resize(16 + extra, 0);
    Bytes chunks;
    put_chunk(chunks, "fmt ", fmt);
    put_chunk(chunks, "data", frames_1_to_8());
    const Outcome o = read_all(riff(chunks));
    ASSERT_EQ(o.status, WaveStatus::kOk) << "format chunk of " << fmt.size();
    EXPECT_EQ(o.first_bytes, frames_1_to_8()) << "format chunk of " << fmt.size();
  }
}

Bytes extensible_fmt(std::uint16_t sub_format, std::uint16_t bits,
                     std::uint16_t extension_size = 22) {
  Bytes f = fmt_body(kWaveFormatExtensible, 2, 44100, bits);
  put_u16(f, extension_size);
  put_u16(f, bits);     // valid bits
  put_u32(f, 3);        // front left and right
  put_u16(f, sub_format);
  const std::uint8_t tail[14] = {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  f.insert(f.end(), tail, tail + 14);
  return f;
}

TEST(WaveReader, ExtensibleFormatsByTheirSubFormat) {
  Bytes chunks;
  put_chunk(chunks, "fmt ", extensible_fmt(1, 16));
  put_chunk(chunks, "data", frames_1_to_8());
  const Outcome pcm = read_all(riff(chunks));
  ASSERT_EQ(pcm.status, WaveStatus::kOk);
  EXPECT_EQ(pcm.format.format_tag, kWaveFormatExtensible);
  EXPECT_EQ(pcm.format.format_code, kWaveFormatPcm);
  EXPECT_EQ(pcm.first_bytes, frames_1_to_8());

  Bytes adpcm;
  put_chunk(adpcm, "fmt ", extensible_fmt(2, 16));
  put_chunk(adpcm, "data", frames_1_to_8());
  EXPECT_EQ(read_all(riff(adpcm)).status, WaveStatus::kNotPcm);

  Bytes odd_guid;
  Bytes fmt = extensible_fmt(1, 16);
  fmt.back() = 0x72;
  put_chunk(odd_guid, "fmt ", fmt);
  put_chunk(odd_guid, "data", frames_1_to_8());
  EXPECT_EQ(read_all(riff(odd_guid)).status, WaveStatus::kNotPcm);

  for (std::uint16_t bad_size : {0, 21, 23}) {
    Bytes cut;
    put_chunk(cut, "fmt ", extensible_fmt(1, 16, bad_size));
    put_chunk(cut, "data", frames_1_to_8());
    EXPECT_EQ(read_all(riff(cut)).status, WaveStatus::kFormatExtensionInvalid)
        << "extension size " << bad_size;
  }
  Bytes short_chunk;
  put_chunk(short_chunk, "fmt ", fmt_body(kWaveFormatExtensible, 2, 44100, 16));
  put_chunk(short_chunk, "data", frames_1_to_8());
  EXPECT_EQ(read_all(riff(short_chunk)).status, WaveStatus::kFormatExtensionInvalid);
}

TEST(WaveReader, BitDepthIsKnownBeforeTheDataIsSought) {
  for (std::uint16_t bits : {8, 24, 32}) {
    Bytes chunks;
    put_chunk(chunks, "fmt ", fmt_body(1, 1, 44100, bits));  // and no data chunk
    const Bytes file = riff(chunks);
    MemorySource source(file);
    WaveFormat f;
    ASSERT_EQ(read_wave_format(source, f), WaveStatus::kOk);
    EXPECT_EQ(f.bits_per_sample, bits);
  }
}

TEST(WaveReader, DataSizeTenWithBlockAlignFourIsTwoFrames) {
  EXPECT_EQ(wave_frame_count(10, 4), 2);
  EXPECT_EQ(wave_frame_count(9, 2), 4);
}

TEST(WaveReader, RefusesWhatItCannotUse) {
  struct Case {
    const char* name;
    Bytes file;
    WaveStatus expected;
  };
  Bytes not_riff = riff({});
  std::memcpy(not_riff.data(), "RIFX", 4);
  Bytes not_wave = riff({});
  std::memcpy(not_wave.data() + 8, "AVI ", 4);
  Bytes data_first;
  put_chunk(data_first, "data", frames_1_to_8());
  put_chunk(data_first, "fmt ", fmt_body(1, 1, 44100, 16));
  Bytes tiny_fmt;
  put_chunk(tiny_fmt, "fmt ", Bytes(14, 1));
  auto with_fmt = [](Bytes fmt, std::uint32_t data_size = 16) {
    Bytes c;
    put_chunk(c, "fmt ", fmt);
    put_id(c, "data");
    put_u32(c, data_size);
    const Bytes d = frames_1_to_8();
    c.insert(c.end(), d.begin(), d.end());
    return riff(c);
  };
  Bytes zero_align = fmt_body(1, 1, 44100, 16);
  store_u16le(&zero_align[12], 0);
  Bytes negative_align = fmt_body(1, 1, 44100, 16);
  store_u16le(&negative_align[12], 0xFFFE);
  Bytes negative_rate = fmt_body(1, 1, 44100, 16);
  store_u32le(&negative_rate[4], 0x80000000u);

  const std::vector<Case> cases = {
      {"not RIFF", not_riff, WaveStatus::kNotRiff},
      {"not WAVE", not_wave, WaveStatus::kNotWave},
      {"data before fmt", riff(data_first), WaveStatus::kNoFormatChunk},
      {"14-byte fmt", riff(tiny_fmt), WaveStatus::kFormatChunkTooSmall},
      {"float", with_fmt(fmt_body(3, 1, 44100, 16)), WaveStatus::kNotPcm},
      {"0 channels", with_fmt(fmt_body(1, 0, 44100, 16)), WaveStatus::kBadChannelCount},
      {"3 channels", with_fmt(fmt_body(1, 3, 44100, 16)), WaveStatus::kBadChannelCount},
      {"rate 0", with_fmt(fmt_body(1, 1, 0, 16)), WaveStatus::kBadSampleRate},
      {"negative rate", with_fmt(negative_rate), WaveStatus::kBadSampleRate},
      {"block align 0", with_fmt(zero_align), WaveStatus::kBadBlockAlign},
      {"negative block align", with_fmt(negative_align), WaveStatus::kBadBlockAlign},
      {"data over 2 GiB", with_fmt(fmt_body(1, 1, 44100, 16), 0x80000000u),
       WaveStatus::kNegativeDataSize},
  };
  for (const Case& c : cases) {
    const Outcome o = read_all(c.file);
    EXPECT_EQ(o.status, c.expected) << c.name;
    EXPECT_FALSE(wave_status_message(o.status).empty()) << c.name;
  }
}

TEST(WaveReader, EveryCutOfAFileIsTruncationNeverAMisread) {
  Bytes chunks;
  put_chunk(chunks, "fmt ", extensible_fmt(1, 16));
  put_chunk(chunks, "LIST", Bytes(7, 'x'));
  put_chunk(chunks, "data", frames_1_to_8());
  const Bytes file = riff(chunks);
  const std::size_t samples_at = file.size() - 16;
  for (std::size_t len = 0; len < samples_at; ++len) {
    MemorySource source{std::span(file).first(len)};
    EXPECT_EQ(read_all(source).status, WaveStatus::kTruncated) << "cut at " << len;
  }
}

TEST(WaveReader, GarbageChunkSizesEndTheWalkAtTheEndOfTheFile) {
  Bytes chunks;
  put_chunk(chunks, "fmt ", fmt_body(1, 1, 44100, 16));
  put_id(chunks, "XXXX");
  put_u32(chunks, 0xFFFFFFFFu);
  chunks.resize(chunks.size() + 100, 0);
  EXPECT_EQ(read_all(riff(chunks)).status, WaveStatus::kTruncated);
}

// ---- the independent test files ----

namespace fs = std::filesystem;

Outcome read_file(const fs::path& path) {
  FileSource source;
  EXPECT_TRUE(source.open(path.string())) << path;
  return read_all(source);
}

std::string describe(const Outcome& o) {
  if (o.status != WaveStatus::kOk) {
    switch (o.status) {
      case WaveStatus::kTruncated: return "truncated";
      case WaveStatus::kNotRiff: return "not RIFF";
      case WaveStatus::kNotWave: return "not WAVE";
      case WaveStatus::kNoFormatChunk: return "no format chunk";
      case WaveStatus::kFormatChunkTooSmall: return "format chunk too small";
      case WaveStatus::kFormatExtensionInvalid: return "extension invalid";
      case WaveStatus::kNotPcm: return "not PCM";
      case WaveStatus::kBadChannelCount: return "channel count";
      case WaveStatus::kBadSampleRate: return "sample rate";
      default: return "other refusal";
    }
  }
  if (o.format.bits_per_sample != 16) {
    return "bits " + std::to_string(o.format.bits_per_sample);
  }
  return "ok";
}

TEST(WaveReaderOnIndependentFiles, Every16BitOneOrTwoChannelPcmFileReadsItsSamples) {
  const fs::path valid = fs::path(WAV_EXTERNAL_DIR) / "valid";
  // Every 16-bit file of the set holds the same square wave; the plain files
  // give the reference bytes.
  const Outcome mono = read_file(valid / "mono_pcm_16_44100.wav");
  const Outcome stereo = read_file(valid / "stereo_pcm_16_44100.wav");
  ASSERT_EQ(describe(mono), "ok");
  ASSERT_EQ(describe(stereo), "ok");
  EXPECT_EQ(mono.data_size, 4480);
  EXPECT_EQ(stereo.data_size, 8960);
  EXPECT_EQ(load_i16le(&mono.first_bytes[0]), -10000);
  EXPECT_EQ(load_i16le(&mono.first_bytes[8]), 10000);

  int checked = 0;
  for (const auto& entry : fs::directory_iterator(valid)) {
    if (entry.path().extension() != ".wav") continue;
    const std::string name = entry.path().filename().string();
    const Outcome o = read_file(entry.path());
    const bool is_16_bit_pcm = name.find("pcm_16") != std::string::npos;
    const bool mono_or_stereo = name.find("mono") != std::string::npos ||
                                name.find("stereo") != std::string::npos;
    if (is_16_bit_pcm && mono_or_stereo) {
      ASSERT_EQ(describe(o), "ok") << name;
      const Outcome& ref = o.format.channel_count == 1 ? mono : stereo;
      EXPECT_EQ(o.format.sample_rate, 44100) << name;
      EXPECT_EQ(o.data_size, ref.data_size) << name;
      EXPECT_EQ(o.first_bytes, ref.first_bytes) << name;
      ++checked;
    } else if (is_16_bit_pcm) {
      EXPECT_EQ(describe(o), "channel count") << name;
    }
  }
  EXPECT_EQ(checked, 12);
}

TEST(WaveReaderOnIndependentFiles, EveryFileEndsInAResultThatNamesIt) {
  const std::map<std::string, std::string> expected = {
      // Damaged files.
      {"invalid/bad_riff_header.wav", "not RIFF"},
      {"invalid/bad_wavefile_format.wav", "not WAVE"},
      {"invalid/data_chunk_ends_after_chunk_id.wav", "bits 8"},
      {"invalid/data_chunk_has_incomplete_chunk_size.wav", "bits 8"},
      {"invalid/data_chunk_truncated.wav", "bits 8"},
      {"invalid/empty.wav", "truncated"},
      {"invalid/empty_format_chunk.wav", "truncated"},
      {"invalid/extensible_format_chunk_extension_incomplete.wav", "extension invalid"},
      {"invalid/extensible_format_chunk_extension_incomplete_in_incorrectly_sized_chunk.wav",
       "extension invalid"},
      {"invalid/extensible_format_chunk_extension_incomplete_in_large_enough_chunk.wav",
       "extension invalid"},
      {"invalid/extensible_format_chunk_extension_missing.wav", "extension invalid"},
      {"invalid/extensible_format_chunk_extension_size_incomplete.wav", "extension invalid"},
      {"invalid/extensible_format_chunk_extension_size_incomplete_with_padding_byte.wav",
       "extension invalid"},
      {"invalid/extensible_format_chunk_extension_truncated.wav", "extension invalid"},
      {"invalid/extensible_format_chunk_oversized_extension_too_large.wav",
       "extension invalid"},
      {"invalid/float_format_chunk_extension_size_incomplete.wav", "bits 32"},
      {"invalid/float_format_chunk_extension_size_incomplete_with_padding_byte.wav", "bits 32"},
      {"invalid/float_format_chunk_oversized_extension_too_large.wav", "bits 32"},
      {"invalid/format_chunk_after_data_chunk.wav", "no format chunk"},
      {"invalid/format_chunk_extra_bytes_with_odd_size_and_missing_padding_byte.wav", "bits 8"},
      {"invalid/format_chunk_with_extra_byte_and_missing_padding_byte.wav", "bits 8"},
      {"invalid/incomplete_riff_format.wav", "truncated"},
      {"invalid/incomplete_riff_header.wav", "truncated"},
      {"invalid/insufficient_format_chunk.wav", "format chunk too small"},
      {"invalid/no_data_chunk.wav", "truncated"},
      {"invalid/no_format_chunk_size.wav", "truncated"},
      {"invalid/no_riff_format.wav", "truncated"},
      {"invalid/riff_chunk_has_incomplete_chunk_size.wav", "truncated"},
      {"invalid/riff_chunk_has_no_child_chunks.wav", "truncated"},
      // The smpl chunks are damaged, but the walk passes them by their size.
      {"invalid/smpl_chunk_empty.wav", "ok"},
      {"invalid/smpl_chunk_loop_count_too_high.wav", "ok"},
      {"invalid/smpl_chunk_truncated.wav", "ok"},
      {"invalid/smpl_chunk_truncated_sampler_specific_data.wav", "ok"},
      {"invalid/unsupported_format_extension_size_incomplete.wav", "bits 4"},
      {"invalid/unsupported_format_extension_size_incomplete_with_padding_byte.wav", "bits 4"},
      {"invalid/unsupported_format_extension_truncated.wav", "bits 4"},
      {"invalid/unsupported_format_oversized_extension_too_large.wav", "bits 4"},
      // Well-formed files the converters cannot use.
      {"unsupported/bad_channel_count.wav", "channel count"},
      {"unsupported/bad_sample_rate.wav", "sample rate"},
      {"unsupported/extensible_container_size_bigger_than_sample_size.wav", "bits 32"},
      {"unsupported/extensible_unsupported_subformat_guid.wav", "not PCM"},
      {"unsupported/unsupported_audio_format.wav", "bits 8"},
      {"unsupported/unsupported_bits_per_sample.wav", "bits 20"},
      {"unsupported/unsupported_format_code_missing_extension_size.wav", "bits 4"},
      {"unsupported/unsupported_format_code_with_extension.wav", "bits 4"},
      {"unsupported/unsupported_format_code_with_extension_and_extra_bytes.wav", "bits 4"},
      {"unsupported/unsupported_format_code_with_incomplete_extension.wav", "bits 4"},
      {"unsupported/unsupported_format_code_with_oversized_extension.wav", "bits 4"},
      {"unsupported/unsupported_format_code_with_oversized_extension_and_extra_bytes.wav",
       "bits 4"},
  };
  const fs::path root(WAV_EXTERNAL_DIR);
  std::size_t seen = 0;
  for (const char* folder : {"invalid", "unsupported"}) {
    for (const auto& entry : fs::directory_iterator(root / folder)) {
      if (entry.path().extension() != ".wav") continue;
      const std::string key =
          std::string(folder) + "/" + entry.path().filename().string();
      const auto it = expected.find(key);
      ASSERT_NE(it, expected.end()) << "no expectation for " << key;
      EXPECT_EQ(describe(read_file(entry.path())), it->second) << key;
      ++seen;
    }
  }
  EXPECT_EQ(seen, expected.size());
}

TEST(WaveReaderOnIndependentFiles, EveryOtherValidFileReadsOrTellsItsBitDepth) {
  const fs::path valid = fs::path(WAV_EXTERNAL_DIR) / "valid";
  const Outcome stereo = read_file(valid / "stereo_pcm_16_44100.wav");
  for (const auto& entry : fs::directory_iterator(valid)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".wav" || name.find("pcm_16") != std::string::npos) {
      continue;
    }
    const Outcome o = read_file(entry.path());
    std::string expected = "ok";
    for (const char* depth : {"_8_", "_24_", "_32_", "_64_"}) {
      if (name.find(depth) != std::string::npos) {
        expected = "bits " + std::string(depth + 1, std::strlen(depth) - 2);
      }
    }
    if (name.find("format_chunk") != std::string::npos ||
        name.find("no_samples") != std::string::npos ||
        name.find("multiple_smpl") != std::string::npos ||
        name.find("data_chunk_has_padding") != std::string::npos) {
      expected = "bits 8";  // 8-bit files named after their chunk layout
    }
    if (name.find("float_format_chunk") != std::string::npos) expected = "bits 32";
    EXPECT_EQ(describe(o), expected) << name;
    if (expected == "ok") {
      EXPECT_EQ(o.first_bytes, stereo.first_bytes) << name;
    }
  }
}

}  // namespace
}  // namespace formats
