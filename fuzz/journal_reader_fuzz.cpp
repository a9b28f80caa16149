// Feeds arbitrary bytes to the line journal reader. Besides crashes and hangs
// it checks that an accepted file survives a write and a second read, and
// that a rejected one is given a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "journal_roundtrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (!tesmir::JournalReadWriteReadAgrees(bytes)) {
    std::abort();
  }
  return 0;
}
