#include "listen/files/sound_reader.h"

#include <sndfile.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "console/process.h"

namespace listen {
namespace {

std::string encoding_name(int format) {
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
      return "8-bit PCM";
    case SF_FORMAT_PCM_16:
      return "16-bit PCM";
    case SF_FORMAT_PCM_24:
      return "24-bit PCM";
    case SF_FORMAT_PCM_32:
      return "32-bit PCM";
    case SF_FORMAT_FLOAT:
      return "32-bit float";
    case SF_FORMAT_DOUBLE:
      return "64-bit float";
    default:
      return "other samples";
  }
}

std::string container_name(int format) {
  SF_FORMAT_INFO info{};
  info.format = format & SF_FORMAT_TYPEMASK;
  if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info) != 0 || info.name == nullptr) {
    return "audio";
  }
  return info.name;
}

}  // namespace

SoundReader::~SoundReader() {
  if (file_ != nullptr) sf_close(static_cast<SNDFILE*>(file_));
}

std::unique_ptr<SoundReader> SoundReader::open(const std::string& path, Problem& problem) {
  const std::filesystem::path native = console::utf8_path(path);
  std::error_code ec;
  if (std::filesystem::is_directory(native, ec)) {
    problem = {1, path + ": cannot be opened: it is a folder"};
    return nullptr;
  }
  std::FILE* probe = console::open_file(native, "rb");
  if (probe == nullptr) {
    problem = {1, path + ": cannot be opened (" + std::strerror(errno) + ")"};
    return nullptr;
  }
  std::fclose(probe);
  SF_INFO info{};
  SNDFILE* file = sf_open(native.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    problem = {2, path + ": not an audio file of a known format (" + sf_strerror(nullptr) + ")"};
    return nullptr;
  }
  std::unique_ptr<SoundReader> reader(new SoundReader);
  reader->file_ = file;
  reader->name_ = path;
  reader->channels_ = static_cast<std::size_t>(std::max(info.channels, 0));
  reader->rate_ = info.samplerate;
  if (info.frames >= 0 && info.frames < SF_COUNT_MAX) {
    reader->frames_ = static_cast<std::size_t>(info.frames);
  }
  reader->format_ = container_name(info.format) + " (" + encoding_name(info.format) + ")";
  if (reader->channels_ == 0) {
    problem = {2, path + ": it holds no channel"};
    return nullptr;
  }
  if (info.samplerate < 1000 || info.samplerate > 1000000) {
    problem = {2, path + ": its sampling rate " + std::to_string(info.samplerate) +
                      " Hz is outside 1000 .. 1000000 Hz"};
    return nullptr;
  }
  return reader;
}

std::size_t SoundReader::read(std::span<float> out) {
  if (!error_.empty()) return 0;
  auto* file = static_cast<SNDFILE*>(file_);
  const sf_count_t want = static_cast<sf_count_t>(out.size() / channels_);
  const sf_count_t got = sf_readf_float(file, out.data(), want);
  if (got < want && sf_error(file) != SF_ERR_NO_ERROR) {
    error_ = name_ + ": the audio data are damaged (" + sf_strerror(file) + ")";
    return 0;
  }
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

}  // namespace listen
