#pragma once
// What the program sets up before its windows: its names for the desktop,
// Qt's own texts in the user's language and the command line.

#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "app/journal_command.h"

class QTranslator;

namespace tesmir {

// The id of the desktop entry, io.github.tesmir.Tesmir; docks match the
// program's windows with its menu entry by it.
QString DesktopEntryId();

// Names the program for the desktop: application name (also the X11 window
// class), version and desktop entry.
void SetProgramIdentity();

// Qt's own texts (file dialogs, standard buttons, edit menus) in the
// language of `locale`, for as long as the object lives. The program's own
// texts are Russian already and are not translated.
class QtTranslations {
 public:
  explicit QtTranslations(const QLocale& locale = QLocale());
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  // Whether a translation for the locale was found and installed.
  bool installed() const { return installed_; }

 private:
  std::unique_ptr<QTranslator> translator_;
  bool installed_ = false;
};

// What the command line asks for.
struct CommandLine {
  // Print `output` and end with `exitCode` instead of starting.
  bool exit = false;
  int exitCode = 0;
  // To standard output when the exit code is 0, else to standard error.
  QString output;
  // The arguments hold an option neither the program nor the window system
  // knows; the program ends (exit code 1) before any window system opens.
  bool unknownOption = false;
  // A report file to open at start, with its full path; empty for none.
  QString reportFile;
  // A line journal to compute instead of starting the windows.
  JournalOptions journal;
};

// Before anything reads a folder of the user's: HOME, when unset or relative,
// is taken from the password database, and relative XDG base folders
// (XDG_CONFIG_HOME, XDG_CACHE_HOME, ...) are dropped, as the XDG rules say.
void SettleHomeFolders();

// One option of the program's own, as the option table lists it.
struct ProgramOption {
  QStringList names;    // "journal", or "j" and "journal"
  QString description;  // the help text
  QString valueName;    // "FILE.tsn"; empty for a switch
  std::function<void(CommandLine&, const QString& value)> apply;
};

// The table of the program's own options (--help and --version aside).
const std::vector<ProgramOption>& ProgramOptions();

// Reads the program's arguments (the first one is the program itself). The
// window system's own options (-platform, -style and the like) are passed
// over, anything else that looks like an option is an unknown option.
CommandLine ReadCommandLine(const QStringList& arguments);

}  // namespace tesmir
