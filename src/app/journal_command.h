#pragma once
// The command line's line journal: `tesmir --journal FILE.tsn [--results
// OUT.json|OUT.csv] [--strict]` computes a journal and prints or writes its
// results without opening a window system.

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

namespace tesmir {

struct JournalOptions {
  QString file;     // the journal; empty: not asked for
  QString results;  // the results file; empty: the table to standard output
  bool strict = false;
  QString misuse;  // set when the options do not go together: the message
};

struct JournalOptionSet {
  QCommandLineOption journal;
  QCommandLineOption results;
  QCommandLineOption strict;
};

// Adds the three options to the parser.
JournalOptionSet AddJournalOptions(QCommandLineParser& parser);

// What the parsed arguments ask of the journal.
JournalOptions ReadJournalOptions(const QCommandLineParser& parser, const JournalOptionSet& options);

// Exit status of a journal run.
inline constexpr int kJournalComputed = 0;
inline constexpr int kJournalVerdictFailed = 1;
inline constexpr int kJournalUnreadable = 2;

// Reads, computes and prints or writes; messages go to standard error.
int RunJournalCommand(const JournalOptions& options);

}  // namespace tesmir
