#include "document/journal_document.h"

#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QUndoCommand>
#include <algorithm>
#include <utility>

#include "journal/cable_mark.h"
#include "report/utf8_text.h"

namespace tesmir {

JournalDocument NewJournal() {
  JournalDocument fresh;
  fresh.network.scheme = "T/Y-0";
  fresh.network.power = "630";
  return fresh;
}

QString LineFieldTitle(LineField field) {
  switch (field) {
    case LineField::Id:
      return QStringLiteral("Линия");
    case LineField::Parent:
      return QStringLiteral("Питающая линия");
    case LineField::From:
      return QStringLiteral("Откуда");
    case LineField::To:
      return QStringLiteral("Куда");
    case LineField::Mark:
      return QStringLiteral("Марка");
    case LineField::Kind:
      return QStringLiteral("Тип линии");
    case LineField::Stuff:
      return QStringLiteral("Материал / шинопровод");
    case LineField::Ff:
      return QStringLiteral("Fф, мм²");
    case LineField::Fn:
      return QStringLiteral("Fн, мм²");
    case LineField::Par:
      return QStringLiteral("Параллельно");
    case LineField::Length:
      return QStringLiteral("Длина, м");
    case LineField::Phases:
      return QStringLiteral("Фазы");
    case LineField::Insulation:
      return QStringLiteral("Изоляция");
    case LineField::Ip:
      return QStringLiteral("Iр, А");
    case LineField::CosPhi:
      return QStringLiteral("cos φ");
    case LineField::DeviceType:
      return QStringLiteral("Аппарат");
    case LineField::In:
      return QStringLiteral("Iном, А");
    case LineField::Multiple:
      return QStringLiteral("Кратность");
    case LineField::ReleaseCurrent:
      return QStringLiteral("Iуст. расцепителя, А");
    case LineField::Safety:
      return QStringLiteral("Кзап");
    case LineField::FuseType:
      return QStringLiteral("Тип вставки");
    case LineField::Time:
      return QStringLiteral("Время");
    case LineField::IcuKa:
      return QStringLiteral("Icu, кА");
    case LineField::I2t:
      return QStringLiteral("I²t, А²с");
    case LineField::Count:
      break;
  }
  return {};
}

QString NetworkFieldTitle(NetworkField field) {
  switch (field) {
    case NetworkField::Scheme:
      return QStringLiteral("Схема соединения обмоток");
    case NetworkField::Power:
      return QStringLiteral("Мощность, кВ*А");
    case NetworkField::SkMva:
      return QStringLiteral("Sк макс, МВ*А");
    case NetworkField::SkMinMva:
      return QStringLiteral("Sк мин, МВ*А");
    case NetworkField::Arc:
      return QStringLiteral("Rдуги, мОм");
    case NetworkField::DuLimitTp:
      return QStringLiteral("ΔU от ТП не более, %");
    case NetworkField::DuLimitVru:
      return QStringLiteral("ΔU от ВРУ не более, %");
    case NetworkField::Count:
      break;
  }
  return {};
}

namespace {

QString Q(const std::string& text) { return QUtf8(text); }
std::string S(const QString& text) { return text.toStdString(); }

// Shown text ↔ the file's code, for the device kind and the insulation;
// any other text is kept as typed.
QString Shown(const std::string& code, const std::pair<const char*, const QString*> (&names)[3]) {
  for (const auto& [file, shown] : names) {
    if (code == file) return *shown;
  }
  return Q(code);
}
std::string Code(const QString& text, const std::pair<const char*, const QString*> (&names)[3]) {
  for (const auto& [file, shown] : names) {
    if (text == *shown) return file;
  }
  return S(text);
}
const std::pair<const char*, const QString*> kDeviceNames[3] = {
    {"breaker", &journal_names::kBreaker}, {"fuse", &journal_names::kFuse}, {"", &journal_names::kBreaker}};
const std::pair<const char*, const QString*> kInsulationNames[3] = {
    {"PVC", &journal_names::kPvc}, {"XLPE", &journal_names::kXlpe}, {"paper", &journal_names::kPaper}};

std::string* DeviceText(JournalDevice& d, LineField field) {
  switch (field) {
    case LineField::DeviceType:
      return &d.type;
    case LineField::In:
      return &d.in;
    case LineField::Multiple:
      return &d.multiple;
    case LineField::ReleaseCurrent:
      return &d.releaseCurrent;
    case LineField::Safety:
      return &d.safety;
    case LineField::FuseType:
      return &d.fuseType;
    case LineField::Time:
      return &d.time;
    case LineField::IcuKa:
      return &d.icuKa;
    case LineField::I2t:
      return &d.i2t;
    default:
      return nullptr;
  }
}

std::string* LineText(JournalLine& l, LineField field) {
  switch (field) {
    case LineField::Id:
      return &l.id;
    case LineField::From:
      return &l.from;
    case LineField::To:
      return &l.to;
    case LineField::Mark:
      return &l.mark;
    case LineField::Kind:
      return &l.kind;
    case LineField::Ff:
      return &l.ff;
    case LineField::Fn:
      return &l.fn;
    case LineField::Par:
      return &l.par;
    case LineField::Length:
      return &l.length;
    case LineField::Ip:
      return &l.ip;
    case LineField::CosPhi:
      return &l.cosPhi;
    default:
      return nullptr;
  }
}

bool IsBusbar(const std::string& kind) { return kind.rfind("Шинопровод", 0) == 0; }

QString ReadText(const JournalLine& l, LineField field) {
  auto& line = const_cast<JournalLine&>(l);
  if (std::string* t = LineText(line, field)) return Q(*t);
  switch (field) {
    case LineField::Parent:
      return l.parent ? Q(*l.parent) : QString();
    case LineField::Stuff:
      return Q(IsBusbar(l.kind) || (l.material.empty() && !l.model.empty()) ? l.model : l.material);
    case LineField::Phases:
      return l.phases == 0 ? QString() : QString::number(l.phases);
    case LineField::Insulation:
      return Shown(l.insulation, kInsulationNames);
    case LineField::DeviceType:
      return l.device ? (l.device->type.empty() ? QString() : Shown(l.device->type, kDeviceNames)) : QString();
    default:
      break;
  }
  if (!l.device) return {};
  if (std::string* t = DeviceText(*line.device, field)) return Q(*t);
  return {};
}

void WriteText(JournalLine& l, LineField field, const QString& text) {
  if (std::string* t = LineText(l, field)) {
    *t = S(text);
    return;
  }
  switch (field) {
    case LineField::Parent:
      if (text.isEmpty()) {
        l.parent.reset();
      } else {
        l.parent = S(text);
      }
      return;
    case LineField::Stuff:
      if (IsBusbar(l.kind)) {
        l.model = S(text);
      } else {
        l.material = S(text);
      }
      return;
    case LineField::Phases:
      l.phases = text.isEmpty() ? 0 : text.toInt();
      return;
    case LineField::Insulation:
      l.insulation = Code(text, kInsulationNames);
      return;
    default:
      break;
  }
  if (!l.device) l.device = JournalDevice{};
  std::string* t = DeviceText(*l.device, field);
  if (t == nullptr) return;
  *t = field == LineField::DeviceType ? (text.isEmpty() ? std::string() : Code(text, kDeviceNames)) : S(text);
  if (*l.device == JournalDevice{}) l.device.reset();
}

}  // namespace

// The commands reach the journal's primitive changes through this base.
class JournalCommand : public QUndoCommand {
 public:
  JournalCommand(LineJournal& journal, const QString& name, QUndoCommand* parent = nullptr)
      : QUndoCommand(name, parent), journal_(journal) {}

