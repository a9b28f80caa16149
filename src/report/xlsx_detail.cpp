#include "report/xlsx_detail.h"

namespace tesmir::xlsx_detail {

const std::string& CellText(const std::string& cell, std::string& scratch) {
  if (cell.find('\0') == std::string::npos) return cell;
  scratch.clear();
  for (const char ch : cell) {
    if (ch == '\0')
      scratch += "\xEF\xBF\xBD";
    else
      scratch += ch;
  }
  return scratch;
}

}  // namespace tesmir::xlsx_detail
