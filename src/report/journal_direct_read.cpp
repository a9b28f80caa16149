#include "report/journal_direct_read.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <system_error>

#include "report/journal_keys.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

using namespace journal_keys;

// Unknown values nested deeper than this are left to the tree reader.
constexpr int kDeepestUnknown = 32;

// A value as the fields read it: what kind it was and, for a string or a
// number, the text the field keeps.
enum class Kind { String, Number, True, False, Null, Other };

// Reads the bytes of one document; every method returns false when the
// document is not one it reads exactly as the tree reader would.
class Scanner {
 public:
  explicit Scanner(QByteArrayView bytes) : at_(bytes.data()), end_(bytes.data() + bytes.size()) {}

  void space() {
    while (at_ < end_ && (*at_ == ' ' || *at_ == '\n' || *at_ == '\r' || *at_ == '\t')) ++at_;
  }
  bool next(char c) {
    space();
    if (at_ == end_ || *at_ != c) return false;
    ++at_;
    return true;
  }
  bool peek(char c) {
    space();
    return at_ < end_ && *at_ == c;
  }
  bool atEnd() {
    space();
    return at_ == end_;
  }
  const char* position() const { return at_; }

  // A string's text as UTF-8, escapes resolved.
  bool string(std::string& out) {
    out.clear();
    if (!next('"')) return false;
    for (;;) {
      const char* run = at_;
      while (at_ < end_ && Plain(static_cast<unsigned char>(*at_))) ++at_;
      out.append(run, static_cast<std::size_t>(at_ - run));
      if (at_ == end_) return false;
      const auto c = static_cast<unsigned char>(*at_);
      if (c == '"') {
        ++at_;
        return true;
      }
      if (c == '\\') {
        if (!escape(out)) return false;
      } else if (c >= 0x80) {
        if (!multibyte(out)) return false;
      } else {
        return false;  // a control character
      }
    }
  }

  // A value of a field: its kind, and for a string or a number the text.
  bool value(Kind& kind, std::string& text) {
    space();
    if (at_ == end_) return false;
    switch (*at_) {
      case '"':
        kind = Kind::String;
        return string(text);
      case 't':
        kind = Kind::True;
        return word("true");
      case 'f':
        kind = Kind::False;
        return word("false");
      case 'n':
        kind = Kind::Null;
        return word("null");
      case '{':
      case '[':
        kind = Kind::Other;
        return false;
      default:
        kind = Kind::Number;
        return number(text);
    }
  }

  // The number just read by value(), as a double.
  double lastNumber() const { return number_; }

  // Skips any value, checking it as strictly as the fields are read.
  bool skip(int depth) {
    if (depth > kDeepestUnknown) return false;
    if (peek('{')) {
      ++at_;
      if (next('}')) return true;
      do {
        if (!string(scratch_) || !next(':') || !skip(depth + 1)) return false;
      } while (next(','));
      return next('}');
    }
    if (peek('[')) {
      ++at_;
      if (next(']')) return true;
      do {
        if (!skip(depth + 1)) return false;
      } while (next(','));
      return next(']');
    }
    Kind kind = Kind::Other;
    return value(kind, scratch_);
  }

 private:
  static bool Plain(unsigned char c) { return c >= 0x20 && c < 0x80 && c != '"' && c != '\\'; }

  bool word(const char* text) {
    const std::size_t n = std::strlen(text);
    if (static_cast<std::size_t>(end_ - at_) < n || std::memcmp(at_, text, n) != 0) return false;
    at_ += n;
    return true;
  }

