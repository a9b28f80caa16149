#pragma once
// The six-section feeder the calculation benchmarks share: every line kind,
// parallel conductors and a copper 2.5 mm² last section (the one the
// protection check searches the catalogue for).

#include "core/loop_calc.h"

namespace tesmir::bench {

inline SchemeInput MixedFeeder() {
  SchemeInput in;
  in.windKind = "T/Y-0";
  in.transPower = "630";
  in.rArc = "15";
  in.lines[0] = {"Кабель с бумажной изоляцией", "Алюминий", "240", "120", "85.5", "2"};
  in.lines[1] = {"Шинопровод Gersan", "GSC, 2500A", "0", "0", "40", "нет"};
  in.lines[2] = {"Кабель с ПВХ изоляцией", "Медь", "95", "50", "120", "нет"};
  in.lines[3] = {"Шинопровод ШМА, ШРА", "ШРА73, 400A", "0", "0", "60", "1"};
  in.lines[4] = {"Воздушная", "Алюминий", "70", "50", "350", "нет"};
  in.lines[5] = {"Кабель с ПВХ изоляцией", "Медь", "2.5", "2.5", "25", "$1"};
  return in;
}

}  // namespace tesmir::bench
