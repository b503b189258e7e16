#include "irinfo/room/room_records.h"

#include <cmath>

#include "irinfo/records.h"

namespace irinfo {
namespace {

using analysis::ParameterValue;

std::vector<ExtraField> empty_fields() {
  std::vector<ExtraField> fields;
  for (std::string_view key : extra_keys()) fields.push_back({key, {}, {}, {}, false});
  return fields;
}

ExtraField& field(std::vector<ExtraField>& fields, std::string_view key) {
  for (ExtraField& f : fields) {
    if (f.key == key) return f;
  }
  return fields.front();  // every key asked for is in extra_keys()
}

void set(ExtraField& f, const ParameterValue& v) {
  f.applies = true;
  f.number = v.value;
  f.missing = v.missing;
}

}  // namespace

const std::vector<std::string_view>& extra_keys() {
  static const std::vector<std::string_view> keys = {
      "pair", "iacc_e", "iacc_l", "iacc_a", "one_minus_iacc_e3",
      "mti",  "sti",    "sti_category", "sti_conditions"};
  return keys;
}

std::string conditions_text(const std::optional<analysis::SpeechConditions>& c) {
  if (!c) return "reverberation only";
  std::string text = "speech " + number_text(c->speech_level_db) + " dB(A)";
  if (c->noise_levels_db) {
    text += ", noise ";
    for (std::size_t k = 0; k < c->noise_levels_db->size(); ++k) {
      if (k > 0) text += '/';
      text += number_text((*c->noise_levels_db)[k]);
    }
    text += " dB";
  }
  return text;
}

std::vector<ExtraField> channel_fields(const analysis::SpeechIndex* speech,
                                       const std::optional<analysis::OctaveBand>& band) {
  std::vector<ExtraField> fields = empty_fields();
  if (!speech) return fields;
  if (!band) {
    ExtraField& sti = field(fields, "sti");
    set(sti, speech->sti);
    if (sti.number) sti.number = std::round(*sti.number * 100.0) / 100.0;
    ExtraField& category = field(fields, "sti_category");
    category.applies = true;
    if (speech->sti.value) {
      category.text = speech->category;
    } else {
      category.missing = speech->sti.missing;
    }
    ExtraField& conditions = field(fields, "sti_conditions");
    conditions.applies = true;
    conditions.text = conditions_text(speech->conditions);
    return fields;
  }
  for (double hz : analysis::kSpeechBandHz) {
    if (band->nominal_hz != hz) continue;
    ExtraField& mti = field(fields, "mti");
    mti.applies = true;
    for (const analysis::SpeechBand& b : speech->bands) {
      if (b.band.nominal_hz == hz) mti.number = b.mti;
    }
    if (!mti.number) mti.missing = speech->sti.missing;
  }
  return fields;
}

std::vector<ExtraField> pair_fields(const PairRecords& pair, const analysis::BandIacc& r) {
  std::vector<ExtraField> fields = empty_fields();
  ExtraField& name = field(fields, "pair");
  name.applies = true;
  name.text = pair.right_file;
  set(field(fields, "iacc_e"), r.values.early);
  set(field(fields, "iacc_l"), r.values.late);
  set(field(fields, "iacc_a"), r.values.all);
  if (!r.band) set(field(fields, "one_minus_iacc_e3"), pair.analysis.one_minus_iacc_e3);
  return fields;
}

}  // namespace irinfo
