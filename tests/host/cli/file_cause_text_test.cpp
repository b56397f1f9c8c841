// Why a file could not be read, locked or written, in words: every cause and every worded error
// number in every language, the report's English unchanged, and nothing hidden for an error
// number no table words.
#include "host/cli/file_cause_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>

namespace tlhost {
namespace {

constexpr UiLanguage kLanguages[] = {UiLanguage::English, UiLanguage::Japanese};

// A problem of `cause` with a value for each of the fields some causes speak of.
FileProblem ProblemWithValues(FileCause cause) {
  FileProblem problem = ProblemOf(cause, "doc.tlv");
  problem.systemError = ENOSPC;
  problem.holder = 4242;
  problem.other = "old.tlv";
  problem.format = {
      FormatFaultCode::UnknownAttribute, 4, {{"attribute", "shade"}, {"element", "p"}}};
  return problem;
}

TEST(FileCauseTextTest, EveryCauseHasWordsInEveryLanguage) {
  for (int cause = 1; cause < static_cast<int>(FileCause::Count); ++cause) {
    const FileProblem problem = ProblemWithValues(static_cast<FileCause>(cause));
    const std::string english = ProblemText(UiLanguage::English, problem);
    const std::string japanese = ProblemText(UiLanguage::Japanese, problem);
    EXPECT_FALSE(english.empty()) << "cause " << cause;
    EXPECT_FALSE(japanese.empty()) << "cause " << cause;
    EXPECT_NE(english, japanese) << "cause " << cause;
    // The path belongs to the sentence around the words, never to the words.
    EXPECT_EQ(english.find("doc.tlv"), std::string::npos) << english;
  }
  EXPECT_EQ(ProblemText(UiLanguage::English, FileProblem{}), "");
}

TEST(FileCauseTextTest, EveryWordedErrorNumberHasWordsInEveryLanguage) {
  ASSERT_FALSE(WordedSystemErrors().empty());
  for (int error : WordedSystemErrors()) {
    for (UiLanguage language : kLanguages) {
      const char* words = SystemErrorTextOf(language, error);
      ASSERT_NE(words, nullptr) << "errno " << error << " in language "
                                << static_cast<int>(language);
      EXPECT_NE(std::string(words).find_first_not_of(' '), std::string::npos);
    }
    EXPECT_STRNE(SystemErrorTextOf(UiLanguage::Japanese, error),
                 SystemErrorTextOf(UiLanguage::English, error))
        << "errno " << error;
    // A report keeps the English reason, which must read as the C library's words always did.
    std::string library = std::strerror(error);
    library[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(library[0])));
    EXPECT_EQ(SystemErrorTextOf(UiLanguage::English, error), library) << "errno " << error;
  }
}

TEST(FileCauseTextTest, ProblemsReadInTheUsersLanguage) {
  FileProblem locked = ProblemOf(FileCause::Locked, "doc.tlv");
  FileProblem lockedBy = locked;
  lockedBy.holder = 42;
  FileProblem full = ProblemOf(FileCause::System, "doc.tlv");
  full.systemError = ENOSPC;
  FileProblem unknown = full;
  unknown.systemError = 4000;  // an error number no system defines
  const std::string library = std::strerror(4000);
  const struct {
    const char* name;
    FileProblem problem;
    std::string english, japanese;
  } cases[] = {
      {"NoSpace", full, "no space left on device", "ディスクの空き容量が不足しています"},
      {"LockedByAProcess", lockedBy, "locked by another import (process 42)",
       "別の読み込みがロックしています (プロセス 42)"},
      {"LockedByNoOneKnown", locked, "locked by another import", "別の読み込みがロックしています"},
      {"UnknownErrorNumber", unknown, library + " (error 4000)",
       "システムエラー 4000 (" + library + ")"},
      {"Malformed", ProblemWithValues(FileCause::Malformed),
       "malformed: line 4: unknown attribute \"shade\" on <p>",
       "形式が正しくありません : 4 行目 : <p> の属性 \"shade\" は不明です"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ProblemText(UiLanguage::English, c.problem), c.english) << c.name;
    EXPECT_EQ(ProblemText(UiLanguage::Japanese, c.problem), c.japanese) << c.name;
  }
}

}  // namespace
}  // namespace tlhost
