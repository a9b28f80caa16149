#include "report/journal_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <initializer_list>

#include "report/file_io.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

QString Quoted(const QString& path) { return QStringLiteral("«%1»").arg(path); }

// A text field of a line, the device or the transformer, by its key.
template <class Record>
struct TextKey {
  const char* key;
  std::string Record::*field;
};

// Fields that hold numbers: a decimal text, or a JSON number.
constexpr TextKey<JournalLine> kLineNumbers[] = {
    {"ff", &JournalLine::ff},         {"fn", &JournalLine::fn},        {"par", &JournalLine::par},
    {"length", &JournalLine::length}, {"ip", &JournalLine::ip},        {"cos_phi", &JournalLine::cosPhi},
    {"arc", &JournalLine::arc},       {"t_norm", &JournalLine::tNorm},
};
// Fields that hold texts only.
constexpr TextKey<JournalLine> kLineTexts[] = {
    {"from", &JournalLine::from},         {"to", &JournalLine::to},
    {"mark", &JournalLine::mark},         {"kind", &JournalLine::kind},
    {"material", &JournalLine::material}, {"model", &JournalLine::model},
};
constexpr TextKey<JournalDevice> kDeviceNumbers[] = {
    {"in", &JournalDevice::in},         {"release_current", &JournalDevice::releaseCurrent},
    {"safety", &JournalDevice::safety}, {"icu_ka", &JournalDevice::icuKa},
    {"i2t", &JournalDevice::i2t},       {"t_inst", &JournalDevice::tInst},
};
constexpr TextKey<JournalDevice> kDeviceTexts[] = {
    {"type", &JournalDevice::type},
    {"multiple", &JournalDevice::multiple},
    {"fuse_type", &JournalDevice::fuseType},
    {"time", &JournalDevice::time},
};
constexpr TextKey<JournalNetwork> kNetworkNumbers[] = {
    {"arc", &JournalNetwork::arc},
    {"du_limit_tp_pct", &JournalNetwork::duLimitTpPct},
    {"du_limit_vru_pct", &JournalNetwork::duLimitVruPct},
};
constexpr TextKey<JournalNetwork> kTransformerNumbers[] = {
    {"power", &JournalNetwork::power},
    {"sk_mva", &JournalNetwork::skMva},
    {"sk_min_mva", &JournalNetwork::skMinMva},
};
constexpr const char* kInsulations[] = {"PVC", "XLPE", "paper"};

// Reads the fields of a checked document; every failure names the field.
class Reader {
 public:
  QString reason;

  bool fail(const QString& text) {
    reason = text;
    return false;
  }

  // An optional text; `numberToo` accepts a JSON number written as its shortest text.
  bool text(QJsonObject& object, const QString& path, const char* key, std::string& out, bool numberToo) {
    const QJsonValue value = object.take(QLatin1String(key));
    if (value.isUndefined()) return true;
    if (value.isString()) {
      out = value.toString().toStdString();
      return true;
    }
    if (numberToo && value.isDouble()) {
      out = QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest).toStdString();
      return true;
    }
    return fail(QStringLiteral("поле %1 должно быть %2")
                    .arg(Quoted(path + QLatin1String(key)),
                         numberToo ? QStringLiteral("числом или строкой") : QStringLiteral("строкой")));
  }

  template <class Record, std::size_t N>
  bool texts(QJsonObject& object, const QString& path, const TextKey<Record> (&keys)[N], Record& record,
             bool numberToo) {
    for (const TextKey<Record>& k : keys) {
      if (!text(object, path, k.key, record.*k.field, numberToo)) return false;
    }
    return true;
  }

  bool object(const QJsonValue& value, const QString& where, QJsonObject& out) {
    if (!value.isObject()) return fail(QStringLiteral("поле %1 должно быть объектом").arg(Quoted(where)));
    out = value.toObject();
    return true;
  }
};

