#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../../fuzz/number_text_props.h"

namespace tesmir {
namespace {

// Every input the number readers were fuzzed from stays a test case.
TEST(NumberCorpus, EveryInputKeepsTheReadersRules) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(TESMIR_SOURCE_DIR "/fuzz/number_corpus")) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(NumberReadersKeepTheirRules(text)) << entry.path();
    ++count;
  }
  EXPECT_GE(count, 10);
}

}  // namespace
}  // namespace tesmir
