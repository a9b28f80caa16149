#pragma once
// A message sink for widget tests: records every message instead of showing a
// box, and answers questions with `answer`.

#include <QStringList>
#include <functional>

#include "ui/message_sink.h"

struct RecordingMessageSink : tesmir::MessageSink {
  QStringList informed, asked, errors, askedSave;
  bool answer = true;
  // The answer to a save question; `onAskSave`, when set, runs first (and may
  // change it).
  SaveAnswer saveAnswer = SaveAnswer::Cancel;
  std::function<void()> onAskSave;
  // Called when a plain message is shown, before it is recorded; lets a test
  // look at the windows at the moment the box would be on screen.
  std::function<void(const QString&)> onInform;

  void inform(QWidget*, const QString& text) override {
    if (onInform) {
      onInform(text);
    }
    informed << text;
  }
  bool ask(QWidget*, const QString& text) override {
    asked << text;
    return answer;
  }
  void error(QWidget*, const QString& text) override { errors << text; }
  SaveAnswer askSave(QWidget*, const QString& text) override {
    askedSave << text;
    if (onAskSave) {
      onAskSave();
    }
    return saveAnswer;
  }
};
