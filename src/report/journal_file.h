#pragma once
// Line journal files (.tsn): a transformer and its radial tree of lines as
// UTF-8 JSON with a format name and version. Reading checks the whole
// document before anything is handed out; fields the program does not know
// are kept and written back.

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <optional>
#include <vector>

#include "journal/journal_network.h"

namespace tesmir {

inline constexpr char kJournalFormatName[] = "tesmir-network";
inline constexpr int kJournalFormatVersion = 1;
// Files larger than this are not journals a designer keeps.
inline constexpr qsizetype kJournalMaxBytes = qsizetype{256} << 20;

// The message for a file that cannot be opened as a journal; the reason follows.
inline constexpr char kJournalBadFilePrefix[] = "Файл не является файлом журнала линий Тесмир или поврежден: ";

struct JournalDocument {
  JournalNetwork network;
  // The fields the program does not know, by the object they were found in.
  QJsonObject otherRoot;
  QJsonObject otherTransformer;
  QJsonObject otherLoad;
  std::vector<QJsonObject> otherLines;    // one per line
  std::vector<QJsonObject> otherDevices;  // one per line; empty for a line without a device
  bool operator==(const JournalDocument&) const = default;
};

// The document's bytes (UTF-8 JSON, indented).
QByteArray JournalToJson(const JournalDocument& document);

struct JournalParse {
  std::optional<JournalDocument> document;
  QString reason;  // set when document is empty: why the bytes are not a journal
};

// Checks every field; never partially succeeds.
JournalParse ParseJournal(QByteArrayView bytes);

// Writes through a temporary file that replaces `path` only when complete.
// Returns the empty text or the whole message to show (the file's name and
// the system's reason).
QString SaveJournalFile(const QString& path, const JournalDocument& document);

struct LoadedJournal {
  std::optional<JournalDocument> document;
  QString error;   // the file could not be read: the whole message to show
  QString reason;  // read, but not a journal file
};

LoadedJournal LoadJournalFile(const QString& path);

}  // namespace tesmir