bool ReadDevice(Reader& r, const QJsonValue& value, const QString& path, JournalDevice& device, QJsonObject& other) {
  if (!r.object(value, path.chopped(1), other)) return false;
  return r.texts(other, path, kDeviceTexts, device, false) && r.texts(other, path, kDeviceNumbers, device, true);
}

bool ReadLine(Reader& r, const QJsonValue& value, const QString& path, JournalLine& line, QJsonObject& other,
              QJsonObject& otherDevice) {
  if (!r.object(value, path.chopped(1), other)) return false;
  const QJsonValue id = other.take(QStringLiteral("id"));
  if (id.isUndefined()) return r.fail(QStringLiteral("нет поля %1").arg(Quoted(path + QStringLiteral("id"))));
  if (!id.isString())
    return r.fail(QStringLiteral("поле %1 должно быть строкой").arg(Quoted(path + QStringLiteral("id"))));
  line.id = id.toString().toStdString();
  const QJsonValue parent = other.take(QStringLiteral("parent"));
  if (parent.isString()) {
    line.parent = parent.toString().toStdString();
  } else if (!parent.isNull() && !parent.isUndefined()) {
    return r.fail(QStringLiteral("поле %1 должно быть строкой или null").arg(Quoted(path + QStringLiteral("parent"))));
  }
  if (!r.texts(other, path, kLineTexts, line, false) || !r.texts(other, path, kLineNumbers, line, true)) return false;
  if (!r.text(other, path, "insulation", line.insulation, false)) return false;
  if (!line.insulation.empty() && std::none_of(std::begin(kInsulations), std::end(kInsulations),
                                               [&line](const char* known) { return line.insulation == known; })) {
    return r.fail(
        QStringLiteral("поле %1 должно быть PVC, XLPE или paper").arg(Quoted(path + QStringLiteral("insulation"))));
  }
  const QJsonValue phases = other.take(QStringLiteral("phases"));
  if (!phases.isUndefined()) {
    if (!phases.isDouble() || (phases.toDouble() != 1 && phases.toDouble() != 3)) {
      return r.fail(QStringLiteral("поле %1 должно быть 1 или 3").arg(Quoted(path + QStringLiteral("phases"))));
    }
    line.phases = phases.toInt();
  }
  const QJsonValue final = other.take(QStringLiteral("final"));
  if (!final.isUndefined()) {
    if (!final.isBool()) {
      return r.fail(QStringLiteral("поле %1 должно быть true или false").arg(Quoted(path + QStringLiteral("final"))));
    }
    line.final = final.toBool();
  }
  const QJsonValue device = other.take(QStringLiteral("device"));
  if (!device.isUndefined() && !device.isNull()) {
    line.device.emplace();
    if (!ReadDevice(r, device, path + QStringLiteral("device."), *line.device, otherDevice)) return false;
  }
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
  JournalParse out;
  Reader r;
  const auto failed = [&out](const QString& reason) {
    out.reason = reason;
    return out;
  };
  if (bytes.size() > kJournalMaxBytes) return failed(QStringLiteral("файл слишком велик"));
  QJsonParseError error{};
  const QJsonDocument json = QJsonDocument::fromJson(bytes.toByteArray(), &error);
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
  if (!r.text(root, QString(), "name", net.name, false) || !r.texts(root, QString(), kNetworkNumbers, net, true)) {
    return failed(r.reason);
  }

  const QJsonValue trans = root.take(QStringLiteral("transformer"));
  if (trans.isUndefined()) return failed(QStringLiteral("нет поля «transformer»"));
  if (!r.object(trans, QStringLiteral("transformer"), doc.otherTransformer)) return failed(r.reason);
  const QString transPath = QStringLiteral("transformer.");
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
    const QString loadPath = QStringLiteral("transformer.load.");
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
    const QString path = QStringLiteral("lines[%1].").arg(i + 1);
    if (!ReadLine(r, rows[i], path, net.lines[at], doc.otherLines[at], doc.otherDevices[at])) return failed(r.reason);
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
