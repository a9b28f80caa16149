#include "report/journal_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <type_traits>

#include "report/file_io.h"
#include "report/journal_direct_read.h"
#include "report/journal_keys.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

using namespace journal_keys;

QString Quoted(const QString& path) { return QStringLiteral("«%1»").arg(path); }

// A text read from a document as UTF-8; plain ASCII is copied directly.
std::string Utf8Text(const QString& text) {
  std::string out;
  out.resize(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c >= 0x80) return text.toStdString();
    out[static_cast<std::size_t>(i)] = static_cast<char>(c);
  }
  return out;
}

// Where a field is, for the reason that names it: "lines[3].device.in".
struct Where {
  QLatin1String prefix;  // "", "transformer.", "transformer.load."
  qsizetype line = 0;    // 1-based line of "lines[N]."; 0 for none
  bool device = false;   // within the line's "device."

  QString field(const char* key) const { return place() + QLatin1String(key); }
  // The object itself, without the trailing point.
  QString object() const { return place().chopped(1); }
  QString place() const {
    QString text = prefix;
    if (line > 0) text += QStringLiteral("lines[%1].").arg(line);
    if (device) text += QLatin1String("device.");
    return text;
  }
};

// Reads the fields of a checked document; every failure names the field.
class Reader {
 public:
  QString reason;

  bool fail(const QString& text) {
    reason = text;
    return false;
  }

  bool badType(const Where& where, const char* key, bool numberToo) {
    return fail(QStringLiteral("поле %1 должно быть %2")
                    .arg(Quoted(where.field(key)),
                         numberToo ? QStringLiteral("числом или строкой") : QStringLiteral("строкой")));
  }

  // An optional text; `numberToo` accepts a JSON number written as its shortest text.
  bool read(const QJsonValue& value, const Where& where, const char* key, std::string& out, bool numberToo) {
    if (value.isUndefined()) return true;
    if (value.isString()) {
      out = Utf8Text(value.toString());
      return true;
    }
    if (numberToo && value.isDouble()) {
      out = QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest).toStdString();
      return true;
    }
    return badType(where, key, numberToo);
  }

  // The same, taking the field out of `object`.
  bool text(QJsonObject& object, const Where& where, const char* key, std::string& out, bool numberToo) {
    return read(object.take(QLatin1String(key)), where, key, out, numberToo);
  }

  template <class Record, std::size_t N>
  bool texts(QJsonObject& object, const Where& where, const TextKey<Record> (&keys)[N], Record& record,
             bool numberToo) {
    for (const TextKey<Record>& k : keys) {
      if (!text(object, where, k.key, record.*k.field, numberToo)) return false;
    }
    return true;
  }

  // The same, reading the fields of `object` in place; `known` counts those found.
  template <class Record, std::size_t N>
  bool peek(const QJsonObject& object, const Where& where, const TextKey<Record> (&keys)[N], Record& record,
            bool numberToo, qsizetype& known) {
    for (const TextKey<Record>& k : keys) {
      const QJsonValue value = object.value(QLatin1String(k.key));
      if (value.isUndefined()) continue;
      ++known;
      if (!read(value, where, k.key, record.*k.field, numberToo)) return false;
    }
    return true;
  }

  bool object(const QJsonValue& value, const QString& where, QJsonObject& out) {
    if (!value.isObject()) return fail(QStringLiteral("поле %1 должно быть объектом").arg(Quoted(where)));
    out = value.toObject();
    return true;
  }
};

// The keys of a line and of its device that the program reads.
constexpr const char* kLineOwnKeys[] = {"id", "parent", "insulation", "phases", "final", "device"};

// The fields of `object` the program does not know: all but `keys...`.
template <class... Lists>
QJsonObject OtherFields(const QJsonObject& object, const Lists&... lists) {
  QJsonObject other = object;
  const auto drop = [&other](const auto& list) {
    for (const auto& entry : list) {
      if constexpr (std::is_same_v<std::decay_t<decltype(entry)>, const char*>) {
        other.remove(QLatin1String(entry));
      } else {
        other.remove(QLatin1String(entry.key));
      }
    }
  };
  (drop(lists), ...);
  return other;
}

