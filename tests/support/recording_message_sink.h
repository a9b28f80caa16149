#pragma once
// The message sink of the widget tests: records every message with its kind
// instead of showing a box, and answers questions as the test scripts them.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <vector>

#include "widgets/message_sink.h"

namespace tesmir_test {

class RecordingMessageSink final : public tesmir::MessageSink {
 public:
  enum class Kind { Inform, Ask, Error, AskSave };
  struct Message {
    Kind kind;
    QString text;
  };

  void inform(QWidget* parent, const QString& text) override;
  bool ask(QWidget* parent, const QString& text) override;
  void error(QWidget* parent, const QString& text) override;
  SaveAnswer askSave(QWidget* parent, const QString& text) override;

  // The texts of the messages of the given kinds, in the order shown.
  QStringList texts(std::initializer_list<Kind> kinds) const;
  // The texts of every message, in the order shown.
  QStringList texts() const;
  // The texts of each kind, in the order shown.
  QStringList informed() const { return texts({Kind::Inform}); }
  QStringList asked() const { return texts({Kind::Ask}); }
  QStringList errors() const { return texts({Kind::Error}); }
  QStringList askedSave() const { return texts({Kind::AskSave}); }
  // Forgets every message shown so far, or those of one kind.
  void clear();
  void clear(Kind kind);

  // Every message in the order shown.
  std::vector<Message> shown;

  // Answers to questions: the scripted ones in turn, then `answer`. With
  // `questionsScripted` set, a question beyond the script fails the test and
  // is answered "Cancel".
  std::deque<bool> answers;
  bool answer = true;
  bool questionsScripted = false;
  // The answer to a save question; `onAskSave`, when set, runs first (and may
  // change it). With `saveQuestionsUnexpected` set, a save question fails the
  // test.
  SaveAnswer saveAnswer = SaveAnswer::Cancel;
  bool saveQuestionsUnexpected = false;
  std::function<void()> onAskSave;
  // Called when a plain message is shown, before it is recorded; lets a test
  // look at the windows at the moment the box would be on screen.
  std::function<void(const QString&)> onInform;
  // Called when a question has been recorded, before it is answered; may
  // throw as the code behind the question would.
  std::function<void(const QString&)> onAsk;

 private:
  void record(Kind kind, const QString& text);
};

void PrintTo(RecordingMessageSink::Kind kind, std::ostream* os);

}  // namespace tesmir_test
