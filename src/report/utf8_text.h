#pragma once
// The domain layers keep their texts as UTF-8 std::string; Qt keeps UTF-16.
// The one conversion from the first to the second.

#include <QString>
#include <string_view>

namespace tesmir {

inline QString QUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace tesmir
