#pragma once
// The property the feeder-file fuzz target and the corpus test share: bytes
// the reader accepts are written back and read again to the same feeder, and
// bytes it rejects always come with a reason.

#include <QByteArrayView>

#include "report/feeder_file.h"

namespace tesmir {

inline bool FeederReadWriteReadAgrees(QByteArrayView bytes) {
  const FeederParse first = ParseFeeder(bytes);
  if (!first.data) {
    return !first.reason.isEmpty();
  }
  const FeederParse second = ParseFeeder(FeederToJson(*first.data));
  return second.data && *second.data == *first.data;
}

}  // namespace tesmir
