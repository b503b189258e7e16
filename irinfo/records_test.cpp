#include "irinfo/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace irinfo {
namespace {

using analysis::BandAnalysis;
using analysis::Parameter;

TEST(JsonString, EscapesAndKeepsEveryOutputValid) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"left.tim", "\"left.tim\""},
      {"a \"b\" \\c", "\"a \\\"b\\\" \\\\c\""},
      {"line\nbreak\ttab\x01\x7f", "\"line\\nbreak\\ttab\\u0001\\u007f\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5",
       "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xB5\""},
      // Bytes that start no UTF-8 character: a lone continuation, an
      // overlong form, a cut sequence, a surrogate, a stray 0xFF.
      {"\x80|\xC0\x80|\xE2\x82|\xED\xA0\x80|\xFF",
       "\"\xEF\xBF\xBD|\xEF\xBF\xBD\xEF\xBF\xBD|\xEF\xBF\xBD\xEF\xBF\xBD|"
       "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD|\xEF\xBF\xBD\""},
  };
  for (const Case& c : cases) EXPECT_EQ(json_string(c.in), c.out);
}

TEST(NumberText, SixSignificantDigitsWithAPoint) {
  EXPECT_EQ(number_text(1.400477), "1.40048");
  EXPECT_EQ(number_text(0.05), "0.05");
  EXPECT_EQ(number_text(31.5), "31.5");
  EXPECT_EQ(number_text(16000), "16000");
  EXPECT_EQ(number_text(-2.5e-7), "-2.5e-07");
}

const std::string kNoExtras =
    "\"pair\": null, \"iacc_e\": null, \"iacc_l\": null, \"iacc_a\": null, "
    "\"one_minus_iacc_e3\": null, \"mti\": null, \"sti\": null, \"sti_category\": null, "
    "\"sti_conditions\": null, ";

// One band with values and reasons, the broadband response and the mid
// values: every key in its place, null and empty for what is missing,
// quoting where needed.
TEST(Records, CsvAndJsonOfOneChannel) {
  analysis::ChannelAnalysis channel;
  BandAnalysis low;
  low.band = analysis::octave_bands()[0];
  low.parameters = analysis::ParameterSet("the band holds no signal");
  low.parameters.set(Parameter::kPnr, 12.25);
  low.parameters.set_missing(Parameter::kT30,
                             "decay range 30.0 dB above the noise floor, T30 needs 45.0 dB");
  BandAnalysis all;
  all.span = analysis::BandSpan{22.5, 11000};
  for (Parameter p : analysis::kParameters) all.parameters.set(p, 1.0 + static_cast<int>(p));
  channel.results = {low, all};
  channel.mid = analysis::ParameterSet("no single-number value");
  channel.mid.set(Parameter::kEdt, 0.5);

  EXPECT_EQ(csv_header(),
            "file,channel,band_hz,edt_s,t20_s,t30_s,c50_db,c80_db,d50,ts_ms,pnr_db,missing,band,"
            "span_low_hz,span_high_hz,pair,iacc_e,iacc_l,iacc_a,one_minus_iacc_e3,mti,sti,"
            "sti_category,sti_conditions\n");
  const std::string none = "no single-number value";
  EXPECT_EQ(csv_records("a,\"b\".tim", {channel}),
            "\"a,\"\"b\"\".tim\",1,31.5,,,,,,,,12.25,\"edt_s: the band holds no signal; "
            "t20_s: the band holds no signal; t30_s: decay range 30.0 dB above the noise floor, "
            "T30 needs 45.0 dB; c50_db: the band holds no signal; c80_db: the band holds no "
            "signal; d50: the band holds no signal; ts_ms: the band holds no signal\","
            "octave,22.3872,44.6684,,,,,,,,,\n"
            "\"a,\"\"b\"\".tim\",1,,1,2,3,4,5,6,7,8,,broadband,22.5,11000,,,,,,,,,\n"
            "\"a,\"\"b\"\".tim\",1,,0.5,,,,,,,,t20_s: " + none + "; t30_s: " + none +
                "; c50_db: " + none + "; c80_db: " + none + "; d50: " + none + "; ts_ms: " +
                none + "; pnr_db: " + none + ",mid,,,,,,,,,,,\n");
  const std::string json = json_records("x.wav", {channel, channel});
  EXPECT_EQ(
      json.substr(0, json.find('\n')),
      "  {\"file\": \"x.wav\", \"channel\": 1, \"band_hz\": 31.5, \"band\": \"octave\", "
      "\"span_hz\": [22.3872, 44.6684], \"edt_s\": null, "
      "\"t20_s\": null, \"t30_s\": null, \"c50_db\": null, \"c80_db\": null, \"d50\": null, "
      "\"ts_ms\": null, \"pnr_db\": 12.25, " + kNoExtras + "\"missing\": {\"edt_s\": \"the band holds no "
      "signal\", \"t20_s\": \"the band holds no signal\", \"t30_s\": \"decay range 30.0 "
      "dB above the noise floor, T30 needs 45.0 dB\", \"c50_db\": \"the band holds no signal\", "
      "\"c80_db\": \"the band holds no signal\", \"d50\": \"the band holds no signal\", "
      "\"ts_ms\": \"the band holds no signal\"}},");
  EXPECT_NE(
      json.find(
          "\"ts_ms\": \"the band holds no signal\"}},\n  {\"file\": \"x.wav\", \"channel\": 1, "
          "\"band_hz\": null, \"band\": \"broadband\", \"span_hz\": [22.5, 11000], "
          "\"edt_s\": 1, \"t20_s\": 2, \"t30_s\": 3, \"c50_db\": 4, "
          "\"c80_db\": 5, \"d50\": 6, \"ts_ms\": 7, \"pnr_db\": 8, " + kNoExtras +
          "\"missing\": {}},\n"
          "  {\"file\": \"x.wav\", \"channel\": 1, \"band_hz\": null, \"band\": \"mid\", "
          "\"span_hz\": null, \"edt_s\": 0.5, \"t20_s\": null,"),
      std::string::npos)
      << json;
  EXPECT_NE(json.find("\"channel\": 2, \"band_hz\": null, \"band\": \"broadband\""),
            std::string::npos);
  EXPECT_EQ(json.back(), '}');
  EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 5);
}

}  // namespace
}  // namespace irinfo
