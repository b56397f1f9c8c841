// tools/reviewer/review.py writes the annotation entries its description asks for, and only
// those, on an exported PDF.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "library_session.h"
#include "reviewed_pdf.h"
#include "tests/tools/review_page/review_pipeline.h"

namespace osprevan::fixtures {
namespace {

using ondrelkit::testing::LibrarySession;

// The corners of each quadrilateral in the order written ("UL UR LL LR" is the usual one),
// named by where they lie in the quadrilateral, y upward.
std::string Corners(const std::vector<float>& quads) {
  std::string out;
  for (size_t q = 0; q + 8 <= quads.size(); q += 8) {
    float left = quads[q], right = quads[q], bottom = quads[q + 1], top = quads[q + 1];
    for (size_t k = q; k < q + 8; k += 2) {
      left = std::min(left, quads[k]);
      right = std::max(right, quads[k]);
      bottom = std::min(bottom, quads[k + 1]);
      top = std::max(top, quads[k + 1]);
    }
    for (size_t k = q; k < q + 8; k += 2) {
      if (!out.empty()) out += " ";
      out += quads[k + 1] == top ? "U" : quads[k + 1] == bottom ? "L" : "?";
      out += quads[k] == left ? "L" : quads[k] == right ? "R" : "?";
    }
  }
  return out;
}

// A string entry as UTF-8, a name with "/", or nothing.
std::optional<std::string> Entry(const LibrarySession& lib, const OkObj* dict, const char* key) {
  OkObj* value = lib.objs->PdfDictGet(dict, lib.core->PdfAtom(key));
  std::optional<std::string> out;
  if (lib.objs->PdfObjType(value) == kPdfString) {
    size_t length = 0;
    const char* bytes = lib.objs->PdfStringValue(value, &length);
    OkText* text = lib.core->PdfTextFromBytes(bytes, length);
    out = lib.Utf8(text);
    lib.core->PdfRelease(text);
  } else if (lib.objs->PdfObjType(value) == kPdfName) {
    out = std::string("/") + lib.core->PdfAtomName(lib.objs->PdfNameValue(value));
  }
  lib.core->PdfRelease(value);
  return out;
}

// The annotations of page 0 other than pop-ups, in page order, each as "Subtype Key=value ...
// irt=N quads=CORNERS": those of Contents, M, RT, State, StateModel and T that are there, the
// index of the IRT target among the annotations, the QuadPoints.
std::vector<std::string> ReadAnnots(const std::string& path) {
  LibrarySession lib;
  OkDoc* doc = lib.Open(path);
  OkPage* page = lib.pages->PdfAcquirePage(doc, 0);
  std::vector<OkObj*> dicts;
  std::vector<std::string> out, quadCorners;
  for (int i = 0; i < lib.pages->PdfAnnotCount(page); ++i) {
    OkAnnot* annot = lib.pages->PdfAnnotAt(page, i);
    std::string summary = lib.core->PdfAtomName(lib.pages->PdfAnnotSubtype(annot));
    OkObj* dict = lib.pages->PdfAnnotDict(annot);
    lib.core->PdfRelease(annot);
    if (summary == "Popup") {
      lib.core->PdfRelease(dict);
      continue;
    }
    for (const char* key : {"Contents", "M", "RT", "State", "StateModel", "T"}) {
      if (const auto value = Entry(lib, dict, key))
        summary += std::string(" ") + key + "=" + *value;
    }
    OkObj* quads = lib.objs->PdfDictGet(dict, lib.core->PdfAtom("QuadPoints"));
    std::vector<float> numbers;
    for (int k = 0; lib.objs->PdfObjType(quads) == kPdfArray && k < lib.objs->PdfArrayLength(quads);
         ++k) {
      OkObj* number = lib.objs->PdfArrayGet(quads, k);
      numbers.push_back(static_cast<float>(lib.objs->PdfFixedValue(number)) / 65536);
      lib.core->PdfRelease(number);
    }
    lib.core->PdfRelease(quads);
    dicts.push_back(dict);
    out.push_back(summary);
    quadCorners.push_back(numbers.empty() ? "" : " quads=" + Corners(numbers));
  }
  for (size_t i = 0; i < dicts.size(); ++i) {
    OkObj* irt = lib.objs->PdfDictGet(dicts[i], lib.core->PdfAtom("IRT"));
    for (size_t j = 0; j < dicts.size(); ++j) {
      if (lib.objs->PdfObjType(irt) == kPdfDict && lib.objs->PdfObjEqual(irt, dicts[j])) {
        out[i] += " irt=" + std::to_string(j);
      }
    }
    lib.core->PdfRelease(irt);
    out[i] += quadCorners[i];
  }
  for (OkObj* d : dicts) lib.core->PdfRelease(d);
  lib.pages->PdfReleasePage(page);
  lib.docs->PdfCloseDoc(doc);
  return out;
}

TEST(ReviewerTool, AnnotationsCarryExactlyTheDescribedEntries) {
  ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportExample("chapter1.tlv")) << pdf.error();
  ASSERT_TRUE(pdf.Review(R"({"comments": [
    {"kind": "insert", "find": "注釈", "occurrence": 1, "text": "新しい", "author": "佐藤",
     "modified": "D:20261201093000Z",
     "replies": [{"author": "鈴木", "contents": "同意", "modified": "D:20261202093000Z",
                  "replies": [{"author": "佐藤", "contents": "了解"}]},
                 {"contents": "no type", "rt": null}],
     "states": [{"model": "Review", "state": "Accepted", "author": "佐藤"}]},
    {"kind": "replace", "find": "マニュアル", "text": "手引き", "contents": "言い換え"},
    {"kind": "highlight", "find": "該当"},
    {"kind": "squiggly", "find": "説明", "author": ""},
    {"kind": "note", "point": [300, 300], "page": 0, "contents": "メモ", "author": "R"},
    {"kind": "freetext", "rect": [100, 400, 300, 430], "page": 0, "contents": "自由"}
  ]})"))
      << pdf.error();
  // The insertion with its thread: a reply with a reply of its own, one without RT, a state.
  // The replacement: the strike-out comes first and is grouped with the caret after it.
  // Without author and date no /T and no /M; an empty author is written as given; a caret has
  // only its rectangle.
  EXPECT_EQ(ReadAnnots(pdf.annotatedPdf()),
            (std::vector<std::string>{
                "Caret Contents=新しい M=D:20261201093000Z T=佐藤",
                "Text Contents=同意 M=D:20261202093000Z RT=/R T=鈴木 irt=0",
                "Text Contents=了解 RT=/R T=佐藤 irt=1",
                "Text Contents=no type irt=0",
                "Text Contents= RT=/R State=Accepted StateModel=Review T=佐藤 irt=0",
                "StrikeOut Contents=言い換え RT=/Group irt=6 quads=UL UR LL LR",
                "Caret Contents=手引き",
                "Highlight quads=UL UR LL LR",
                "Squiggly T= quads=UL UR LL LR",
                "Text Contents=メモ T=R",
                "FreeText Contents=自由",
            }));
}

