#include "support/recording_message_sink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

namespace tesmir_test {

void RecordingMessageSink::record(Kind kind, const QString& text) { shown.push_back({kind, text}); }

void RecordingMessageSink::inform(QWidget*, const QString& text) {
  if (onInform) {
    onInform(text);
  }
  record(Kind::Inform, text);
}

bool RecordingMessageSink::ask(QWidget*, const QString& text) {
  record(Kind::Ask, text);
  if (onAsk) {
    onAsk(text);
  }
  if (!answers.empty()) {
    const bool scripted = answers.front();
    answers.pop_front();
    return scripted;
  }
  if (questionsScripted) {
    ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return false;
  }
  return answer;
}

void RecordingMessageSink::error(QWidget*, const QString& text) { record(Kind::Error, text); }

tesmir::MessageSink::SaveAnswer RecordingMessageSink::askSave(QWidget*, const QString& text) {
  record(Kind::AskSave, text);
  if (saveQuestionsUnexpected) {
    ADD_FAILURE() << "unexpected save question: " << text.toStdString();
    return SaveAnswer::Cancel;
  }
  if (onAskSave) {
    onAskSave();
  }
  return saveAnswer;
}

QStringList RecordingMessageSink::texts(std::initializer_list<Kind> kinds) const {
  QStringList result;
  for (const Message& message : shown) {
    if (std::find(kinds.begin(), kinds.end(), message.kind) != kinds.end()) {
      result << message.text;
    }
  }
  return result;
}

QStringList RecordingMessageSink::texts() const { return texts({Kind::Inform, Kind::Ask, Kind::Error, Kind::AskSave}); }

void RecordingMessageSink::clear() { shown.clear(); }

void RecordingMessageSink::clear(Kind kind) {
  std::erase_if(shown, [kind](const Message& message) { return message.kind == kind; });
}

void PrintTo(RecordingMessageSink::Kind kind, std::ostream* os) {
  switch (kind) {
    case RecordingMessageSink::Kind::Inform:
      *os << "inform";
      return;
    case RecordingMessageSink::Kind::Ask:
      *os << "ask";
      return;
    case RecordingMessageSink::Kind::Error:
      *os << "error";
      return;
    case RecordingMessageSink::Kind::AskSave:
      *os << "askSave";
      return;
  }
}

}  // namespace tesmir_test
