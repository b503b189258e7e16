// Synthetic impulse responses and the bytes of the files that hold them,
// for the viewer's tests: the analysis's own synthetic decays and .TIM
// writer (analysis/testing/synthetic.h) and its audio encoder, in the
// viewer's types.
#ifndef IRVIEW_TESTING_TEST_RESPONSES_H_
#define IRVIEW_TESTING_TEST_RESPONSES_H_

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace irview::testing {

// `delay_s` of silence, then noise whose energy falls by 60 dB in `t60_s`,
// starting at 0.9 of full scale; `points` samples in all.
std::vector<float> decayingNoise(double rateHz, double t60_s, std::size_t points,
                                 std::uint64_t seed = 1, double delay_s = 0.005);

// A .TIM file as irgen writes it, and a 16-bit PCM WAVE file of the
// channels (all of one length).
QByteArray timFileBytes(const std::vector<float>& samples, int rateHz);
QByteArray waveFileBytes(const std::vector<std::vector<float>>& channels, int rateHz);

// Writes `bytes` to `path`; false when that failed.
bool writeBytes(const QString& path, const QByteArray& bytes);

}  // namespace irview::testing

#endif  // IRVIEW_TESTING_TEST_RESPONSES_H_
