#include "report/spreadsheet_launch.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

XlsxApplicationQuery::XlsxApplicationQuery() {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return;
  process_ = new QProcess;
  process_->setStandardInputFile(QProcess::nullDevice());
  process_->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
  // A question for later: it yields the processor to the windows.
  process_->setChildProcessModifier([] { (void)nice(10); });
#endif
  process_->start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(kXlsxMimeType)});
}

XlsxApplicationQuery::~XlsxApplicationQuery() {
  if (process_ == nullptr) return;
  if (process_->state() != QProcess::NotRunning) {
    process_->kill();
    process_->waitForFinished(1000);
  }
  delete process_;
}

bool XlsxApplicationQuery::finished() const { return process_ == nullptr || process_->state() == QProcess::NotRunning; }

bool XlsxApplicationQuery::hasApplication() {
  if (answer_) return *answer_;
  if (!finished()) return true;
  if (process_ == nullptr || process_->error() == QProcess::FailedToStart ||
      process_->exitStatus() != QProcess::NormalExit || process_->exitCode() != 0) {
    answer_ = true;
  } else {
    answer_ = !process_->readAllStandardOutput().trimmed().isEmpty();
  }
  return *answer_;
}

}  // namespace tesmir
