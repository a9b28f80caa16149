#include "app/journal_command.h"

#include <cstdio>

#include "journal/journal_calc.h"
#include "report/file_io.h"
#include "report/journal_file.h"
#include "report/journal_results.h"

namespace tesmir {
namespace {

void Write(std::FILE* stream, const QByteArray& bytes) {
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
  std::fflush(stream);
}

void Complain(const QString& message) { Write(stderr, (message + QLatin1Char('\n')).toUtf8()); }

}  // namespace

JournalOptionSet AddJournalOptions(QCommandLineParser& parser) {
  JournalOptionSet set{
      QCommandLineOption(QStringLiteral("journal"),
                         QStringLiteral("Рассчитать журнал линий (.tsn) и вывести таблицу результатов без окон"),
                         QStringLiteral("файл.tsn")),
      QCommandLineOption(QStringLiteral("results"),
                         QStringLiteral("Записать результаты журнала в файл .json или .csv вместо таблицы"),
                         QStringLiteral("файл")),
      QCommandLineOption(QStringLiteral("strict"),
                         QStringLiteral("Завершиться с кодом 1, если какая-либо линия журнала не проходит проверку")),
  };
  parser.addOption(set.journal);
  parser.addOption(set.results);
  parser.addOption(set.strict);
  return set;
}

JournalOptions ReadJournalOptions(const QCommandLineParser& parser, const JournalOptionSet& set) {
  JournalOptions options;
  options.file = parser.value(set.journal);
  options.results = parser.value(set.results);
  options.strict = parser.isSet(set.strict);
  if (options.file.isEmpty() && (parser.isSet(set.results) || options.strict)) {
    options.misuse = QStringLiteral("Параметры --results и --strict действуют только вместе с --journal.");
  } else if (!options.results.isEmpty() && !options.results.endsWith(QLatin1String(".json"), Qt::CaseInsensitive) &&
             !options.results.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
    options.misuse = QStringLiteral("Файл результатов должен иметь расширение .json или .csv.");
  } else if (parser.isSet(set.journal) && options.file.isEmpty()) {
    options.misuse = QStringLiteral("Не указан файл журнала линий.");
  }
  return options;
}

int RunJournalCommand(const JournalOptions& options) {
  const LoadedJournal loaded = LoadJournalFile(options.file);
  if (!loaded.error.isEmpty()) {
    Complain(loaded.error);
    return kJournalUnreadable;
  }
  if (!loaded.document) {
    Complain(QString::fromUtf8(kJournalBadFilePrefix) + loaded.reason);
    return kJournalUnreadable;
  }
  const JournalNetwork& network = loaded.document->network;
  const JournalResult result = ComputeJournal(network);
  if (options.results.isEmpty()) {
    Write(stdout, JournalResultsTable(network, result));
  } else {
    const bool json = options.results.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
    const QByteArray bytes = json ? JournalResultsJson(network, result) : JournalResultsCsv(network, result);
    const Result<FileSaved, FileError> saved = SaveFileBytes(options.results, bytes);
    if (!saved) {
      Complain(saved.error().message);
      return kJournalUnreadable;
    }
  }
  if (options.strict) {
    for (const LineResult& line : result.lines) {
      if (LineFailsAVerdict(line)) return kJournalVerdictFailed;
    }
  }
  return kJournalComputed;
}

}  // namespace tesmir
