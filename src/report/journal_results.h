#pragma once
// The results of a line journal as files and text: JSON (every figure
// unrounded), CSV (UTF-8, ";") and the table the command line prints, with
// the columns of the journal window. Numbers use the "." decimal point
// whatever the locale.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "journal/journal_calc.h"
#include "journal/journal_network.h"

namespace tesmir {

inline constexpr char kJournalResultsFormatName[] = "tesmir-journal-results";
inline constexpr int kJournalResultsVersion = 1;

// The column titles of the results table.
QStringList JournalColumnTitles();

// One row of shown texts per line, in the order of JournalColumnTitles().
QStringList JournalRowTexts(const JournalLine& line, const LineResult& result);

QByteArray JournalResultsJson(const JournalNetwork& network, const JournalResult& result);
QByteArray JournalResultsCsv(const JournalNetwork& network, const JournalResult& result);
// The table for a terminal: aligned columns, one text line per journal line.
QByteArray JournalResultsTable(const JournalNetwork& network, const JournalResult& result);

}  // namespace tesmir
