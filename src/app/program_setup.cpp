#include "app/program_setup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <algorithm>
#include <iterator>

#include <pwd.h>
#include <unistd.h>

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

void SettleHomeFolders() {
  const QByteArray home = qgetenv("HOME");
  if (home.isEmpty() || !home.startsWith('/')) {
    // Unset or relative: the password database knows the home folder.
    const passwd* entry = ::getpwuid(::getuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] == '/') {
      qputenv("HOME", QByteArray(entry->pw_dir));
    } else {
      qunsetenv("HOME");
    }
  }
  // A relative XDG base folder is invalid and is ignored.
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
    const QByteArray value = qgetenv(name);
    if (!value.isEmpty() && !value.startsWith('/')) qunsetenv(name);
  }
}

namespace {

// The window system's own options, which the application takes out of the
// arguments itself; `takesValue` ones are followed by their value.
struct WindowSystemOption {
  const char* name;
  bool takesValue;
};
constexpr WindowSystemOption kWindowSystemOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"geometry", true},
    {"qwindowicon", true},     {"icon", true},
    {"qwindowtitle", true},    {"title", true},
    {"display", true},         {"name", true},
    {"style", true},           {"stylesheet", true},
    {"session", true},         {"visual", true},
    {"reverse", false},        {"nograb", false},
    {"dograb", false},         {"sync", false},
    {"widgetcount", false},    {"testability", false},
};

// The arguments less the window system's options (and their values), so
// that any option left over is known to be nobody's.
QStringList WithoutWindowSystemOptions(const QStringList& arguments) {
  QStringList out;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    if (i == 0 || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("--")) {
      out << arg;
      if (arg == QLatin1String("--")) out << arguments.mid(i + 1);
      if (arg == QLatin1String("--")) break;
      continue;
    }
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    const bool hasValue = name.contains(QLatin1Char('='));
    name = name.section(QLatin1Char('='), 0, 0);
    const auto* known = std::find_if(std::begin(kWindowSystemOptions), std::end(kWindowSystemOptions),
                                     [&name](const WindowSystemOption& o) { return name == QLatin1String(o.name); });
    if (known == std::end(kWindowSystemOptions)) {
      out << arg;
      continue;
    }
    if (known->takesValue && !hasValue) ++i;  // its value follows
  }
  return out;
}

}  // namespace

// The program's own options besides --help and --version: one entry each.
// An entry names the option, its value (empty for a switch), its help text
// and what it sets in the CommandLine; e.g. {{"journal"}, "FILE.tsn",
// "...", [](CommandLine& c, const QString& v) { c.journal = v; }}.
const std::vector<ProgramOption>& ProgramOptions() {
  static const std::vector<ProgramOption> options;
  return options;
}

CommandLine ReadCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Тесмир: расчет тока однофазного короткого замыкания в сетях 0,4 кВ"));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  std::vector<QCommandLineOption> own;
  for (const ProgramOption& option : ProgramOptions()) {
    own.emplace_back(option.names, option.description, option.valueName);
    parser.addOption(own.back());
  }
  parser.addPositionalArgument(QStringLiteral("файл"),
                               QStringLiteral("Файл отчета (.csv или .okz), открываемый при запуске"),
                               QStringLiteral("[файл]"));
  const JournalOptionSet journalOptions = AddJournalOptions(parser);

  CommandLine result;
  if (!parser.parse(WithoutWindowSystemOptions(arguments))) {
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
  for (std::size_t i = 0; i < own.size(); ++i) {
    if (parser.isSet(own[i])) ProgramOptions()[i].apply(result, parser.value(own[i]));
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
