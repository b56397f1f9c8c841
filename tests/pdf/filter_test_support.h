// What the filter tests share: the PDF library loaded for the criteria's dates, the built
// plug-in's string table, and dates made and read without the code under test.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "pdf/filter_criteria.h"
#include "pdf/library_handles.h"
#include "pdf/pdf_library.h"
#include "pdf/pdf_tables.h"
#include "platform/win/module.h"
#include "support/ui_strings.h"

namespace osprevan::pdf::testing {

constexpr const char* kAnonymous = "<匿名>";

inline int64_t UtcSeconds(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  return static_cast<int64_t>(timegm(&fields));
}

// A library date that frees itself.
class TestDate {
 public:
  explicit TestDate(int64_t seconds) : date_(pdf::Tables().dates->PdfDateNew()) {
    pdf::Tables().dates->PdfDateFromTime(date_, seconds);
  }
  ~TestDate() { pdf::Tables().dates->PdfDateFree(date_); }
  TestDate(const TestDate&) = delete;
  TestDate& operator=(const TestDate&) = delete;

  OkDate* get() const { return date_; }

 private:
  OkDate* date_;
};

// "YYYY/MM/DD HH:MM:SS" in UTC, as the library writes it.
inline std::string DateText(const OkDate* date) {
  char text[64] = {};
  pdf::Tables().dates->PdfDateText(date, kPdfDateSortable, text, sizeof text);
  return text;
}

inline std::string SecondsText(int64_t seconds) {
  const TestDate date(seconds);
  return DateText(date.get());
}

inline void SetDate(OkDate* date, int64_t seconds) {
  pdf::Tables().dates->PdfDateFromTime(date, seconds);
}

inline std::string DateText(const pdf::CriteriaDate& date) {
  return DateText(pdf::LibraryDate(date));
}

inline void SetDate(pdf::CriteriaDate& date, int64_t seconds) {
  SetDate(pdf::LibraryDate(date), seconds);
}

// Loads the PDF library and the plug-in's strings for each test. Criteria must live inside the
// test body so that their dates are freed while the library is still loaded.
class FilterLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pdf::PdfLibraryLoadFrom(OSPREVAN_PDF_LIBRARY, "1").ok())
        << pdf::PdfLibraryLastError();
    plugin_ = win::LoadLibrary(OSPREVAN_PLUGIN_PATH);
    ASSERT_NE(plugin_, nullptr) << win::LastLoaderError();
    support::SetResourceModule(plugin_);
    support::SetResourceLanguage("Kestrelan", "japanese");  // the texts below are Japanese
    bytesAtStart_ = pdf::PdfLibraryBytesInUse();
  }
  void TearDown() override {
    // Every date a test or the code under test made must be back with the library.
    EXPECT_EQ(pdf::PdfLibraryBytesInUse(), bytesAtStart_);
    support::SetResourceModule(nullptr);
    if (plugin_) win::FreeLibrary(plugin_);
    pdf::PdfLibraryUnload();
  }

  win::HMODULE plugin_ = nullptr;
  size_t bytesAtStart_ = 0;
};

}  // namespace osprevan::pdf::testing