  // A JSON number; numbers the tree reader might read differently (minus
  // zero written as an integer, out of range) are left to it.
  bool number(std::string& text) {
    const char* start = at_;
    const char* p = at_;
    if (p < end_ && *p == '-') ++p;
    const char* digits = p;
    if (p < end_ && *p == '0') {
      ++p;
    } else {
      while (p < end_ && *p >= '0' && *p <= '9') ++p;
    }
    if (p == digits) return false;
    bool integral = true;
    if (p < end_ && *p == '.') {
      integral = false;
      const char* fraction = ++p;
      while (p < end_ && *p >= '0' && *p <= '9') ++p;
      if (p == fraction) return false;
    }
    if (p < end_ && (*p == 'e' || *p == 'E')) {
      integral = false;
      ++p;
      if (p < end_ && (*p == '+' || *p == '-')) ++p;
      const char* exponent = p;
      while (p < end_ && *p >= '0' && *p <= '9') ++p;
      if (p == exponent) return false;
    }
    if (integral && *start == '-' && p - start == 2 && start[1] == '0') return false;
    const std::from_chars_result read = std::from_chars(start, p, number_);
    if (read.ec != std::errc() || read.ptr != p) return false;
    at_ = p;
    text = QByteArray::number(number_, 'g', QLocale::FloatingPointShortest).toStdString();
    return true;
  }

  static int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  bool hex4(std::uint32_t& code) {
    if (end_ - at_ < 4) return false;
    code = 0;
    for (int i = 0; i < 4; ++i) {
      const int h = Hex(at_[i]);
      if (h < 0) return false;
      code = code << 4 | static_cast<std::uint32_t>(h);
    }
    at_ += 4;
    return true;
  }

  static bool Noncharacter(std::uint32_t code) {
    return (code >= 0xFDD0 && code <= 0xFDEF) || (code & 0xFFFE) == 0xFFFE;
  }