bool ReadDevice(Reader& r, const QJsonValue& value, const Where& where, JournalDevice& device, QJsonObject& other) {
  if (!value.isObject()) return r.object(value, where.object(), other);
  const QJsonObject object = value.toObject();
  qsizetype known = 0;
  if (!r.peek(object, where, kDeviceTexts, device, false, known) ||
      !r.peek(object, where, kDeviceNumbers, device, true, known)) {
    return false;
  }
  if (known != object.size()) other = OtherFields(object, kDeviceTexts, kDeviceNumbers);
  return true;
}

bool ReadLine(Reader& r, const QJsonValue& value, const Where& where, JournalLine& line, QJsonObject& other,
              QJsonObject& otherDevice) {
  if (!value.isObject()) return r.object(value, where.object(), other);
  const QJsonObject object = value.toObject();
  qsizetype known = 0;
  const QJsonValue id = object.value(QLatin1String("id"));
  if (id.isUndefined()) return r.fail(QStringLiteral("нет поля %1").arg(Quoted(where.field("id"))));
  if (!id.isString()) return r.fail(QStringLiteral("поле %1 должно быть строкой").arg(Quoted(where.field("id"))));
  ++known;
  line.id = Utf8Text(id.toString());
  const QJsonValue parent = object.value(QLatin1String("parent"));
  if (!parent.isUndefined()) ++known;
  if (parent.isString()) {
    line.parent = Utf8Text(parent.toString());
  } else if (!parent.isNull() && !parent.isUndefined()) {
    return r.fail(QStringLiteral("поле %1 должно быть строкой или null").arg(Quoted(where.field("parent"))));
  }
  if (!r.peek(object, where, kLineTexts, line, false, known) ||
      !r.peek(object, where, kLineNumbers, line, true, known)) {
    return false;
  }
  const QJsonValue insulation = object.value(QLatin1String("insulation"));
  if (!insulation.isUndefined()) ++known;
  if (!r.read(insulation, where, "insulation", line.insulation, false)) return false;
  if (!line.insulation.empty() && std::none_of(std::begin(kInsulations), std::end(kInsulations),
                                               [&line](const char* name) { return line.insulation == name; })) {
    return r.fail(QStringLiteral("поле %1 должно быть PVC, XLPE или paper").arg(Quoted(where.field("insulation"))));
  }
  const QJsonValue phases = object.value(QLatin1String("phases"));
  if (!phases.isUndefined()) {
    ++known;
    if (!phases.isDouble() || (phases.toDouble() != 1 && phases.toDouble() != 3)) {
      return r.fail(QStringLiteral("поле %1 должно быть 1 или 3").arg(Quoted(where.field("phases"))));
    }
    line.phases = phases.toInt();
  }
  const QJsonValue final = object.value(QLatin1String("final"));
  if (!final.isUndefined()) {
    ++known;
    if (!final.isBool()) {
      return r.fail(QStringLiteral("поле %1 должно быть true или false").arg(Quoted(where.field("final"))));
    }
    line.final = final.toBool();
  }
  const QJsonValue device = object.value(QLatin1String("device"));
  if (!device.isUndefined()) ++known;
  if (!device.isUndefined() && !device.isNull()) {
    line.device.emplace();
    Where inDevice = where;
    inDevice.device = true;
    if (!ReadDevice(r, device, inDevice, *line.device, otherDevice)) return false;
  }
  if (known != object.size()) other = OtherFields(object, kLineTexts, kLineNumbers, kLineOwnKeys);
  return true;
}

void Put(QJsonObject& object, const char* key, const std::string& text) {
  if (!text.empty()) object.insert(QLatin1String(key), QUtf8(text));
}

