// The parameter table and its CSV, from analysis results made by hand, and
// the facts line of a file.
#include "irview/model/parameter_table.h"

#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include "analysis/dsp/octave_bands.h"

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
    firstAnalysis->channels.push_back(
        {{bandResult(5, 1.234), bandResult(6, 1.0), bandResult(std::nullopt, 1.1)}});
    firstAnalysis->channels[0].results.back().span = analysis::broadband_span(44100.0);
    analysis::ParameterSet& mid = firstAnalysis->channels[0].mid;
    for (const Parameter p : analysis::kParameters)
      if (analysis::has_single_number(p)) mid.set(p, 0.5);
    mid.set(Parameter::kT30, 1.117);
    auto secondAnalysis = std::make_shared<FileAnalysis>();
    analysis::BandAnalysis high = bandResult(9, 0.0);
    high.parameters.set_missing(Parameter::kT30, "decay range too small above the noise");
    high.parameters.set_missing(Parameter::kT20, "decay range too small above the noise");
    secondAnalysis->channels.push_back({{bandResult(6, 0.9), high, bandResult(std::nullopt, 1.0)}});
    secondAnalysis->channels[0].results.back().span = analysis::broadband_span(96000.0);
    secondAnalysis->channels[0].mid = analysis::ParameterSet("no 1000 Hz band");

    files.resize(3);
    files[0] = {"dir/a.tim", 1, ViewedFile::Stage::Analysed, first, nullptr, firstAnalysis};
    files[1] = {"b, \"quoted\".wav", 2, ViewedFile::Stage::Analysed, second, nullptr,
                secondAnalysis};
    files[2] = {"waiting.tim", 3, ViewedFile::Stage::Analysing, first, nullptr, nullptr};
    traces = tracesOf(files);
  }
  std::vector<ViewedFile> files;
  std::vector<Trace> traces;
};

TEST(ParameterTableTest, ColumnsAreTheBandsOfAnyTraceAndMissingValuesKeepTheirReason) {
  const Fixture fixture;
  const ParameterTable table = parameterTable(fixture.traces);
  // The spans of 44.1 and 96 kHz differ: the broadband column says only
  // that it is broadband.
  EXPECT_EQ(table.headings, QStringList({"1k", "2k", "16k", "broadband", "mid"}));
  // The trace without an analysis is left out: two traces, eight rows each.
  ASSERT_EQ(table.rows.size(), 16);

  const TableRow& t30 = table.rows[static_cast<int>(Parameter::kT30)];
  EXPECT_EQ(t30.trace, "a.tim");  // the label: the name without its folder
  EXPECT_EQ(t30.cells, (QList<TableCell>{
                           {"1.23", ""}, {"1.00", ""}, {"", ""}, {"1.10", ""}, {"1.12", ""}}));
  // No single number for C50; the second trace has no 1 kHz band for one.
  EXPECT_EQ(table.rows[static_cast<int>(Parameter::kC50)].cells[4], TableCell{});
  EXPECT_EQ(table.rows[8 + static_cast<int>(Parameter::kT30)].cells[4],
            (TableCell{"-", "no 1000 Hz band"}));
  const TableRow& otherT30 = table.rows[8 + static_cast<int>(Parameter::kT30)];
  EXPECT_EQ(otherT30.cells[0], TableCell{});  // no 1k band in that trace
  EXPECT_EQ(otherT30.cells[1].text, "0.90");
  EXPECT_EQ(otherT30.cells[2], (TableCell{"-", "decay range too small above the noise"}));

  EXPECT_EQ(table.rows[static_cast<int>(Parameter::kC50)].cells[0].text, "-1.3");  // -1.26
  EXPECT_EQ(table.rows[static_cast<int>(Parameter::kTs)].cells[0].text, "87");
  EXPECT_EQ(rowHeading(Parameter::kT30), "T30 (s)");
  EXPECT_EQ(rowHeading(Parameter::kD50), "D50");
  EXPECT_EQ(valueText(Parameter::kT30, 0.125), "0.12");  // a tie, rounded as printf does
  EXPECT_EQ(valueText(Parameter::kPnr, 61.25), "61.2");

  // Per band, the parameters of one reason together.
  EXPECT_EQ(table.notes,
            QStringList({"b, \"quoted\".wav, 16000 Hz: T20, T30: "
                         "decay range too small above the noise",
                         "b, \"quoted\".wav, mid: EDT, T20, T30, C80, D50, Ts: no 1000 Hz band"}));
  // One span for all: the broadband column is headed with it.
  std::vector<Trace> first(fixture.traces.begin(), fixture.traces.begin() + 1);
  EXPECT_EQ(parameterTable(first).headings, QStringList({"1k", "2k", "22-11k", "mid"}));
}

TEST(ParameterTableTest, CsvAndFactsAreIrinfosForTheAnalysedFilesInTheirOrder) {
  const Fixture fixture;
  const QStringList lines = QString::fromUtf8(csvText(fixture.files)).split(u'\n');
  ASSERT_EQ(lines.size(), 1 + 8 + 1);  // heading, 4 + 4 records, the final line feed
  EXPECT_EQ(lines[0],
            "file,channel,band_hz,edt_s,t20_s,t30_s,c50_db,c80_db,d50,ts_ms,pnr_db,missing,band,"
            "span_low_hz,span_high_hz,pair,iacc_e,iacc_l,iacc_a,one_minus_iacc_e3,mti,sti,"
            "sti_category,sti_conditions");
  EXPECT_EQ(lines[1],
            "dir/a.tim,1,1000,0.5,0.5,1.234,-1.26,0.5,0.5,87.4,0.5,,octave,707.946,1412.54,,,,,,,,,");
  EXPECT_TRUE(lines[6].startsWith("\"b, \"\"quoted\"\".wav\",1,16000,0.5,,,"));
  EXPECT_TRUE(lines[9].isEmpty());
  EXPECT_TRUE(factsText(fixture.files[0]).startsWith("dir/a.tim\n"));
  EXPECT_TRUE(factsText(ViewedFile{}).isEmpty());
}

}  // namespace
}  // namespace irview