// The forms real viewers write: a hit over a line end, a deletion, counter-clockwise quads,
// a replacement's thread on its caret, and a state before its target.
TEST(ReviewerTool, WritesTheFormsViewersUse) {
  std::string words, spanning;
  for (int i = 0; i < 40; ++i) words += "word" + std::to_string(i) + " ";
  for (int i = 1; i <= 17; ++i) spanning += (i > 1 ? " word" : "word") + std::to_string(i);
  ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportText(R"(<?xml version="1.0" encoding="UTF-8"?>
<document version="1"><page name="1" kind="body"/><flow name="A" main="yes" page="1">
<p unique="1" format="Body">)" +
                             words + "</p></flow></document>\n"))
      << pdf.error();
  ASSERT_TRUE(pdf.Review(R"({"comments": [
    {"kind": "note", "point": [300, 500], "page": 0, "contents": "target",
     "states": [{"model": "Review", "state": "Rejected", "annots_index": 0}]},
    {"kind": "deletion", "find": "word30", "contents": "gone"},
    {"kind": "highlight", "find": ")" +
                         spanning + R"("},
    {"kind": "underline", "find": "word20", "quad_order": "ccw"},
    {"kind": "replace", "find": "word25", "text": "new", "thread_on": "caret",
     "replies": [{"contents": "why"}]}
  ]})"))
      << pdf.error();
  // The state comes before its target; the reply to the replacement hangs on its caret.
  EXPECT_EQ(ReadAnnots(pdf.annotatedPdf()),
            (std::vector<std::string>{
                "Text Contents= RT=/R State=Rejected StateModel=Review irt=1",
                "Text Contents=target",
                "Deletion Contents=gone quads=UL UR LL LR",
                "Highlight quads=UL UR LL LR UL UR LL LR",
                "Underline quads=LL LR UR UL",
                "StrikeOut RT=/Group irt=6 quads=UL UR LL LR",
                "Caret Contents=new",
                "Text Contents=why RT=/R irt=6",
            }));
}

// Runs the tool on `pdf` with `description` as its JSON, writing <directory>/out.pdf; answers
// its exit status (-1 when it did not exit normally) and what it wrote on its error output.
std::pair<int, std::string> RunReviewer(const std::string& directory, const std::string& pdf,
                                        const std::string& description) {
  using namespace review::testing;
  WriteFile(directory + "/bad.json", description);
  const CommandResult run = RunCommand(
      {OSPREVAN_PYTHON, OSPREVAN_REVIEWER, pdf, directory + "/bad.json", directory + "/out.pdf"},
      directory + "/err.txt");
  return {run.status, ReadFile(directory + "/err.txt")};
}

TEST(ReviewerTool, BadDescriptionsGiveOneLineAndWriteNothing) {
  ReviewedPdf pdf;
  ASSERT_TRUE(pdf.ExportExample("chapter1.tlv")) << pdf.error();
  const std::string out = pdf.directory() + "/out.pdf";
  for (const char* description : {
           R"({"comments": [{"kind": "highlight", "find": "nowhere in the text"}]})",
           R"({"comments": [{"kind": "stamp", "find": "注釈"}]})",
           "not json",
           R"({"comments": [{"kind": "note", "find": "注釈", "replies": [{"replies": [5]}]}]})",
           R"({"comments": [{"kind": "highlight", "find": "注釈", "thread_on": "caret"}]})",
           R"({"comments": [{"kind": "note", "find": "注釈", "callout": [10, 10]}]})",
           R"({"comments": [{"kind": "freetext", "find": "注釈", "callout": [10]}]})",
       }) {
    const auto [status, errors] = RunReviewer(pdf.directory(), pdf.exportedPdf(), description);
    EXPECT_EQ(status, 1) << description << "\n" << errors;
    EXPECT_EQ(errors.rfind("review.py: ", 0), 0u) << description << "\n" << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_FALSE(std::filesystem::exists(out)) << description;
    EXPECT_FALSE(std::filesystem::exists(out + ".part")) << description;
  }
  // The same tool run writes the file once the description is sound.
  const auto [status, errors] =
      RunReviewer(pdf.directory(), pdf.exportedPdf(),
                  R"({"comments": [{"kind": "note", "point": [300, 300], )"
                  R"("page": 0, "states": [{"model": "Review", "state": "None"}]}]})");
  EXPECT_EQ(status, 0) << errors;
  EXPECT_TRUE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace osprevan::fixtures
