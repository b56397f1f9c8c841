// The words the review page shows, one table per language: a third language is one more table.
// The page's structure, its outcome names in attributes and its filter never change with it.
#pragma once

#include <string>

#include "host/cli/ui_language.h"

namespace osprevan::review {

// The page speaks the language the command line chose.
using PageLanguage = tlhost::UiLanguage;

struct PageWords {
  const char* htmlLanguage;  // the page's lang attribute
  // By outcome, in the order the page shows the outcomes.
  const char* failed;
  const char* flagged;
  const char* placed;
  const char* alreadyImported;
  const char* filteredOut;
  const char* otherOutcome;
  // "{n}" stands for a number, "{what}" for a comment's kind, "{name}" for a file's name.
  const char* title;
  const char* heading;
  const char* comments;
  const char* outcomeCount;  // "{n} {outcome}" after the number of comments
  const char* show;
  const char* onPage;
  const char* page;
  const char* pageNotDrawn;
  const char* commentOutlined;
  const char* commentNotFound;
  const char* by;
  const char* wrote;
  const char* newText;
  const char* marked;
  const char* why;
  const char* replies;
  const char* repliesNotFound;
  const char* now;
  const char* noPlace;
  const char* placedEarlier;
  const char* noComponent;
};

const PageWords& WordsOf(PageLanguage language);

// `text` with "{name}" replaced by `value` wherever it stands.
std::string WithValue(const std::string& text, const std::string& name, const std::string& value);

}  // namespace osprevan::review
