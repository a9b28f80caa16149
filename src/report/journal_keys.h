#pragma once
// The keys of a line journal file's text fields and the record fields they
// fill, shared by its writer and its two readers.

#include <string>

#include "journal/journal_network.h"

namespace tesmir::journal_keys {

// A text field of a line, the device or the transformer, by its key.
template <class Record>
struct TextKey {
  const char* key;
  std::string Record::*field;
};

// Fields that hold numbers: a decimal text, or a JSON number.
inline constexpr TextKey<JournalLine> kLineNumbers[] = {
    {"ff", &JournalLine::ff},         {"fn", &JournalLine::fn},        {"par", &JournalLine::par},
    {"length", &JournalLine::length}, {"ip", &JournalLine::ip},        {"cos_phi", &JournalLine::cosPhi},
    {"arc", &JournalLine::arc},       {"t_norm", &JournalLine::tNorm},
};
// Fields that hold texts only.
inline constexpr TextKey<JournalLine> kLineTexts[] = {
    {"from", &JournalLine::from},         {"to", &JournalLine::to},
    {"mark", &JournalLine::mark},         {"kind", &JournalLine::kind},
    {"material", &JournalLine::material}, {"model", &JournalLine::model},
};
inline constexpr TextKey<JournalDevice> kDeviceNumbers[] = {
    {"in", &JournalDevice::in},         {"release_current", &JournalDevice::releaseCurrent},
    {"safety", &JournalDevice::safety}, {"icu_ka", &JournalDevice::icuKa},
    {"i2t", &JournalDevice::i2t},       {"t_inst", &JournalDevice::tInst},
};
inline constexpr TextKey<JournalDevice> kDeviceTexts[] = {
    {"type", &JournalDevice::type},
    {"multiple", &JournalDevice::multiple},
    {"fuse_type", &JournalDevice::fuseType},
    {"time", &JournalDevice::time},
};
inline constexpr TextKey<JournalNetwork> kNetworkNumbers[] = {
    {"arc", &JournalNetwork::arc},
    {"du_limit_tp_pct", &JournalNetwork::duLimitTpPct},
    {"du_limit_vru_pct", &JournalNetwork::duLimitVruPct},
};
inline constexpr TextKey<JournalNetwork> kTransformerNumbers[] = {
    {"power", &JournalNetwork::power},
    {"sk_mva", &JournalNetwork::skMva},
    {"sk_min_mva", &JournalNetwork::skMinMva},
};
inline constexpr const char* kInsulations[] = {"PVC", "XLPE", "paper"};

}  // namespace tesmir::journal_keys