 protected:
  void writeText(int line, LineField field, const QString& text) { journal_.writeText(line, field, text); }
  void writeNetwork(NetworkField field, const QString& text) { journal_.writeNetwork(field, text); }
  void insertStored(int at, LineJournal::StoredLine stored) { journal_.insertStored(at, std::move(stored)); }
  LineJournal::StoredLine takeLine(int at) { return journal_.takeLine(at); }
  // A compound step tells the window once, at its end.
  template <class F>
  void batch(F&& f) {
    journal_.batching_ = true;
    f();
    journal_.batching_ = false;
    journal_.changed();
  }

  LineJournal& journal_;
};

namespace {

class SetTextCommand final : public JournalCommand {
 public:
  SetTextCommand(LineJournal& journal, int line, LineField field, QString before, QString after,
                 QUndoCommand* parent = nullptr)
      : JournalCommand(journal, journal_names::kStepCell.arg(LineFieldTitle(field)), parent),
        line_(line),
        field_(field),
        before_(std::move(before)),
        after_(std::move(after)) {}
  void redo() override { writeText(line_, field_, after_); }
  void undo() override { writeText(line_, field_, before_); }

 private:
  int line_;
  LineField field_;
  QString before_;
  QString after_;
};

// A step made of several changes (a paste, a mark that fills its cells).
class CompoundCommand final : public JournalCommand {
 public:
  CompoundCommand(LineJournal& journal, const QString& name) : JournalCommand(journal, name) {}
  void redo() override {
    batch([this] { QUndoCommand::redo(); });
  }
  void undo() override {
    batch([this] { QUndoCommand::undo(); });
  }
};

class NetworkCommand final : public JournalCommand {
 public:
  NetworkCommand(LineJournal& journal, NetworkField field, QString before, QString after)
      : JournalCommand(journal, journal_names::kStepCell.arg(NetworkFieldTitle(field))),
        field_(field),
        before_(std::move(before)),
        after_(std::move(after)) {}
  void redo() override { writeNetwork(field_, after_); }
  void undo() override { writeNetwork(field_, before_); }
  int id() const override { return 1; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const NetworkCommand*>(other);
    if (next->field_ != field_) return false;
    after_ = next->after_;
    return true;
  }

