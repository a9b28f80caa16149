// Feeds arbitrary bytes to the report file reader in both layouts. Besides
// crashes and hangs it checks that reading a file, saving what was read and
// reading that again keeps every named row whose cells hold no ';'.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "report_roundtrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const tesmir::ReportLayout layout : {tesmir::ReportLayout::Semicolon, tesmir::ReportLayout::Bar}) {
    if (!tesmir::ReadSaveReadKeepsRows(bytes, layout)) {
      std::abort();
    }
  }
  return 0;
}
