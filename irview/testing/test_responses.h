// Synthetic impulse responses and the files they are written to, for the
// viewer's tests.
#ifndef IRVIEW_TESTING_TEST_RESPONSES_H_
#define IRVIEW_TESTING_TEST_RESPONSES_H_

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <span>
#include <vector>

namespace irview::testing {

// `delay_s` of silence, then noise decaying by 60 dB in `t60_s` (its
// energy falls as 10^(-6 t / t60)), peak below 1, from a fixed `seed`.
std::vector<float> decayingNoise(double rateHz, double t60_s, std::size_t points, unsigned seed = 1,
                                 double delay_s = 0.005);

// The bytes of a .TIM file as irgen writes it (head, samples, trailer), and
// of a 16-bit PCM WAVE file of the channels (all of one length, -1..1).
QByteArray timFileBytes(std::span<const float> samples, double rateHz);
QByteArray waveFileBytes(const std::vector<std::vector<float>>& channels, int rateHz);

// Writes `bytes` to `path`; false when that failed.
bool writeBytes(const QString& path, const QByteArray& bytes);

}  // namespace irview::testing

#endif  // IRVIEW_TESTING_TEST_RESPONSES_H_
