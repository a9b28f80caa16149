#pragma once
// Finding and starting the spreadsheet programs an export is handed to.

#include <QString>
#include <optional>

class QProcess;

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

// Whether the desktop names an application for .xlsx files, asked of
// xdg-mime once, in the background, from construction on: nothing ever waits
// for the answer. Needs the Qt event loop to learn that the query finished.
class XlsxApplicationQuery {
 public:
  XlsxApplicationQuery();
  ~XlsxApplicationQuery();
  XlsxApplicationQuery(const XlsxApplicationQuery&) = delete;
  XlsxApplicationQuery& operator=(const XlsxApplicationQuery&) = delete;

  // False only when xdg-mime answered and named no application; true while
  // it is still running, when it failed or is not installed, so that the
  // desktop's own opening decides.
  bool hasApplication();
  // Whether there is nothing more to wait for.
  bool finished() const;

 private:
  QProcess* process_ = nullptr;
  std::optional<bool> answer_;
};

}  // namespace tesmir