 private:
  NetworkField field_;
  QString before_;
  QString after_;
};

class InsertCommand final : public JournalCommand {
 public:
  InsertCommand(LineJournal& journal, const QString& name, int at, JournalLine line, QUndoCommand* parent = nullptr)
      : JournalCommand(journal, name, parent), at_(at), line_(std::move(line)) {}
  void redo() override { insertStored(at_, {line_, {}, {}}); }
  void undo() override { takeLine(at_); }

 private:
  int at_;
  JournalLine line_;
};

class RemoveCommand final : public JournalCommand {
 public:
  RemoveCommand(LineJournal& journal, std::vector<int> lines)
      : JournalCommand(journal, journal_names::kStepDelete), lines_(std::move(lines)) {}
  void redo() override {
    batch([this] {
      taken_.clear();
      for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) taken_.push_back(takeLine(*it));
    });
  }
  void undo() override {
    batch([this] {
      std::size_t k = taken_.size();
      for (const int at : lines_) insertStored(at, std::move(taken_[--k]));
      taken_.clear();
    });
  }

 private:
  std::vector<int> lines_;  // ascending
  std::vector<LineJournal::StoredLine> taken_;
};

class MoveCommand final : public JournalCommand {
 public:
  MoveCommand(LineJournal& journal, int from, int to)
      : JournalCommand(journal, journal_names::kStepMove), from_(from), to_(to) {}
  void redo() override { move(from_, to_); }
  void undo() override { move(to_, from_); }

 private:
  void move(int from, int to) {
    batch([&] { insertStored(to, takeLine(from)); });
  }
  int from_;
  int to_;
};

}  // namespace

struct LineJournal::Background {
  JournalResult result;
  std::uint64_t generation = 0;
};

