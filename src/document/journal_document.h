#pragma once
// The line journal being edited: the one owner of the lines, the network's
// fields and the fields the program does not know, with the results of the
// last calculation. Every edit is an undo command on the journal's own
// QUndoStack; modified means "not at the clean state". The journal computes
// itself again after each change: at once for a switchboard of ordinary size,
// after a pause in the typing (on a worker thread) for a very large one.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <cstdint>
#include <memory>
#include <vector>

#include "journal/journal_calc.h"
#include "report/journal_file.h"

class QTimer;

namespace tesmir {

// The input texts of a line, in the order of the window's columns.
enum class LineField : std::uint8_t {
  Id,
  Parent,
  From,
  To,
  Mark,
  Kind,
  Stuff,  // material, or the busbar model for a busbar trunking
  Ff,
  Fn,
  Par,
  Length,
  Phases,
  Insulation,
  Ip,
  CosPhi,
  DeviceType,
  In,
  Multiple,
  ReleaseCurrent,
  Safety,
  FuseType,
  Time,
  IcuKa,
  I2t,
  Count
};
inline constexpr int kLineFieldCount = static_cast<int>(LineField::Count);

// The network's own fields above the table.
enum class NetworkField : std::uint8_t { Scheme, Power, SkMva, SkMinMva, Arc, DuLimitTp, DuLimitVru, Count };

namespace journal_names {
// The texts the window shows for the file's device and insulation codes.
inline const QString kBreaker = QStringLiteral("Автомат");
inline const QString kFuse = QStringLiteral("Предохранитель");
inline const QString kPvc = QStringLiteral("ПВХ");
inline const QString kXlpe = QStringLiteral("СПЭ");
inline const QString kPaper = QStringLiteral("Бумага");
// The step names, as the menu "Правка" shows them after "Отменить" and
// "Повторить".
inline const QString kStepCell = QStringLiteral("изменение «%1»");
inline const QString kStepInsert = QStringLiteral("вставку линии");
inline const QString kStepInsertFed = QStringLiteral("вставку линии, питаемой от %1");
inline const QString kStepDelete = QStringLiteral("удаление линий");
inline const QString kStepMove = QStringLiteral("перемещение линии");
inline const QString kStepPaste = QStringLiteral("вставку из буфера обмена");
inline const QString kBadPhases = QStringLiteral("Число фаз линии: 3 или 1.");
}  // namespace journal_names

// A new journal: a T/Y-0 630 kV*A transformer and no lines.
JournalDocument NewJournal();

// The column title of a line field.
QString LineFieldTitle(LineField field);
// The caption of a network field.
QString NetworkFieldTitle(NetworkField field);

class LineJournal : public QObject {
  Q_OBJECT

 public:
  // Journals with more lines than this are computed after a pause in the
  // typing, on a worker thread, so the window never waits for them.
  static constexpr std::size_t kImmediateLines = 5000;
  // The pause after the last change before a large journal is computed.
  static constexpr int kPauseMs = 300;

  explicit LineJournal(QObject* parent = nullptr);
  ~LineJournal() override;

  const JournalDocument& document() const { return doc_; }
  const JournalNetwork& network() const { return doc_.network; }
  int lineCount() const { return static_cast<int>(doc_.network.lines.size()); }
  const JournalLine& line(int index) const { return doc_.network.lines[static_cast<std::size_t>(index)]; }
  // The results of the last calculation; they describe the lines as they are
  // unless resultsCurrent() is false (a large journal waiting for its pause).
  const JournalResult& result() const { return result_; }
  bool resultsCurrent() const { return resultsCurrent_; }
  // The result of a line, or nullptr while none is known for it.
  const LineResult* lineResult(int index) const;

  QUndoStack& undoStack() { return undo_; }
  bool isModified() const { return !undo_.isClean(); }

  // The text of a field as the window shows it and takes it back.
  QString text(int line, LineField field) const;
  QString networkText(NetworkField field) const;

  // Each change below is one undo step; a change that changes nothing is no
  // step at all. A refused text gives its reason and changes nothing.
  QString setText(int line, LineField field, const QString& text);
  // Typing in one network field merges into one step.
  void setNetworkText(NetworkField field, const QString& text);
  // A new empty line at `at`; fed from `parentLine` when that is not negative.
  // Returns the new line's index.
  int insertLine(int at, int parentLine = -1);
  // Lines fed from a deleted line are left as they are: their remarks then
  // say that their feeding line is missing.
  void removeLines(std::vector<int> lines);
  // Moves one line to stand at `to` (an index after the move).
  void moveLine(int from, int to);
  // Fills a block of texts, row k into line `lines[k]` from `field` on, as
  // one step; a row whose line is -1 (or missing) becomes a new line at the
  // end. Cells past the last field are ignored. Returns a refused text's
  // reason (the block then changes nothing), else empty.
  QString pasteBlock(const std::vector<int>& lines, int field, const std::vector<QStringList>& rows);

  // Replaces everything (a new journal or an opened file): the start of a new
  // history, at its clean state.
  void reset(JournalDocument document);
  // Replaces every line with lines brought in from a spreadsheet: one step,
  // the network's own fields kept.
  void importLines(std::vector<JournalLine> lines);
  // The journal as it is was saved.
  void markSaved() { undo_.setClean(); }

  // Computes now, whatever the size, and waits for it.
  void recalculateNow();

  // A line with the fields the program does not know, while out of the journal.
  struct StoredLine {
    JournalLine line;
    QJsonObject other;
    QJsonObject otherDevice;
  };

 signals:
  // Lines were inserted, removed, moved or replaced.
  void linesReset();
  // One line's input texts changed: `field`, or any of them when it is -1.
  void lineChanged(int line, int field);
  void networkChanged();
  // The results were computed anew.
  void resultsChanged();

 private:
  friend class JournalCommand;
  // Primitive changes the commands make; each tells the window.
  void writeText(int line, LineField field, const QString& text);
  void writeNetwork(NetworkField field, const QString& text);
  void insertStored(int at, StoredLine stored);
  StoredLine takeLine(int at);
  void changed();
  void structureChanged();
  void scheduleCalculation();
  void startBackground();

  JournalDocument doc_;
  JournalResult result_;
  bool resultsCurrent_ = true;
  QUndoStack undo_;
  QTimer* pause_ = nullptr;
  // The background calculation: its generation and whether another is due.
  struct Background;
  std::shared_ptr<Background> background_;
  std::uint64_t generation_ = 0;
  bool running_ = false;
  bool batching_ = false;  // inside a compound step: one signal at its end
  bool batchStructure_ = false;
  std::vector<int> batchLines_;
};

}  // namespace tesmir
