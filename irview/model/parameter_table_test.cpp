// The parameter table and its CSV, from analysis results made by hand, and
// the facts line of a file.
#include "irview/model/parameter_table.h"

#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include "analysis/dsp/octave_bands.h"
#include "irview/model/file_facts.h"

namespace irview {
namespace {

using analysis::Parameter;

analysis::BandAnalysis bandResult(std::optional<int> band, double t30) {
  analysis::BandAnalysis result;
  if (band) result.band = analysis::octave_bands()[*band];
  for (const Parameter p : analysis::kParameters) result.parameters.set(p, 0.5);
  result.parameters.set(Parameter::kT30, t30);
  result.parameters.set(Parameter::kC50, -1.26);
  result.parameters.set(Parameter::kTs, 87.4);
  return result;
}

// Two traces: a 44.1 kHz one analysed in 1k and 2k, a 96 kHz one in 2k and
// 16k, where T30 at 16k is missing.
struct Fixture {
  Fixture() {
    auto first = std::make_shared<analysis::ResponseFile>();
    first->sample_rate_hz = 44100.0;
    first->channels = {{1.0f, 0.5f}};
    auto second = std::make_shared<analysis::ResponseFile>(*first);
    second->sample_rate_hz = 96000.0;

    auto firstAnalysis = std::make_shared<FileAnalysis>();
    firstAnalysis->channels.push_back({{bandResult(5, 1.234), bandResult(6, 1.0),
                                        bandResult(std::nullopt, 1.1)}});
    auto secondAnalysis = std::make_shared<FileAnalysis>();
    analysis::BandAnalysis high = bandResult(9, 0.0);
    high.parameters.set_missing(Parameter::kT30, "decay range too small above the noise");
    high.parameters.set_missing(Parameter::kT20, "decay range too small above the noise");
    secondAnalysis->channels.push_back({{bandResult(6, 0.9), high, bandResult(std::nullopt, 1.0)}});

    traces = {{"a.tim", "dir/a.tim", 0, first, nullptr, firstAnalysis},
              {"b, \"quoted\".wav", "b, \"quoted\".wav", 0, second, nullptr, secondAnalysis},
              {"waiting.tim", "waiting.tim", 0, first, nullptr, nullptr}};
  }
  std::vector<Trace> traces;
};

TEST(ParameterTableTest, ColumnsAreTheBandsOfAnyTraceAndMissingValuesKeepTheirReason) {
  const Fixture fixture;
  const ParameterTable table = parameterTable(fixture.traces);
  EXPECT_EQ(table.headings, QStringList({"1k", "2k", "16k", "unfiltered"}));
  // The trace without an analysis is left out: two traces, eight rows each.
  ASSERT_EQ(table.rows.size(), 16);

  const TableRow& t30 = table.rows[static_cast<int>(Parameter::kT30)];
  EXPECT_EQ(t30.trace, "a.tim");
  EXPECT_EQ(t30.cells, (QList<TableCell>{{"1.23", ""}, {"1.00", ""}, {"", ""}, {"1.10", ""}}));
  const TableRow& otherT30 = table.rows[8 + static_cast<int>(Parameter::kT30)];
  EXPECT_EQ(otherT30.cells[2], (TableCell{"-", "decay range too small above the noise"}));
  EXPECT_EQ(otherT30.cells[0], TableCell{});  // no 1k band in that trace
  EXPECT_EQ(otherT30.cells[1].text, "0.90");

  EXPECT_EQ(table.rows[static_cast<int>(Parameter::kC50)].cells[0].text, "-1.3");  // -1.26
  EXPECT_EQ(table.rows[static_cast<int>(Parameter::kTs)].cells[0].text, "87");
  EXPECT_EQ(rowHeading(Parameter::kT30), "T30 (s)");
  EXPECT_EQ(rowHeading(Parameter::kD50), "D50");

  // One note per trace and reason, naming where it applies.
  EXPECT_EQ(table.notes, QStringList({"b, \"quoted\".wav: T20 at 16k, T30 at 16k: "
                                      "decay range too small above the noise"}));
}

TEST(ParameterTableTest, CsvHasIrinfosColumnsOneRecordPerChannelAndBand) {
  const Fixture fixture;
  const QStringList lines = QString::fromUtf8(csvText(fixture.traces)).split(u'\n');
  ASSERT_EQ(lines.size(), 1 + 6 + 1);  // heading, 3 + 3 records, the final line feed
  EXPECT_EQ(lines[0], "file,channel,band_hz,edt_s,t20_s,t30_s,c50_db,c80_db,d50,ts_ms,pnr_db,missing");
  EXPECT_EQ(lines[1], "dir/a.tim,1,1000,0.5,0.5,1.234,-1.26,0.5,0.5,87.4,0.5,");
  EXPECT_EQ(lines[3], "dir/a.tim,1,,0.5,0.5,1.1,-1.26,0.5,0.5,87.4,0.5,");
  EXPECT_EQ(lines[5],
            "\"b, \"\"quoted\"\".wav\",1,16000,0.5,,,-1.26,0.5,0.5,87.4,0.5,"
            "t20_s: decay range too small above the noise; "
            "t30_s: decay range too small above the noise");
  EXPECT_TRUE(lines[7].isEmpty());
}

TEST(FileFactsTest, FormatRatePointsPeakAndTheTimTrailer) {
  analysis::ResponseFile file;
  file.format = "TIM (32-bit float)";
  file.sample_rate_hz = 48000.0;
  file.channels = {std::vector<float>(4800, 0.0f)};
  file.channels[0][240] = -0.75f;
  analysis::TimDetails tim;
  tim.sample_interval_ms = 1.0f / 48.0f;
  tim.has_trailer = true;
  tim.timestamp = " 9/12/2026 10: 0: 0";
  tim.source_name = "take1.wav                          ";
  tim.level_factor = 1.5f;
  file.tim = tim;
  EXPECT_EQ(fileFacts("/d/left.tim", file),
            "left.tim: TIM (32-bit float), 1 channel, 48000 Hz, 4800 points, 0.1 s, "
            "peak -0.75 at 0.005 s (channel 1); date 9/12/2026 10: 0: 0, source take1.wav, "
            "level factor 1.5, sample interval 0.0208333 ms");
  file.tim->has_trailer = false;
  EXPECT_TRUE(fileFacts("left.tim", file).endsWith("; no trailer, sample interval 0.0208333 ms"));
}

}  // namespace
}  // namespace irview