LineJournal::LineJournal(QObject* parent) : QObject(parent), background_(std::make_shared<Background>()) {
  pause_ = new QTimer(this);
  pause_->setSingleShot(true);
  pause_->setInterval(kPauseMs);
  connect(pause_, &QTimer::timeout, this, &LineJournal::startBackground);
  reset(NewJournal());
}

LineJournal::~LineJournal() {
  // A worker still computing finishes before the journal goes.
  for (QThread* worker : findChildren<QThread*>()) worker->wait();
}

const LineResult* LineJournal::lineResult(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= result_.lines.size()) return nullptr;
  return &result_.lines[static_cast<std::size_t>(index)];
}

QString LineJournal::text(int line, LineField field) const { return ReadText(this->line(line), field); }

QString LineJournal::networkText(NetworkField field) const {
  const JournalNetwork& n = doc_.network;
  switch (field) {
    case NetworkField::Scheme:
      return Q(n.scheme);
    case NetworkField::Power:
      return Q(n.power);
    case NetworkField::SkMva:
      return Q(n.skMva);
    case NetworkField::SkMinMva:
      return Q(n.skMinMva);
    case NetworkField::Arc:
      return Q(n.arc);
    case NetworkField::DuLimitTp:
      return Q(n.duLimitTpPct);
    case NetworkField::DuLimitVru:
      return Q(n.duLimitVruPct);
    case NetworkField::Count:
      break;
  }
  return {};
}

namespace {

QString CheckText(LineField field, const QString& text) {
  if (field == LineField::Phases && !text.isEmpty() && text != QStringLiteral("1") && text != QStringLiteral("3")) {
    return journal_names::kBadPhases;
  }
  return {};
}

// The cells a mark fills when they are empty: kind, material or model,
// sections and phases.
void AddMarkFill(LineJournal& journal, int line, const QString& mark, QUndoCommand* step) {
  const Result<CableMark> read = ReadCableMark(S(mark));
  if (!read) return;
  const CableMark& m = read.value();
  const std::pair<LineField, QString> fills[] = {{LineField::Kind, Q(m.kind)},
                                                 {LineField::Stuff, Q(m.stuff)},
                                                 {LineField::Ff, Q(m.ff)},
                                                 {LineField::Fn, Q(m.fn)},
                                                 {LineField::Phases, QString::number(m.phases)}};
  for (const auto& [field, value] : fills) {
    if (value.isEmpty() || !journal.text(line, field).isEmpty()) continue;
    new SetTextCommand(journal, line, field, QString(), value, step);
  }
}

}  // namespace

QString LineJournal::setText(int line, LineField field, const QString& text) {
  if (line < 0 || line >= lineCount()) return {};
  if (QString why = CheckText(field, text); !why.isEmpty()) return why;
  const QString before = this->text(line, field);
  if (before == text) return {};
  if (field == LineField::Mark) {
    auto* step = new CompoundCommand(*this, journal_names::kStepCell.arg(LineFieldTitle(field)));
    new SetTextCommand(*this, line, field, before, text, step);
    AddMarkFill(*this, line, text, step);
    undo_.push(step);
    return {};
  }
  undo_.push(new SetTextCommand(*this, line, field, before, text));
  return {};
}

void LineJournal::setNetworkText(NetworkField field, const QString& text) {
  const QString before = networkText(field);
  if (before == text) return;
  undo_.push(new NetworkCommand(*this, field, before, text));
}

int LineJournal::insertLine(int at, int parentLine) {
  at = std::clamp(at, 0, lineCount());
  JournalLine line;
  QString name = journal_names::kStepInsert;
  if (parentLine >= 0 && parentLine < lineCount()) {
    line.parent = this->line(parentLine).id;
    line.from = this->line(parentLine).to;
    name = journal_names::kStepInsertFed.arg(Q(this->line(parentLine).id));
  }
  undo_.push(new InsertCommand(*this, name, at, std::move(line)));
  return at;
}

