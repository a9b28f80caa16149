#pragma once
// What the workbook writers share: libxlsxwriter under the "C" number
// format, and cell texts the library can take.

#include <locale.h>

#include <string>

namespace tesmir::xlsx_detail {

// libxlsxwriter prints its numbers (column widths among them) with printf,
// which follows LC_NUMERIC: under a locale with a decimal comma the workbook
// would get widths such as "8,7109375" that spreadsheet programs reject.
// This switches the calling thread to the "C" number format for its lifetime
// and leaves the process-wide locale alone.
class CNumericScope {
 public:
  CNumericScope() {
    locale_t current = duplocale(LC_GLOBAL_LOCALE);
    if (current == locale_t{}) return;
    c_numeric_ = newlocale(LC_NUMERIC_MASK, "C", current);
    if (c_numeric_ == locale_t{}) {
      freelocale(current);
      return;
    }
    previous_ = uselocale(c_numeric_);
  }
  ~CNumericScope() {
    if (c_numeric_ == locale_t{}) return;
    uselocale(previous_);
    freelocale(c_numeric_);
  }
  CNumericScope(const CNumericScope&) = delete;
  CNumericScope& operator=(const CNumericScope&) = delete;

 private:
  locale_t c_numeric_{};
  locale_t previous_{};
};

// The library takes C strings: a NUL inside a cell would end it there, so it
// is written as U+FFFD. Returns `cell` itself when it holds no NUL.
const std::string& CellText(const std::string& cell, std::string& scratch);

}  // namespace tesmir::xlsx_detail