template <class Record, std::size_t N>
void PutAll(QJsonObject& object, const TextKey<Record> (&keys)[N], const Record& record) {
  for (const TextKey<Record>& k : keys) Put(object, k.key, record.*k.field);
}

}  // namespace

QByteArray JournalToJson(const JournalDocument& doc) {
  const JournalNetwork& net = doc.network;
  QJsonObject root = doc.otherRoot;
  root.insert(QStringLiteral("format"), QLatin1String(kJournalFormatName));
  root.insert(QStringLiteral("version"), kJournalFormatVersion);
  Put(root, "name", net.name);
  PutAll(root, kNetworkNumbers, net);
  QJsonObject trans = doc.otherTransformer;
  trans.insert(QStringLiteral("scheme"), QUtf8(net.scheme));
  PutAll(trans, kTransformerNumbers, net);
  // The reader requires the power, empty or not: it is written either way.
  trans.insert(QStringLiteral("power"), QUtf8(net.power));
  if (net.load) {
    QJsonObject load = doc.otherLoad;
    Put(load, "ip", net.load->ip);
    Put(load, "cos_phi", net.load->cosPhi);
    trans.insert(QStringLiteral("load"), load);
  }
  root.insert(QStringLiteral("transformer"), trans);
  QJsonArray lines;
  for (std::size_t i = 0; i < net.lines.size(); ++i) {
    const JournalLine& line = net.lines[i];
    QJsonObject row = i < doc.otherLines.size() ? doc.otherLines[i] : QJsonObject();
    row.insert(QStringLiteral("id"), QUtf8(line.id));
    row.insert(QStringLiteral("parent"), line.parent ? QJsonValue(QUtf8(*line.parent)) : QJsonValue(QJsonValue::Null));
    PutAll(row, kLineTexts, line);
    PutAll(row, kLineNumbers, line);
    Put(row, "insulation", line.insulation);
    if (line.phases != 0) row.insert(QStringLiteral("phases"), line.phases);
    if (line.final) row.insert(QStringLiteral("final"), *line.final);
    if (line.device) {
      QJsonObject device = i < doc.otherDevices.size() ? doc.otherDevices[i] : QJsonObject();
      PutAll(device, kDeviceTexts, *line.device);
      PutAll(device, kDeviceNumbers, *line.device);
      row.insert(QStringLiteral("device"), device);
    }
    lines.append(row);
  }
  root.insert(QStringLiteral("lines"), lines);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

JournalParse ParseJournal(QByteArrayView bytes) {
  if (bytes.size() <= kJournalMaxBytes) {
    std::optional<JournalDocument> direct = ReadJournalDirectly(bytes);
    if (direct) {
      JournalParse out;
      out.document = std::move(direct);
      return out;
    }
  }
  return ParseJournalTree(bytes);
}

JournalParse ParseJournalTree(QByteArrayView bytes) {
  JournalParse out;
  Reader r;
  const auto failed = [&out](const QString& reason) {
    out.reason = reason;
    return out;
  };
  if (bytes.size() > kJournalMaxBytes) return failed(QStringLiteral("файл слишком велик"));
  QJsonParseError error{};
  const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromRawData(bytes.data(), bytes.size()),
                                                     &error);  // the parser copies what it keeps
  if (error.error != QJsonParseError::NoError) {
    return failed(QStringLiteral("текст не является документом JSON (ошибка в позиции %1)").arg(error.offset));
  }
  if (!json.isObject()) return failed(QStringLiteral("документ JSON не является объектом"));
  JournalDocument doc;
  QJsonObject root = json.object();

  const QJsonValue format = root.take(QStringLiteral("format"));
  if (format.isUndefined()) return failed(QStringLiteral("нет поля «format»"));
  if (format.toString() != QLatin1String(kJournalFormatName)) return failed(QStringLiteral("неизвестное имя формата"));
  const QJsonValue version = root.take(QStringLiteral("version"));
  if (version.isUndefined()) return failed(QStringLiteral("нет поля «version»"));
  if (!version.isDouble() || version.toDouble() != static_cast<double>(version.toInt()) || version.toInt() < 1) {
    return failed(QStringLiteral("поле «version» должно быть целым положительным числом"));
  }
  if (version.toInt() > kJournalFormatVersion) {
    return failed(QStringLiteral("версия формата %1 новее поддерживаемой программой (%2)")
                      .arg(version.toInt())
                      .arg(kJournalFormatVersion));
  }
  JournalNetwork& net = doc.network;
  if (!r.text(root, Where{}, "name", net.name, false) || !r.texts(root, Where{}, kNetworkNumbers, net, true)) {
    return failed(r.reason);
  }

  const QJsonValue trans = root.take(QStringLiteral("transformer"));
  if (trans.isUndefined()) return failed(QStringLiteral("нет поля «transformer»"));
  if (!r.object(trans, QStringLiteral("transformer"), doc.otherTransformer)) return failed(r.reason);
  const Where transPath{QLatin1String("transformer.")};
  if (!doc.otherTransformer.contains(QStringLiteral("scheme")))
    return failed(QStringLiteral("нет поля «transformer.scheme»"));
  if (!doc.otherTransformer.contains(QStringLiteral("power")))
    return failed(QStringLiteral("нет поля «transformer.power»"));
  if (!r.text(doc.otherTransformer, transPath, "scheme", net.scheme, false) ||
      !r.texts(doc.otherTransformer, transPath, kTransformerNumbers, net, true)) {
    return failed(r.reason);
  }
  const QJsonValue load = doc.otherTransformer.take(QStringLiteral("load"));
  if (!load.isUndefined() && !load.isNull()) {
    if (!r.object(load, QStringLiteral("transformer.load"), doc.otherLoad)) return failed(r.reason);
    JournalLoad& l = net.load.emplace();
    const Where loadPath{QLatin1String("transformer.load.")};
    if (!r.text(doc.otherLoad, loadPath, "ip", l.ip, true) ||
        !r.text(doc.otherLoad, loadPath, "cos_phi", l.cosPhi, true)) {
      return failed(r.reason);
    }
  }

  const QJsonValue lines = root.take(QStringLiteral("lines"));
  if (lines.isUndefined()) return failed(QStringLiteral("нет поля «lines»"));
  if (!lines.isArray()) return failed(QStringLiteral("поле «lines» должно быть списком"));
  const QJsonArray rows = lines.toArray();
  net.lines.resize(static_cast<std::size_t>(rows.size()));
  doc.otherLines.resize(net.lines.size());
  doc.otherDevices.resize(net.lines.size());
  for (qsizetype i = 0; i < rows.size(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    const Where where{QLatin1String(), i + 1};
    if (!ReadLine(r, rows[i], where, net.lines[at], doc.otherLines[at], doc.otherDevices[at])) return failed(r.reason);
  }
  doc.otherRoot = root;
  out.document = std::move(doc);
  return out;
}

QString SaveJournalFile(const QString& path, const JournalDocument& document) {
  const QByteArray bytes = JournalToJson(document);
  const Result<FileSaved, FileError> saved = SaveFileBytes(path, bytes);
  return saved ? QString() : saved.error().message;
}

LoadedJournal LoadJournalFile(const QString& path) {
  LoadedJournal out;
  ReadLimits limits;
  limits.maxBytes = kJournalMaxBytes;
  Result<QByteArray, FileError> bytes = ReadRegularFile(path, limits);
  if (!bytes) {
    // Too large is a file the program never writes: refused as not a journal.
    if (bytes.error().kind == FileErrorKind::TooLarge) {
      out.reason = QStringLiteral("файл слишком велик");
    } else {
      out.error = bytes.error().message;
    }
    return out;
  }
  JournalParse parsed = ParseJournal(bytes.value());
  out.document = std::move(parsed.document);
  out.reason = std::move(parsed.reason);
  return out;
}

}  // namespace tesmir
