#include "widgets/feeder_documents.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QUndoStack>

#include "document/feeder_document.h"
#include "paper/calc_note.h"
#include "report/feeder_file.h"
#include "widgets/device_defence_form.h"
#include "widgets/document_dialogs.h"
#include "widgets/edit_menu.h"
#include "widgets/file_chooser.h"
#include "widgets/main_form.h"
#include "widgets/message_sink.h"
#include "widgets/printing.h"
#include "widgets/protection_check_form.h"
#include "widgets/result_form.h"

namespace tesmir {
namespace {

const QString kFeederFilter = QStringLiteral("Схема Тесмир (*.tsm)");
// The name "Сохранить схему как..." offers for a feeder without a file.
const QString kProposedFeeder = QStringLiteral("Схема.tsm");

}  // namespace

QString BadFeederMessage(const QString& reason) { return QString::fromUtf8(kFeederBadFilePrefix) + reason; }

FeederDocuments::FeederDocuments(MainForm& main, DeviceDefenceForm& device, ResultForm& results, FeederDocument& feeder,
                                 MessageSink& messages, FileChooser& files, DocumentDialogs& dialogs)
    : QObject(&main),
      main_(main),
      device_(device),
      results_(results),
      feeder_(feeder),
      messages_(messages),
      files_(files),
      dialogs_(dialogs),
      today_([] { return QDate::currentDate(); }) {
  connect(main_.openSchemeAction(), &QAction::triggered, this, &FeederDocuments::OpenSchemeMenuClick);
  connect(main_.saveSchemeAction(), &QAction::triggered, this, &FeederDocuments::SaveSchemeMenuClick);
  connect(main_.saveSchemeAsAction(), &QAction::triggered, this, &FeederDocuments::SaveSchemeAsMenuClick);
  connect(main_.notePdfAction(), &QAction::triggered, this, &FeederDocuments::NotePdfMenuClick);
  connect(main_.notePrintAction(), &QAction::triggered, this, &FeederDocuments::NotePrintMenuClick);

  // "Правка": the feeder's undo stack.
  ConnectEditMenu(EditMenu{main_.undoAction(), main_.redoAction()}, feeder_.undoStack());
  connect(&main_, &MainForm::inputEdited, this, &FeederDocuments::recordEdit);
  connect(&device_, &DeviceDefenceForm::deviceChanged, this, [this] { recordEdit(FeederDocument::kWholeStep); });
  connect(&feeder_, &FeederDocument::textsRestored, this, &FeederDocuments::showRestored);
}

void FeederDocuments::setProtectionCheck(ProtectionCheckForm* check) {
  check_ = check;
  if (check_ != nullptr) {
    connect(check_, &QDialog::finished, this, [this] { recordEdit(FeederDocument::kWholeStep); });
  }
}

void FeederDocuments::recordEdit(int field) {
  if (!filling_) feeder_.recordEdit(currentFeeder(), field);
}

void FeederDocuments::markFeederClean() { feeder_.markClean(currentFeeder()); }

void FeederDocuments::showRestored(const FeederData& texts) {
  filling_ = true;
  main_.setSchemeInput(texts.scheme);
  // The device only when the step changed it, so the status lines stay.
  if (texts.device != device_.acceptedInput()) {
    if (texts.device) {
      device_.acceptTexts(*texts.device);
    } else {
      device_.forgetDevice();
    }
  }
  if (check_ != nullptr) check_->setBreakingCapacity(QString::fromStdString(texts.breakingCapacity));
  main_.markResultStale();
  filling_ = false;
}

FeederData FeederDocuments::currentFeeder() const {
  FeederData data;
  data.scheme = main_.schemeInput();
  data.device = device_.acceptedInput();
  if (check_ != nullptr) data.breakingCapacity = check_->breakingCapacity().toStdString();
  return data;
}

void FeederDocuments::applyFeeder(const FeederData& data) {
  main_.setSchemeInput(data.scheme);
  if (data.device) {
    device_.acceptTexts(*data.device);
  } else {
    device_.forgetDevice();
  }
  if (check_ != nullptr) check_->setBreakingCapacity(QString::fromStdString(data.breakingCapacity));
  // The device may have changed even when every text is the same.
  main_.markResultStale();
}

void FeederDocuments::useFolderOf(const QString& path) { places().useFolder(QFileInfo(path).absolutePath()); }

bool FeederDocuments::writeFeeder(const QString& path) {
  const Result<FileSaved, FileError> saved = SaveFeederFile(path, currentFeeder());
  if (!saved) {
    messages_.error(&main_, saved.error().message);
    return false;
  }
  feederFileName_ = path;
  markFeederClean();
  return true;
}

bool FeederDocuments::saveFeeder() {
  if (feederFileName_.isEmpty()) return saveFeederAs();
  return writeFeeder(feederFileName_);
}

bool FeederDocuments::saveFeederAs() {
  const QString path = ChooseNameToSave(
      files_, messages_, &main_,
      [this] { return feederFileName_.isEmpty() ? places().proposedPath(kProposedFeeder) : feederFileName_; },
      kFeederFilter, QStringLiteral("tsm"), [this](const QString& picked) { useFolderOf(picked); });
  return !path.isEmpty() && writeFeeder(path);
}

void FeederDocuments::SaveSchemeMenuClick() { saveFeeder(); }

void FeederDocuments::SaveSchemeAsMenuClick() { saveFeederAs(); }

void FeederDocuments::OpenSchemeMenuClick() {
  const QString path =
      files_.chooseOpenName(&main_, places().openStart(feederFileName_), {kFeederFilter}, QStringLiteral("tsm"));
  if (path.isEmpty()) return;
  useFolderOf(path);
  const LoadedFeeder loaded = LoadFeederFile(path);
  if (!loaded.error.isEmpty()) {
    messages_.error(&main_, loaded.error);
    return;
  }
  if (!loaded.data) {
    messages_.inform(&main_, BadFeederMessage(loaded.reason));
    return;
  }
  feederFileName_ = path;
  // Opening is one step, and the feeder as the file has it is unedited.
  filling_ = true;
  applyFeeder(*loaded.data);
  filling_ = false;
  recordEdit(FeederDocument::kWholeStep);
  markFeederClean();
}

CalcNote FeederDocuments::currentNote(const QString& pointName) const {
  CalcNote note;
  note.date = today_();
  note.pointName = pointName;
  note.scheme = feeder_.scheme();
  note.texts = feeder_.results();
  note.device = feeder_.deviceTexts();
  note.seps = results_.separators();
  if (check_ != nullptr) {
    AddNoteSection(note, check_->windowTitle(), check_->noteFigures());
  }
  return note;
}

std::optional<QString> FeederDocuments::askPointName() {
  QString name;
  for (;;) {
    const std::optional<QString> typed = dialogs_.askPointName(&main_, name);
    if (!typed) return std::nullopt;
    const QString problem = NotePointNameProblem(*typed);
    if (problem.isEmpty()) return typed;
    messages_.inform(&main_, problem);
    name = *typed;
  }
}

void FeederDocuments::NotePdfMenuClick() {
  if (!main_.notePdfAction()->isEnabled()) return;
  const std::optional<QString> point = askPointName();
  if (!point) return;
  // "Расчет К-1.pdf" beside the last note, else beside the feeder file, else
  // where the dialogs start. A "/" in the point name would name a folder.
  QString fileStem = *point;
  fileStem.replace(QLatin1Char('/'), QLatin1Char('_'));
  const QString name =
      fileStem.isEmpty() ? QStringLiteral("Расчет.pdf") : QStringLiteral("Расчет %1.pdf").arg(fileStem);
  const QString path = ChooseNameToSave(
      files_, messages_, &main_,
      [this, &name] {
        if (!notePdfName_.isEmpty()) return QFileInfo(notePdfName_).dir().filePath(name);
        if (!feederFileName_.isEmpty()) return QFileInfo(feederFileName_).dir().filePath(name);
        return places().proposedPath(name);
      },
      kPdfFilter, QStringLiteral("pdf"), [this](const QString& picked) { useFolderOf(picked); });
  if (path.isEmpty()) return;
  const Result<FileSaved, FileError> written = WriteCalcNotePdf(path, currentNote(*point));
  if (!written) {
    messages_.error(&main_, written.error().message);
    return;
  }
  notePdfName_ = path;
}

void FeederDocuments::NotePrintMenuClick() {
  if (!main_.notePrintAction()->isEnabled()) return;
  const std::optional<QString> point = askPointName();
  if (!point) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(kCalcNoteTitle);
  if (!dialogs_.choosePrinter(&main_, printer)) return;
  const CalcNote note = currentNote(*point);
  const Result<FileSaved, FileError> printed = PrintDocument(
      printer, kCalcNoteTitle, [&note](QPagedPaintDevice& device) { return PaintCalcNote(device, note); });
  if (!printed) messages_.error(&main_, printed.error().message);
}

}  // namespace tesmir
