#pragma once
// The main window's menu "Файл": saving and opening feeder files, and the
// calculation note of the last calculation to PDF or to a printer.

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "document/report_places.h"
#include "paper/calc_note.h"

class QPrinter;

namespace tesmir {

class DeviceDefenceForm;
class DocumentDialogs;
class FeederDocument;
class FileChooser;
class MainForm;
class MessageSink;
class ProtectionCheckForm;
class ResultForm;
struct FeederData;

class FeederDocuments : public QObject {
  Q_OBJECT

 public:
  FeederDocuments(MainForm& main, DeviceDefenceForm& device, ResultForm& results, FeederDocument& feeder,
                  MessageSink& messages, FileChooser& files, DocumentDialogs& dialogs);

  // The feeder file last saved or opened; empty until then.
  const QString& feederFileName() const { return feederFileName_; }

  void OpenSchemeMenuClick();
  void SaveSchemeMenuClick();
  void SaveSchemeAsMenuClick();
  void NotePdfMenuClick();
  void NotePrintMenuClick();

  // What a feeder file would hold now.
  FeederData currentFeeder() const;
  // Fills the windows from a checked feeder.
  void applyFeeder(const FeederData& data);
  // The note of the last calculation under `pointName`.
  CalcNote currentNote(const QString& pointName) const;

  // The window "Проверка защиты", whose figures the note then carries as a
  // section of their own; none by default.
  // The window's breaking capacity belongs to the feeder: it is saved in the
  // feeder file and replaced by opening one.
  void setProtectionCheck(ProtectionCheckForm* check);

  // "Сохранить схему" (Save As while the feeder has no file); true once the
  // feeder is written, false when it failed or was cancelled.
  bool saveFeeder();
  // The texts the windows hold now become the feeder's unedited state.
  void markFeederClean();

  // Where the file dialogs start (with the report window's, from the folder
  // used last); places of this object's own until set.
  // The provider is asked each time, so the report window may be built later.
  void setPlaces(std::function<ReportPlaces&()> provider) { placesProvider_ = std::move(provider); }

  // The date printed on notes; today unless a test fixes it.
  void setDateSource(std::function<QDate()> today) { today_ = std::move(today); }

 private:
  bool writeFeeder(const QString& path);
  bool saveFeederAs();
  // An edit of the windows becomes a step of the feeder's undo stack.
  void recordEdit(int field);
  // Shows texts an undo or redo brought back.
  void showRestored(const FeederData& texts);
  // The folder of a chosen file is where the next dialog starts.
  void useFolderOf(const QString& path);
  std::optional<QString> askPointName();

  MainForm& main_;
  DeviceDefenceForm& device_;
  ResultForm& results_;
  FeederDocument& feeder_;
  MessageSink& messages_;
  FileChooser& files_;
  DocumentDialogs& dialogs_;
  ProtectionCheckForm* check_ = nullptr;
  // Set while the windows are filled from the feeder, so filling them is no edit.
  bool filling_ = false;
  ReportPlaces ownPlaces_;
  std::function<ReportPlaces&()> placesProvider_;
  ReportPlaces& places() { return placesProvider_ ? placesProvider_() : ownPlaces_; }
  QString feederFileName_;
  QString notePdfName_;
  std::function<QDate()> today_;
};

// "Файл не является файлом схемы Тесмир или поврежден: " + reason.
QString BadFeederMessage(const QString& reason);

}  // namespace tesmir
