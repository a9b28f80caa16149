#pragma once
// Result of a catalogue lookup: the values, or the exact message for the user.

#include <string_view>

namespace tesmir {

template <class T>
struct Lookup {
  T value{};
  std::string_view error;  // empty on success; otherwise the text to show
  bool ok() const { return error.empty(); }
};

}  // namespace tesmir
