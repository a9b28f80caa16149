#pragma once
// The protective device last accepted by the device dialog.

#include <cstdint>

namespace tesmir {

// The device kind of the last acceptance attempt.
enum class DeviceKind : std::int32_t { None = 0, Breaker = 1, Fuse = 2 };

// The fuse type; the codes follow the type list: "ППН", "ПН2", "НПН".
enum class FuseType : std::int32_t { None = 0, PPN = 1, PN2 = 2, NPN = 3 };

// The fuse time class: the link blows within 5 s or within 0.4 s.
enum class FuseTime : std::int32_t { None = 0, Within5s = 1, Within04s = 2 };

struct DeviceSettings {
  double TokAVnom = 0;               // breaker rated current, A
  double KNR = 0;                    // breaker instantaneous-release multiple
  double KZAV = 0;                   // breaker safety factor
  double TokNR = 0;                  // breaker trip current given directly, A
  FuseType TypePP = FuseType::None;  // fuse type
  FuseTime TimePP = FuseTime::None;  // fuse time class
  double TokPP = 0;                  // fuse rated current as entered, A
  double TokSR = 0;                  // trip current; > 0 means a device is defined (-1 after reset)
  DeviceKind KindDD = DeviceKind::None;
  bool operator==(const DeviceSettings&) const = default;
};

}  // namespace tesmir
