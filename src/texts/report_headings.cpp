#include "texts/report_headings.h"

#include <cstddef>

#include "report/report_columns.h"

namespace tesmir {

ReportColumnHeading ReportColumnHeadingOf(int column) {
  const ReportColumn& t = kReportColumnTable.at(static_cast<std::size_t>(column));
  return {QString::fromUtf8(t.title), QString::fromUtf8(t.unit)};
}

}  // namespace tesmir
