#pragma once
// The property the journal-file fuzz target and the file test share: bytes
// the reader accepts are written back and read again to the same document
// (unknown fields included), and bytes it rejects always come with a reason.

#include <QByteArrayView>

#include "report/journal_file.h"

namespace tesmir {

inline bool JournalReadWriteReadAgrees(QByteArrayView bytes) {
  const JournalParse first = ParseJournal(bytes);
  if (!first.document) {
    return !first.reason.isEmpty();
  }
  const JournalParse second = ParseJournal(JournalToJson(*first.document));
  return second.document && *second.document == *first.document;
}

}  // namespace tesmir