  static void Append(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  bool escape(std::string& out) {
    ++at_;  // the backslash
    if (at_ == end_) return false;
    const char c = *at_++;
    switch (c) {
      case '"':
      case '\\':
      case '/':
        out += c;
        return true;
      case 'b':
        out += '\b';
        return true;
      case 'f':
        out += '\f';
        return true;
      case 'n':
        out += '\n';
        return true;
      case 'r':
        out += '\r';
        return true;
      case 't':
        out += '\t';
        return true;
      case 'u':
        break;
      default:
        return false;
    }
    std::uint32_t code = 0;
    if (!hex4(code)) return false;
    if (code >= 0xDC00 && code <= 0xDFFF) return false;  // a low surrogate alone
    if (code >= 0xD800 && code <= 0xDBFF) {
      std::uint32_t low = 0;
      if (end_ - at_ < 2 || at_[0] != '\\' || at_[1] != 'u') return false;
      at_ += 2;
      if (!hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    if (Noncharacter(code)) return false;
    Append(out, code);
    return true;
  }

  // One character of two to four bytes, checked as every UTF-8 text is;
  // noncharacters too are left to the tree reader.
  bool multibyte(std::string& out) {
    char32_t code = 0;
    const std::size_t length =
        Utf8SequenceLength(std::string_view(at_, static_cast<std::size_t>(end_ - at_)), 0, &code);
    if (length < 2 || Noncharacter(code)) return false;
    out.append(at_, length);
    at_ += length;
    return true;
  }

  const char* at_;
  const char* end_;
  double number_ = 0;
  std::string scratch_;
};

// The fields of one object: which known keys were seen (a key seen twice is
// left to the tree reader), and the unknown ones kept as JSON values.
class ObjectReader {
 public:
  ObjectReader(Scanner& in, QJsonObject& other) : in_(in), other_(other) {}

  // Reads `{ "key": value, ... }`, calling field(key) at each value; field
  // returns false for a document it cannot read, or reads the value itself.
  template <class Field>
  bool read(Field&& field) {
    if (!in_.next('{')) return false;
    if (in_.next('}')) return true;
    do {
      if (!in_.string(key_) || !in_.next(':')) return false;
      if (!field(std::string_view(key_))) return false;
    } while (in_.next(','));
    return in_.next('}');
  }

  // Marks known key number `k` as seen; false when it was seen before.
  bool once(std::size_t k) {
    const std::uint64_t bit = std::uint64_t{1} << k;
    if ((seen_ & bit) != 0) return false;
    seen_ |= bit;
    return true;
  }
  bool seen(std::size_t k) const { return (seen_ >> k & 1U) != 0; }

  // Keeps the value of an unknown key, read by Qt's own JSON reader.
  bool keepUnknown(std::string_view key) {
    const QString name = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    if (other_.contains(name)) return false;
    in_.space();
    const char* start = in_.position();
    if (!in_.skip(0)) return false;
    QByteArray wrapped;
    wrapped.reserve(in_.position() - start + 2);
    wrapped += '[';
    wrapped.append(start, in_.position() - start);
    wrapped += ']';
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(wrapped, &error);
    if (error.error != QJsonParseError::NoError || !json.isArray() || json.array().size() != 1) return false;
    other_.insert(name, json.array().at(0));
    return true;
  }

 private:
  Scanner& in_;
  QJsonObject& other_;
  std::string key_;
  std::uint64_t seen_ = 0;
};

// A text field: a string, or for a number field also a JSON number.
bool TextField(Scanner& in, std::string& out, bool numberToo) {
  Kind kind = Kind::Other;
  if (!in.value(kind, out)) return false;
  return kind == Kind::String || (numberToo && kind == Kind::Number);
}

// Finds `key` among the keys of a table; the table's size when absent.
template <class Record, std::size_t N>
std::size_t Find(const TextKey<Record> (&keys)[N], std::string_view key) {
  for (std::size_t k = 0; k < N; ++k) {
    if (key == keys[k].key) return k;
  }
  return N;
}

// Reads a field of either table into `record`, the text keys numbered
// first; `handled` is false when the key is in neither.
template <class Record, std::size_t T, std::size_t M>
bool TableField(Scanner& in, ObjectReader& object, std::string_view key, const TextKey<Record> (&texts)[T],
                const TextKey<Record> (&numbers)[M], Record& record, bool& handled) {
  handled = true;
  if (const std::size_t k = Find(texts, key); k < T) {
    return object.once(k) && TextField(in, record.*texts[k].field, false);
  }
  if (const std::size_t k = Find(numbers, key); k < M) {
    return object.once(T + k) && TextField(in, record.*numbers[k].field, true);
  }
  handled = false;
  return true;
}

bool ReadDevice(Scanner& in, JournalDevice& device, QJsonObject& other) {
  ObjectReader object(in, other);
  return object.read([&](std::string_view key) {
    bool handled = false;
    if (!TableField(in, object, key, kDeviceTexts, kDeviceNumbers, device, handled)) return false;
    return handled || object.keepUnknown(key);
  });
}

// The keys of a line beyond its text tables, numbered after them.
enum LineKey : std::size_t { kId, kParent, kInsulation, kPhases, kFinal, kDevice, kLineKeyCount };
constexpr const char* kLineKeys[kLineKeyCount] = {"id", "parent", "insulation", "phases", "final", "device"};
constexpr std::size_t kLineTableKeys = std::size(kLineTexts) + std::size(kLineNumbers);

bool ReadLine(Scanner& in, JournalLine& line, QJsonObject& other, QJsonObject& otherDevice) {
  ObjectReader object(in, other);
  std::string text;
  const bool read = object.read([&](std::string_view key) {
    bool handled = false;
    if (!TableField(in, object, key, kLineTexts, kLineNumbers, line, handled)) return false;
    if (handled) return true;
    const auto own = static_cast<std::size_t>(
        std::find_if(std::begin(kLineKeys), std::end(kLineKeys), [key](const char* k) { return key == k; }) -
        std::begin(kLineKeys));
    if (own == kLineKeyCount) return object.keepUnknown(key);
    if (!object.once(kLineTableKeys + own)) return false;
    Kind kind = Kind::Other;
    switch (static_cast<LineKey>(own)) {
      case kId:
        return TextField(in, line.id, false);
      case kParent:
        if (in.peek('n')) return in.value(kind, text) && kind == Kind::Null;
        return TextField(in, line.parent.emplace(), false);
      case kInsulation:
        return TextField(in, line.insulation, false) &&
               (line.insulation.empty() || std::any_of(std::begin(kInsulations), std::end(kInsulations),
                                                       [&line](const char* name) { return line.insulation == name; }));
      case kPhases:
        if (!in.value(kind, text) || kind != Kind::Number) return false;
        if (in.lastNumber() != 1 && in.lastNumber() != 3) return false;
        line.phases = static_cast<int>(in.lastNumber());
        return true;
      case kFinal:
        if (!in.value(kind, text) || (kind != Kind::True && kind != Kind::False)) return false;
        line.final = kind == Kind::True;
        return true;
      case kDevice:
        if (in.peek('n')) return in.value(kind, text) && kind == Kind::Null;
        if (!in.peek('{')) return false;
        return ReadDevice(in, line.device.emplace(), otherDevice);
      case kLineKeyCount:
        break;
    }
    return false;
  });
  return read && object.seen(kLineTableKeys + kId);
}

bool ReadLoad(Scanner& in, JournalLoad& load, QJsonObject& other) {
  ObjectReader object(in, other);
  return object.read([&](std::string_view key) {
    if (key == "ip") return object.once(0) && TextField(in, load.ip, true);
    if (key == "cos_phi") return object.once(1) && TextField(in, load.cosPhi, true);
    return object.keepUnknown(key);
  });
}

// The transformer's keys: its scheme, its load, then its number fields.
enum TransformerKey : std::size_t { kScheme, kLoad, kTransformerNumbersAt };

bool ReadTransformer(Scanner& in, JournalDocument& doc) {
  JournalNetwork& net = doc.network;
  ObjectReader object(in, doc.otherTransformer);
  std::string text;
  const bool read = object.read([&](std::string_view key) {
    if (key == "scheme") return object.once(kScheme) && TextField(in, net.scheme, false);
    if (key == "load") {
      if (!object.once(kLoad)) return false;
      Kind kind = Kind::Other;
      if (in.peek('n')) return in.value(kind, text) && kind == Kind::Null;
      if (!in.peek('{')) return false;
      return ReadLoad(in, net.load.emplace(), doc.otherLoad);
    }
    if (const std::size_t k = Find(kTransformerNumbers, key); k < std::size(kTransformerNumbers)) {
      return object.once(kTransformerNumbersAt + k) && TextField(in, net.*kTransformerNumbers[k].field, true);
    }
    return object.keepUnknown(key);
  });
  // The scheme and the power must be given.
  const std::size_t power = kTransformerNumbersAt + Find(kTransformerNumbers, "power");
  return read && object.seen(kScheme) && object.seen(power);
}

bool ReadLines(Scanner& in, JournalDocument& doc) {
  if (!in.next('[')) return false;
  if (in.next(']')) return true;
  do {
    if (!in.peek('{')) return false;
    doc.network.lines.emplace_back();
    doc.otherLines.emplace_back();
    doc.otherDevices.emplace_back();
    if (!ReadLine(in, doc.network.lines.back(), doc.otherLines.back(), doc.otherDevices.back())) return false;
  } while (in.next(','));
  return in.next(']');
}

enum RootKey : std::size_t { kFormat, kVersion, kName, kTransformer, kLines, kRootKeyCount };

}  // namespace

std::optional<JournalDocument> ReadJournalDirectly(QByteArrayView bytes) {
  Scanner in(bytes);
  JournalDocument doc;
  JournalNetwork& net = doc.network;
  ObjectReader root(in, doc.otherRoot);
  std::string text;
  const bool read = root.read([&](std::string_view key) {
    Kind kind = Kind::Other;
    if (key == "format") {
      return root.once(kFormat) && in.value(kind, text) && kind == Kind::String && text == kJournalFormatName;
    }
    if (key == "version") {
      if (!root.once(kVersion) || !in.value(kind, text) || kind != Kind::Number) return false;
      const double version = in.lastNumber();
      return version >= 1 && version <= kJournalFormatVersion && version == static_cast<int>(version);
    }
    if (key == "name") return root.once(kName) && TextField(in, net.name, false);
    if (key == "transformer") return root.once(kTransformer) && in.peek('{') && ReadTransformer(in, doc);
    if (key == "lines") return root.once(kLines) && ReadLines(in, doc);
    if (const std::size_t k = Find(kNetworkNumbers, key); k < std::size(kNetworkNumbers)) {
      return root.once(kRootKeyCount + k) && TextField(in, net.*kNetworkNumbers[k].field, true);
    }
    return root.keepUnknown(key);
  });
  if (!read || !in.atEnd()) return std::nullopt;
  for (std::size_t k = 0; k < kRootKeyCount; ++k) {
    if (k != kName && !root.seen(k)) return std::nullopt;
  }
  return doc;
}

}  // namespace tesmir
