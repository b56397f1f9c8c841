#include "tools/review_page/pdf_annotations.h"

#include <Annot.h>
#include <DateInfo.h>
#include <PDFDoc.h>
#include <PDFDocEncoding.h>
#include <Page.h>

#include <ctime>
#include <map>
#include <optional>

#include "host/engine/utf8.h"

namespace osprevan::review {
namespace {

// Appends `c` as UTF-8; a surrogate or a value past U+10FFFF becomes U+FFFD.
void AppendUtf8(char32_t c, std::string& out) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  tlhost::utf8::Append(c, out);
}

std::string Utf16BeToUtf8(const std::string& bytes, size_t from) {
  std::string out;
  auto unit = [&](size_t i) {
    return static_cast<char32_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                 static_cast<unsigned char>(bytes[i + 1]));
  };
  for (size_t i = from; i + 1 < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(c, out);
  }
  if ((bytes.size() - from) % 2) AppendUtf8(0xFFFD, out);
  return out;
}

// A valid UTF-8 copy: each byte that starts no valid sequence becomes U+FFFD.
std::string ValidUtf8(const std::string& bytes, size_t from) {
  std::string out;
  for (size_t i = from; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const size_t length = lead < 0x80         ? 1
                          : (lead >> 5) == 6  ? 2
                          : (lead >> 4) == 14 ? 3
                          : (lead >> 3) == 30 ? 4
                                              : 0;
    bool valid = length > 0 && i + length <= bytes.size();
    for (size_t k = 1; valid && k < length; ++k)
      valid = (static_cast<unsigned char>(bytes[i + k]) & 0xC0) == 0x80;
    if (!valid) {
      AppendUtf8(0xFFFD, out);
      ++i;
      continue;
    }
    out.append(bytes, i, length);
    i += length;
  }
  return out;
}

std::string NameOf(const Object& object) {
  return object.isName() ? std::string(object.getName()) : std::string();
}

std::string StringOf(const Object& object) {
  return object.isString() ? TextStringToUtf8(object.getString()->toStr()) : std::string();
}

std::string DateOf(Dict& dict) {
  for (const char* key : {"M", "CreationDate"}) {
    const Object value = dict.lookup(key);
    if (!value.isString()) continue;
    const std::string text = UtcDateText(value.getString()->toStr());
    if (!text.empty()) return text;
  }
  return "";
}

std::optional<double> NumberAt(Array& array, int i) {
  const Object value = array.get(i);
  if (!value.isNum()) return std::nullopt;
  return value.getNum();
}

// The quadrilaterals of a markup, else its rectangle; nothing when neither holds numbers.
std::vector<Quad> BoxesOf(Dict& dict) {
  std::vector<Quad> boxes;
  Object points = dict.lookup("QuadPoints");
  if (points.isArray()) {
    Array& a = *points.getArray();
    for (int q = 0; q + 8 <= a.getLength(); q += 8) {
      Quad quad;
      bool usable = true;
      for (int k = 0; k < 4 && usable; ++k) {
        const auto x = NumberAt(a, q + 2 * k), y = NumberAt(a, q + 2 * k + 1);
        usable = x && y;
        if (usable) quad.x[k] = *x, quad.y[k] = *y;
      }
      if (usable) boxes.push_back(quad);
    }
    if (!boxes.empty()) return boxes;
  }
  Object rect = dict.lookup("Rect");
  if (rect.isArray() && rect.arrayGetLength() == 4) {
    Array& a = *rect.getArray();
    const auto x1 = NumberAt(a, 0), y1 = NumberAt(a, 1), x2 = NumberAt(a, 2), y2 = NumberAt(a, 3);
    if (x1 && y1 && x2 && y2) {
      boxes.push_back(Quad{{*x1, *x2, *x2, *x1}, {*y2, *y2, *y1, *y1}});
    }
  }
  return boxes;
}

// One annotation's own fields, before the threads are joined.
struct Entry {
  int number = -1;     // its object number; -1 for a direct object
  int inReplyTo = -1;  // the object number its /IRT names
  bool grouped = false;
  std::string subtype, author, date, contents;
  std::vector<Quad> boxes;
};

bool IsReviewerComment(const std::string& subtype) {
  return subtype != "Popup" && subtype != "Link" && subtype != "Widget" && !subtype.empty();
}

// Threads deeper than this are cut, so that a crafted PDF cannot exhaust the stack.
constexpr int kDeepestThread = 64;