void LineJournal::removeLines(std::vector<int> lines) {
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  lines.erase(std::remove_if(lines.begin(), lines.end(), [this](int i) { return i < 0 || i >= lineCount(); }),
              lines.end());
  if (lines.empty()) return;
  undo_.push(new RemoveCommand(*this, std::move(lines)));
}

void LineJournal::moveLine(int from, int to) {
  if (from < 0 || from >= lineCount() || to < 0 || to >= lineCount() || from == to) return;
  undo_.push(new MoveCommand(*this, from, to));
}

QString LineJournal::pasteBlock(const std::vector<int>& lines, int field, const std::vector<QStringList>& rows) {
  if (rows.empty() || field < 0 || field >= kLineFieldCount) return {};
  // Every text is checked before anything changes.
  for (const QStringList& row : rows) {
    for (int c = 0; c < row.size() && field + c < kLineFieldCount; ++c) {
      if (QString why = CheckText(static_cast<LineField>(field + c), row[c]); !why.isEmpty()) return why;
    }
  }
  auto* step = new CompoundCommand(*this, journal_names::kStepPaste);
  int end = lineCount();  // where the next new line goes
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const QStringList& row = rows[k];
    const int at = k < lines.size() ? lines[k] : -1;
    const bool isNew = at < 0 || at >= lineCount();
    JournalLine added;
    for (int c = 0; c < row.size() && field + c < kLineFieldCount; ++c) {
      const auto f = static_cast<LineField>(field + c);
      if (isNew) {
        WriteText(added, f, row[c]);
      } else if (text(at, f) != row[c]) {
        new SetTextCommand(*this, at, f, text(at, f), row[c], step);
      }
    }
    if (isNew) new InsertCommand(*this, journal_names::kStepInsert, end++, std::move(added), step);
  }
  if (step->childCount() == 0) {
    delete step;
    return {};
  }
  undo_.push(step);
  return {};
}

namespace {

// The import: every line out, the imported ones in, and back on undo.
class ImportLinesCommand final : public JournalCommand {
 public:
  ImportLinesCommand(LineJournal& journal, std::vector<LineJournal::StoredLine> lines)
      : JournalCommand(journal, QStringLiteral("Импорт журнала")), other_(std::move(lines)) {}
  void redo() override { swapLines(); }
  void undo() override { swapLines(); }

 private:
  void swapLines() {
    batch([this] {
      std::vector<LineJournal::StoredLine> out;
      for (int at = journal_.lineCount() - 1; at >= 0; --at) out.push_back(takeLine(at));
      for (LineJournal::StoredLine& stored : other_) insertStored(journal_.lineCount(), std::move(stored));
      std::reverse(out.begin(), out.end());
      other_ = std::move(out);
    });
  }
  std::vector<LineJournal::StoredLine> other_;
};

}  // namespace

void LineJournal::importLines(std::vector<JournalLine> lines) {
  std::vector<StoredLine> stored;
  stored.reserve(lines.size());
  for (JournalLine& line : lines) stored.push_back(StoredLine{std::move(line), {}, {}});
  undo_.push(new ImportLinesCommand(*this, std::move(stored)));
}

void LineJournal::reset(JournalDocument document) {
  doc_ = std::move(document);
  doc_.otherLines.resize(doc_.network.lines.size());
  doc_.otherDevices.resize(doc_.network.lines.size());
  undo_.clear();
  undo_.setClean();
  emit linesReset();
  emit networkChanged();
  if (doc_.network.lines.size() <= kImmediateLines) {
    recalculateNow();
    return;
  }
  // A very large journal is computed on the worker thread at once.
  pause_->stop();
  resultsCurrent_ = false;
  ++generation_;
  startBackground();
  emit resultsChanged();
}

void LineJournal::writeText(int line, LineField field, const QString& text) {
  WriteText(doc_.network.lines[static_cast<std::size_t>(line)], field, text);
  if (batching_) {
    batchLines_.push_back(line);
    return;
  }
  emit lineChanged(line, static_cast<int>(field));
  scheduleCalculation();
}

