// The Parameters page's text beyond the table: which files make binaural
// pairs, and the modulation transfer matrix of the speech index.
#include "irview/model/room_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "irview/testing/qt_printers.h"
#include "irview/testing/test_responses.h"

namespace irview {
namespace {

ViewedFile analysedFile(const QString& path, int job, double rate,
                        std::vector<std::vector<float>> channels) {
  auto response = std::make_shared<analysis::ResponseFile>();
  response->sample_rate_hz = rate;
  response->channels = std::move(channels);
  auto result = std::make_shared<FileAnalysis>();
  for (const std::vector<float>& c : response->channels)
    result->speech.push_back(analysis::speech_transmission_index(c, rate, std::nullopt));
  ViewedFile file;
  file.path = path;
  file.job = job;
  file.stage = ViewedFile::Stage::Analysed;
  file.response = response;
  file.analysis = result;
  return file;
}

// As irinfo pairs them: a stereo file alone, two mono files in a row of one
// rate; a mono file before a stereo one, or before one of another rate,
// has no partner. A pair's values are computed once.
TEST(RoomTextTest, BinauralPairsAreStereoFilesAndMonoFilesInARow) {
  const std::vector<float> a = testing::decayingNoise(48000, 0.4, 24000, 1);
  const std::vector<float> b = testing::decayingNoise(48000, 0.4, 24000, 2);
  const std::vector<float> c = testing::decayingNoise(44100, 0.4, 22050, 3);
  const std::vector<ViewedFile> files = {
      analysedFile("lonely.tim", 1, 48000, {a}), analysedFile("hall.wav", 2, 48000, {a, b}),
      analysedFile("left.tim", 3, 48000, {a}),   analysedFile("right.tim", 4, 48000, {b}),
      analysedFile("other.tim", 5, 48000, {a}),  analysedFile("rate.tim", 6, 44100, {c})};
  QHash<QString, analysis::BinauralAnalysis> cache;
  const std::vector<BinauralPair> pairs = binauralPairs(files, cache);
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].left, "hall.wav");
  EXPECT_EQ(pairs[0].right, "hall.wav");
  EXPECT_EQ(pairs[1].left, "left.tim");
  EXPECT_EQ(pairs[1].right, "right.tim");
  EXPECT_EQ(cache.size(), 2);
  // Identical ears: the whole response's IACC is 1.
  const std::vector<ViewedFile> same = {analysedFile("l.tim", 7, 48000, {a}),
                                        analysedFile("r.tim", 8, 48000, {a})};
  const std::vector<BinauralPair> one = binauralPairs(same, cache);
  ASSERT_EQ(one.size(), 1u);
  ASSERT_TRUE(one[0].analysis.iacc_a3.value) << one[0].analysis.iacc_a3.missing;
  EXPECT_NEAR(*one[0].analysis.iacc_a3.value, 1.0, 1e-6);
  const QString text = roomText(same, true, cache);
  EXPECT_TRUE(text.contains("binaural pair: left l.tim, right r.tim")) << text.toStdString();
  EXPECT_FALSE(roomText(same, false, cache).contains("binaural"));
}

// The matrix holds each band's m(F) as the index has it, a row per
// modulation frequency; a missing index has none.
TEST(RoomTextTest, TheModulationMatrixHasARowPerFrequency) {
  const std::vector<float> noise = testing::decayingNoise(48000, 0.5, 48000, 4);
  const analysis::SpeechIndex speech = analysis::speech_transmission_index(noise, 48000, std::nullopt);
  ASSERT_TRUE(speech.sti.value) << speech.sti.missing;
  const QStringList rows = modulationMatrixText(speech).split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 1 + static_cast<int>(analysis::kModulationCount));
  EXPECT_TRUE(rows[0].contains("125") && rows[0].contains("8k")) << rows[0].toStdString();
  for (std::size_t f = 0; f < analysis::kModulationCount; ++f) {
    const QStringList cells = rows[static_cast<int>(f) + 1].split(u' ', Qt::SkipEmptyParts);
    ASSERT_EQ(cells.size(), 2 + static_cast<int>(analysis::kSpeechBandCount));
    EXPECT_EQ(cells[0].toDouble(), analysis::kModulationHz[f]);
    for (std::size_t k = 0; k < analysis::kSpeechBandCount; ++k)
      EXPECT_NEAR(cells[static_cast<int>(k) + 2].toDouble(), speech.bands[k].m[f], 0.005);
  }
  EXPECT_TRUE(modulationMatrixText(analysis::SpeechIndex{}).isEmpty());
}

}  // namespace
}  // namespace irview
