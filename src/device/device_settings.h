#pragma once
// The protective device last accepted by the device dialog.

#include <cstdint>

namespace tesmir {

struct DeviceSettings {
  double TokAVnom = 0;       // breaker rated current, A
  double KNR = 0;            // breaker instantaneous-release multiple
  double KZAV = 0;           // breaker safety factor
  double TokNR = 0;          // breaker trip current given directly, A
  std::int32_t TypePP = 0;   // fuse type: 1 "ППН", 2 "ПН2", 3 "НПН"
  std::int32_t TimePP = 0;   // fuse time class: 1 "Тср < 5 с", 2 "Тср < 0,4 с"
  double TokPP = 0;          // fuse rated current as entered, A
  double TokSR = 0;          // trip current; > 0 means a device is defined (-1 after reset)
  std::int32_t KindDD = 0;   // 0 none yet, 1 circuit breaker, 2 fuse
};

}  // namespace tesmir