void LineJournal::writeNetwork(NetworkField field, const QString& text) {
  JournalNetwork& n = doc_.network;
  std::string* target = nullptr;
  switch (field) {
    case NetworkField::Scheme:
      target = &n.scheme;
      break;
    case NetworkField::Power:
      target = &n.power;
      break;
    case NetworkField::SkMva:
      target = &n.skMva;
      break;
    case NetworkField::SkMinMva:
      target = &n.skMinMva;
      break;
    case NetworkField::Arc:
      target = &n.arc;
      break;
    case NetworkField::DuLimitTp:
      target = &n.duLimitTpPct;
      break;
    case NetworkField::DuLimitVru:
      target = &n.duLimitVruPct;
      break;
    case NetworkField::Count:
      return;
  }
  *target = S(text);
  emit networkChanged();
  scheduleCalculation();
}

void LineJournal::insertStored(int at, StoredLine stored) {
  const auto i = static_cast<std::ptrdiff_t>(at);
  doc_.network.lines.insert(doc_.network.lines.begin() + i, std::move(stored.line));
  doc_.otherLines.insert(doc_.otherLines.begin() + i, std::move(stored.other));
  doc_.otherDevices.insert(doc_.otherDevices.begin() + i, std::move(stored.otherDevice));
  structureChanged();
}

LineJournal::StoredLine LineJournal::takeLine(int at) {
  const auto i = static_cast<std::ptrdiff_t>(at);
  StoredLine out{std::move(doc_.network.lines[static_cast<std::size_t>(at)]),
                 std::move(doc_.otherLines[static_cast<std::size_t>(at)]),
                 std::move(doc_.otherDevices[static_cast<std::size_t>(at)])};
  doc_.network.lines.erase(doc_.network.lines.begin() + i);
  doc_.otherLines.erase(doc_.otherLines.begin() + i);
  doc_.otherDevices.erase(doc_.otherDevices.begin() + i);
  structureChanged();
  return out;
}

void LineJournal::structureChanged() {
  if (batching_) {
    batchStructure_ = true;
    return;
  }
  emit linesReset();
  scheduleCalculation();
}

void LineJournal::changed() {
  if (batchStructure_) {
    emit linesReset();
  } else {
    std::sort(batchLines_.begin(), batchLines_.end());
    batchLines_.erase(std::unique(batchLines_.begin(), batchLines_.end()), batchLines_.end());
    for (const int line : batchLines_) emit lineChanged(line, -1);
  }
  batchStructure_ = false;
  batchLines_.clear();
  scheduleCalculation();
}

void LineJournal::scheduleCalculation() {
  if (batching_) return;
  if (doc_.network.lines.size() <= kImmediateLines) {
    recalculateNow();
    return;
  }
  resultsCurrent_ = false;
  ++generation_;
  pause_->start();
}

void LineJournal::recalculateNow() {
  pause_->stop();
  ++generation_;
  result_ = ComputeJournal(doc_.network);
  resultsCurrent_ = true;
  emit resultsChanged();
}

void LineJournal::startBackground() {
  if (running_) {
    // The one running now is out of date; another follows when it ends.
    pause_->start();
    return;
  }
  running_ = true;
  const std::uint64_t generation = generation_;
  auto network = std::make_shared<JournalNetwork>(doc_.network);
  std::shared_ptr<Background> out = background_;
  QThread* worker = QThread::create([network, out, generation] {
    out->result = ComputeJournal(*network);
    out->generation = generation;
  });
  worker->setParent(this);
  connect(worker, &QThread::finished, this, [this, worker] {
    worker->deleteLater();
    running_ = false;
    if (background_->generation == generation_) {
      result_ = std::move(background_->result);
      resultsCurrent_ = true;
      emit resultsChanged();
    }
  });
  worker->start();
}

}  // namespace tesmir
