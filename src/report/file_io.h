#pragma once
// Every file the program writes or reads goes through here. A save goes to a
// temporary file that replaces the old one only when every byte is on disk
// (unbuffered, so the failure of the last write cannot slip past unseen), and
// a read opens without blocking and takes only a regular file of bounded
// size, so a FIFO, a folder or a device never hangs or floods the program.

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>
#include <optional>
#include <string>

#include "core/result.h"

class QIODevice;

namespace tesmir {

enum class FileErrorKind {
  Open,        // the file could not be opened or created
  Read,        // reading failed part way
  Write,       // writing or replacing the old file failed
  NotRegular,  // a folder, FIFO, device or socket
  TooLarge,    // beyond the reader's or the writer's limit
};

struct FileError {
  FileErrorKind kind = FileErrorKind::Open;
  QString message;  // the whole text to show
  bool operator==(const FileError&) const = default;
};

struct FileSaved {
  bool operator==(const FileSaved&) const = default;
};

// "Не удалось сохранить файл <name>." / "Не удалось открыть файл <name>.",
// with the system's reason on the next line when there is one.
QString SaveFailureText(const QString& path, const QString& reason);
QString OpenFailureText(const QString& path, const QString& reason);

// Writes every byte to an open device, however many calls it takes. A write
// that fails (the last one included) gives the save failure for `path`.
Result<FileSaved, FileError> WriteAllBytes(QIODevice& device, QByteArrayView bytes, const QString& path);

struct SaveOptions {
  // Permissions of a file that does not exist yet; nullopt keeps the mode
  // the umask gives (as for every document the user saves). An existing
  // file keeps its own.
  std::optional<QFileDevice::Permissions> newFilePermissions;
};

// Replaces `path` with `bytes` whole, or leaves the old file as it was and
// fails with the message to show.
Result<FileSaved, FileError> SaveFileBytes(const QString& path, QByteArrayView bytes, const SaveOptions& options = {});

// What a reader takes: at most `maxBytes` bytes; the messages for a file that
// is larger or not a regular file (empty: the open failure saying so).
struct ReadLimits {
  qint64 maxBytes = 0;
  QString tooLarge;
  QString notRegular;
};

// Reads a regular file within the limits without ever blocking on opening
// it: the type is checked on the open descriptor, so a name swapped
// meanwhile changes nothing, and a file that grows while read is caught.
Result<QByteArray, FileError> ReadRegularFile(const QString& path, const ReadLimits& limits);
Result<std::string, FileError> ReadRegularFileBytes(const QString& path, const ReadLimits& limits);

// Whether `path` names a regular file (checked without blocking; false also
// when it does not exist or cannot be opened).
bool IsReadableRegularFile(const QString& path);

}  // namespace tesmir
