#include "report/spreadsheet_launch.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace tesmir {

QString FindCalcProgram() {
  for (const char* name : {"soffice", "libreoffice", "localc"}) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!path.isEmpty()) return path;
  }
  return {};
}

QString StartCalc(const QString& program, const QString& file) {
  QProcess process;
  process.setProgram(program);
  process.setArguments({QStringLiteral("--calc"), QStringLiteral("-n"), file});
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  if (!process.startDetached()) return QStringLiteral("%1: %2").arg(program, process.errorString());
  return {};
}

bool DesktopHasXlsxApplication() {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return true;
  QProcess query;
  query.setStandardInputFile(QProcess::nullDevice());
  query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(kXlsxMimeType)});
  if (!query.waitForFinished(5000)) {
    query.kill();
    query.waitForFinished(1000);
    return true;
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return true;
  return !query.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace tesmir
