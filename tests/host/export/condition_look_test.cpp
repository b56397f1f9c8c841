// Text under conditions drawn with their look: the rendered page, and the PDF's text and
// character boxes, which stay those of plain text.
#include <gtest/gtest.h>

#include <array>
#include <regex>
#include <string>
#include <vector>

#include "exported_pdf.h"
#include "rendered_page.h"
#include "reviewed_pdf.h"

namespace tlhost::pdfexport::testing {
namespace {

using osprevan::fixtures::ReviewedPdf;
const char* kLooks = R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1">
  <colour name="Yellow" reserved="3"/>
  <colour name="Magenta" reserved="8"/>
  <condition name="Highlight" shown="yes" background="yes" background-colour="Yellow"/>
  <condition name="Underline" shown="yes" colour-override="yes" colour="Magenta" style="single-underline"/>
  <condition name="Twice" shown="yes" style="double-underline"/>
  <condition name="TL8_TRACK_CHANGES_ADDED" shown="yes"/>
  <condition name="TL8_TRACK_CHANGES_DELETED" shown="yes"/>
  <page name="1" kind="body"/>
  <flow name="A" main="yes" page="1">
    <p unique="1" format="Body">Plain <c cond="Highlight">marked text</c> and <c cond="Underline">underlined text</c><footnote-anchor ref="fn1" cond="Underline"/> and <c cond="TL8_TRACK_CHANGES_ADDED">added text</c> and <c cond="TL8_TRACK_CHANGES_DELETED">deleted text</c> and <c cond="Twice">twice over</c> end.</p>
    <p unique="2" format="Body">LOOKS</p>
  </flow>
  <footnote key="fn1" number="1"><p unique="3">A <c cond="Highlight">note</c>.</p></footnote>
</document>
)";

// kLooks with a second paragraph whose looks change at every blank, tab and line end.
std::string WithChangingLooks() {
  std::string words;
  for (int i = 0; i < 40; ++i) {
    words += "<c cond=\"Underline\">w" + std::to_string(i) + "</c><c cond=\"" +
             (i % 3 ? "Highlight" : "TL8_TRACK_CHANGES_DELETED") + "\">" + (i % 4 ? " " : "\t") +
             "</c>";
  }
  return std::regex_replace(kLooks, std::regex("LOOKS"), words + "end");
}

TEST(ConditionLook, TextAndCharacterBoxesAreThoseOfPlainText) {
  const std::string looks = WithChangingLooks();
  ReviewedPdf drawn, plain;
  ASSERT_TRUE(drawn.ExportText(looks)) << drawn.error();
  ASSERT_TRUE(plain.ExportText(
      std::regex_replace(looks, std::regex("<c cond=\"[^\"]*\">|</c>| cond=\"[^\"]*\""), "")))
      << plain.error();
  ExportedPdf a(drawn.exportedPdf()), b(plain.exportedPdf());
  ASSERT_EQ(a.elements.size(), b.elements.size());
  for (size_t i = 0; i < a.elements.size(); ++i) {
    EXPECT_EQ(a.elements[i].id, b.elements[i].id);
    EXPECT_EQ(a.elements[i].text, b.elements[i].text) << a.elements[i].id;
  }
  ASSERT_EQ(a.chars.size(), b.chars.size());
  for (size_t i = 0; i < a.chars.size(); ++i) {
    EXPECT_EQ(a.chars[i].text, b.chars[i].text) << i;
    for (int k = 0; k < 4; ++k) EXPECT_EQ(a.chars[i].box[k], b.chars[i].box[k]) << i;
  }
}

// The box around the first `phrase` on the page, which lies on one line.
std::array<float, 4> PhraseBox(const ExportedPdf& pdf, const std::string& phrase) {
  std::string text;
  for (const ReadChar& c : pdf.chars) text += c.text.size() == 1 ? c.text : "?";
  const size_t at = text.find(phrase);
  if (at == std::string::npos) return {};
  const float* first = pdf.chars[at].box;
  const float* last = pdf.chars[at + phrase.size() - 1].box;
  return {first[0], first[1], last[2], first[3]};
}

TEST(ConditionLook, PageShowsBackgroundsColoursAndLines) {
  ReviewedPdf fixture;
  ASSERT_TRUE(fixture.ExportText(std::regex_replace(kLooks, std::regex("LOOKS"), "")))
      << fixture.error();
  ExportedPdf pdf(fixture.exportedPdf());
  RenderedPage page;
  ASSERT_TRUE(page.Render(fixture.exportedPdf(), 0, fixture.directory() + "/page", 200));
  const PixelTest dark = [](const Pixel& p) { return 0.3 * p.r + 0.6 * p.g + 0.1 * p.b < 128; };
  const PixelTest red = [](const Pixel& p) { return p.r > 150 && p.g < 100 && p.b < 100; };
  const PixelTest magenta = [](const Pixel& p) { return p.r > 150 && p.g < 100 && p.b > 150; };
  const PixelTest yellow = [](const Pixel& p) { return p.r > 200 && p.g > 200 && p.b < 80; };
  // Lines are pixel rows across the whole phrase, in `bands` between `low` and `high` of the
  // box height (0 its bottom, 1 its top).
  const struct {
    const char* phrase;
    bool yellowBehind;
    const PixelTest& ink;
    const PixelTest& line;
    int bands;
    double low, high;
  } kCases[] = {
      {"Plain", false, dark, dark, 0, 0, 0},
      {"marked text", true, dark, dark, 0, 0, 0},
      {"underlined text", false, magenta, magenta, 1, -0.2, 0.25},
      {"added text", false, dark, red, 1, -0.2, 0.25},
      {"deleted text", false, dark, red, 1, 0.3, 0.7},
      {"twice over", false, dark, dark, 2, -0.2, 0.25},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.phrase);
    const std::array<float, 4> box = PhraseBox(pdf, c.phrase);
    ASSERT_GT(box[2], box[0]);
    const int area = page.CountPixels(box.data(), [](const Pixel&) { return true; });
    const int behind = page.CountPixels(box.data(), yellow);
    EXPECT_TRUE(c.yellowBehind ? behind > area / 3 : behind == 0) << behind << " of " << area;
    EXPECT_GT(page.CountPixels(box.data(), c.ink), area / 50);
    // Lines may lie under the box, and its ends may stand off the glyphs' by a fraction of a
    // point: the PDF's glyph positions are rounded where the lines' are not.
    const float below[4] = {box[0] + 1, box[1] - 2, box[2] - 1, box[3]};
    const std::vector<double> rows = page.LineRows(below, c.line);
    int bands = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
      bands += i == 0 || rows[i - 1] - rows[i] > 0.5 ? 1 : 0;
      const double at = (rows[i] - 2) / (box[3] - box[1]);
      EXPECT_TRUE(at > c.low && at < c.high) << at;
    }
    EXPECT_EQ(bands, c.bands);
  }
}

}  // namespace
}  // namespace tlhost::pdfexport::testing