AnnotationReply ThreadOf(const Entry& entry, const std::multimap<int, const Entry*>& repliesTo,
                         int depth = 0) {
  AnnotationReply reply{entry.author, entry.date, entry.contents, {}};
  if (entry.number < 0 || depth >= kDeepestThread) return reply;
  const auto [first, last] = repliesTo.equal_range(entry.number);
  for (auto it = first; it != last; ++it)
    reply.replies.push_back(ThreadOf(*it->second, repliesTo, depth + 1));
  return reply;
}

}  // namespace

std::string TextStringToUtf8(const std::string& bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') return Utf16BeToUtf8(bytes, 2);
  if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return ValidUtf8(bytes, 3);
  std::string out;
  for (unsigned char byte : bytes) {
    const char32_t c = pdfDocEncoding[byte];
    AppendUtf8(c ? c : 0xFFFD, out);
  }
  return out;
}

std::string UtcDateText(const std::string& pdfDate) {
  const GooString date(pdfDate);
  int year, month, day, hour, minute, second, tzHour, tzMinute;
  char tz;
  if (!parseDateString(&date, &year, &month, &day, &hour, &minute, &second, &tz, &tzHour,
                       &tzMinute))
    return "";
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_min = minute;
  local.tm_sec = second;
  time_t seconds = timegm(&local);
  const time_t offset = static_cast<time_t>(tzHour) * 3600 + static_cast<time_t>(tzMinute) * 60;
  if (tz == '+') seconds -= offset;
  if (tz == '-') seconds += offset;
  std::tm utc{};
  if (!gmtime_r(&seconds, &utc)) return "";
  char text[32];
  std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &utc);
  return text;
}

std::vector<PageAnnotation> ReadPageAnnotations(PDFDoc& pdf, int page) {
  std::vector<PageAnnotation> out;
  Page* p = page >= 1 && page <= pdf.getNumPages() ? pdf.getPage(page) : nullptr;
  Annots* annots = p ? p->getAnnots() : nullptr;
  if (!annots) return out;
  std::vector<Entry> entries;
  for (Annot* annot : annots->getAnnots()) {
    const Object& object = annot->getAnnotObj();
    if (!object.isDict()) continue;
    Dict& dict = *object.getDict();
    Entry e;
    e.subtype = NameOf(dict.lookup("Subtype"));
    if (!IsReviewerComment(e.subtype)) continue;
    e.number = annot->getRef().num;
    const Object irt = dict.lookupNF("IRT").copy();
    if (irt.isRef()) e.inReplyTo = irt.getRef().num;
    e.grouped = NameOf(dict.lookup("RT")) == "Group";
    e.author = StringOf(dict.lookup("T"));
    e.contents = StringOf(dict.lookup("Contents"));
    e.date = DateOf(dict);
    e.boxes = BoxesOf(dict);
    entries.push_back(std::move(e));
  }
  std::map<int, size_t> byNumber;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].number >= 0) byNumber.emplace(entries[i].number, i);
  // A part of a group joins the comment its /IRT names; a reply hangs below it. An /IRT that
  // names nothing on this page, or the annotation itself, leaves it a comment of its own.
  auto target = [&](const Entry& e) -> const Entry* {
    const auto found = byNumber.find(e.inReplyTo);
    if (found == byNumber.end() || entries[found->second].number == e.number) return nullptr;
    return &entries[found->second];
  };
  std::multimap<int, const Entry*> repliesTo;
  std::multimap<int, const Entry*> partsOf;
  for (const Entry& e : entries) {
    const Entry* t = target(e);
    if (!t) continue;
    (e.grouped ? partsOf : repliesTo).emplace(t->number, &e);
  }
  for (const Entry& e : entries) {
    if (target(e)) continue;
    PageAnnotation a;
    a.page = page;
    a.author = e.author;
    std::vector<const Entry*> parts{&e};
    const auto [first, last] = partsOf.equal_range(e.number);
    for (auto it = first; it != last; ++it) parts.push_back(it->second);
    for (const Entry* part : parts) {
      a.subtypes.push_back(part->subtype);
      a.dates.push_back(part->date);
      a.contents.push_back(part->contents);
      a.boxes.insert(a.boxes.end(), part->boxes.begin(), part->boxes.end());
      for (const AnnotationReply& r : ThreadOf(*part, repliesTo).replies) a.replies.push_back(r);
    }
    out.push_back(std::move(a));
  }
  return out;
}

}  // namespace osprevan::review
