// Feeds arbitrary bytes to the readers of typed numbers and checks the rules
// of number_text_props.h.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "number_text_props.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!tesmir::NumberReadersKeepTheirRules(std::string_view(reinterpret_cast<const char*>(data), size))) {
    std::abort();
  }
  return 0;
}
