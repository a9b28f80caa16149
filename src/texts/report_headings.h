#pragma once
// The headings over the report's columns, as the report window and the
// report's paper show them.

#include <QString>

namespace tesmir {

// The title and unit the report shows over a column (0..11).
struct ReportColumnHeading {
  QString title;
  QString unit;
};
ReportColumnHeading ReportColumnHeadingOf(int column);

}  // namespace tesmir
