#pragma once
// Finding and starting the spreadsheet programs an export is handed to.

#include <QString>

namespace tesmir {

// The LibreOffice program on PATH (soffice, libreoffice or localc, in this
// order of preference); empty when none is installed.
QString FindCalcProgram();

// Starts `program` detached with `--calc -n file`, so Calc opens `file` as a
// new untitled document and never saves over it. Returns the empty text on
// success, otherwise the system's reason.
QString StartCalc(const QString& program, const QString& file);

// The MIME type of .xlsx workbooks.
inline constexpr char kXlsxMimeType[] = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

// Whether the desktop names an application for .xlsx files. Asks xdg-mime
// when it is installed; true when there is nothing to ask, so that the
// desktop's own opening decides.
bool DesktopHasXlsxApplication();

}  // namespace tesmir
