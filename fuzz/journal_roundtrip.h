#pragma once
// The property the journal-file fuzz target and the file test share: bytes
// the reader accepts are written back and read again to the same document
// (unknown fields included), bytes it rejects always come with a reason, and
// a document read directly from its bytes is the one the JSON tree gives.

#include <QByteArrayView>

#include "report/journal_direct_read.h"
#include "report/journal_file.h"

namespace tesmir {

inline bool JournalReadWriteReadAgrees(QByteArrayView bytes) {
  if (const std::optional<JournalDocument> direct = ReadJournalDirectly(bytes)) {
    const JournalParse tree = ParseJournalTree(bytes);
    if (!tree.document || !(*tree.document == *direct)) return false;
  }
  const JournalParse first = ParseJournal(bytes);
  if (!first.document) {
    return !first.reason.isEmpty();
  }
  const JournalParse second = ParseJournal(JournalToJson(*first.document));
  return second.document && *second.document == *first.document;
}

}  // namespace tesmir
