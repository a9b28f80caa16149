#pragma once
// A line journal read straight from its bytes into the records, without a
// JSON tree in between: a switchboard of 100,000 lines reads in a fraction
// of the tree's time. It reads only what it reads exactly as the tree reader
// (ParseJournalTree) would — every journal the program writes, and careful
// hand edits. On anything else (a refusal, an unusual number or escape, a
// repeated key, deep nesting) it gives up, and the tree reader decides, with
// its reason.

#include <QByteArrayView>
#include <optional>

#include "report/journal_file.h"

namespace tesmir {

// The document, or nullopt when the tree reader must decide.
std::optional<JournalDocument> ReadJournalDirectly(QByteArrayView bytes);

// The reader through Qt's JSON tree: the reference for every document, and
// the reasons of the refused ones.
JournalParse ParseJournalTree(QByteArrayView bytes);

}  // namespace tesmir
