#include "recording_message_sink.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

using tesmir_test::RecordingMessageSink;
using Kind = RecordingMessageSink::Kind;
using SaveAnswer = tesmir::MessageSink::SaveAnswer;

TEST(RecordingMessageSink, RecordsEveryKindInOrder) {
  RecordingMessageSink sink;
  sink.inform(nullptr, QStringLiteral("i"));
  sink.error(nullptr, QStringLiteral("e"));
  sink.ask(nullptr, QStringLiteral("a"));
  sink.askSave(nullptr, QStringLiteral("s"));
  EXPECT_EQ(sink.texts(),
            (QStringList{QStringLiteral("i"), QStringLiteral("e"), QStringLiteral("a"), QStringLiteral("s")}));
  EXPECT_EQ(sink.texts({Kind::Inform, Kind::Ask}), (QStringList{QStringLiteral("i"), QStringLiteral("a")}));
  EXPECT_EQ(sink.errors(), QStringList{QStringLiteral("e")});
  ASSERT_EQ(sink.shown.size(), 4u);
  EXPECT_EQ(sink.shown[3].kind, Kind::AskSave);
  sink.clear();
  EXPECT_TRUE(sink.texts().isEmpty());
  EXPECT_TRUE(sink.informed().isEmpty());
}

TEST(RecordingMessageSink, AnswersAsScripted) {
  RecordingMessageSink sink;
  sink.answers = {false, true};
  sink.answer = false;
  EXPECT_FALSE(sink.ask(nullptr, QStringLiteral("1")));
  EXPECT_TRUE(sink.ask(nullptr, QStringLiteral("2")));
  EXPECT_FALSE(sink.ask(nullptr, QStringLiteral("3")));  // the script is used up: `answer`
  sink.saveAnswer = SaveAnswer::Discard;
  EXPECT_EQ(sink.askSave(nullptr, QStringLiteral("s")), SaveAnswer::Discard);
}

TEST(RecordingMessageSink, UnscriptedQuestionsFailWhenTheScriptIsStrict) {
  RecordingMessageSink sink;
  sink.questionsScripted = true;
  sink.saveQuestionsUnexpected = true;
  EXPECT_NONFATAL_FAILURE(sink.ask(nullptr, QStringLiteral("q")), "unexpected question: q");
  EXPECT_NONFATAL_FAILURE(sink.askSave(nullptr, QStringLiteral("s")), "unexpected save question: s");
  EXPECT_EQ(sink.asked(), QStringList{QStringLiteral("q")});
}

}  // namespace
