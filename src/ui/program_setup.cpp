#include "ui/program_setup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "tesmir_version.h"

namespace tesmir {

QString DesktopEntryId() { return QString::fromUtf8(kProgramAppId); }

void SetProgramIdentity() {
  QCoreApplication::setApplicationName(QStringLiteral("tesmir"));
  QCoreApplication::setApplicationVersion(QString::fromUtf8(kProgramVersion));
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    QGuiApplication::setDesktopFileName(DesktopEntryId());
  }
}

QtTranslations::QtTranslations(const QLocale& locale) : translator_(std::make_unique<QTranslator>()) {
  if (translator_->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installed_ = QCoreApplication::installTranslator(translator_.get());
  }
}

QtTranslations::~QtTranslations() {
  if (installed_) {
    QCoreApplication::removeTranslator(translator_.get());
  }
}

CommandLine ReadCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Тесмир: расчет тока однофазного короткого замыкания в сетях 0,4 кВ"));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("файл"),
                               QStringLiteral("Файл отчета (.csv или .okz), открываемый при запуске"),
                               QStringLiteral("[файл]"));
  const JournalOptionSet journalOptions = AddJournalOptions(parser);

  CommandLine result;
  if (!parser.parse(arguments)) {
    result.exit = true;
    result.exitCode = 1;
    result.unknownOption = true;
    result.output = parser.errorText() + QLatin1Char('\n');
    return result;
  }
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    result.exit = true;
    result.output = parser.helpText();
    return result;
  }
  if (parser.isSet(version)) {
    result.exit = true;
    result.output = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() +
                    QLatin1Char('\n');
    return result;
  }
  result.journal = ReadJournalOptions(parser, journalOptions);
  if (!result.journal.misuse.isEmpty()) {
    result.exit = true;
    result.exitCode = 1;
    result.output = result.journal.misuse + QLatin1Char('\n');
    return result;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    result.exit = true;
    result.exitCode = 1;
    result.output = QStringLiteral("Можно открыть только один файл отчета.\n") + parser.helpText();
    return result;
  }
  if (!files.isEmpty() && !files.first().isEmpty()) {
    result.reportFile = QFileInfo(files.first()).absoluteFilePath();
  }
  return result;
}

}  // namespace tesmir
