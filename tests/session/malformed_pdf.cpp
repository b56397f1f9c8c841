#include "malformed_pdf.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

namespace osprevan::testing {
namespace {

using Anchors = std::map<std::string, QPDFObjectHandle>;
// A name written in place of a raw token, and the token that replaces it in the written bytes.
using RawTokens = std::vector<std::pair<std::string, std::string>>;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Trim(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  for (size_t at = 0;;) {
    const size_t next = text.find(separator, at);
    parts.push_back(Trim(text.substr(at, next - at)));
    if (next == std::string::npos) return parts;
    at = next + separator.size();
  }
}

QPDFObjectHandle FirstKid(QPDFObjectHandle element) {
  QPDFObjectHandle kids = element.isDictionary() ? element.getKey("/K") : element;
  return kids.isArray() && kids.getArrayNItems() > 0 ? kids.getArrayItem(0) : kids;
}

bool Has(QPDFObjectHandle dict, const char* key) {
  return dict.isDictionary() && dict.hasKey(key) && !dict.getKey(key).isNull();
}

void FindAnnotations(QPDFObjectHandle page, Anchors& anchors) {
  QPDFObjectHandle annots = page.getKey("/Annots");
  if (!annots.isArray()) return;
  std::vector<QPDFObjectHandle> carets;
  for (QPDFObjectHandle annot : annots.aitems()) {
    const std::string subtype =
        annot.getKey("/Subtype").isName() ? annot.getKey("/Subtype").getName() : "";
    if (subtype == "/Highlight" || subtype == "/Underline") {
      anchors[subtype.substr(1)] = annot;
    } else if (subtype == "/Text") {
      anchors[Has(annot, "/State") ? "State" : Has(annot, "/IRT") ? "Reply" : "Note"] = annot;
    } else if (subtype == "/StrikeOut") {
      anchors[Has(annot, "/IRT") ? "Strike" : "Delete"] = annot;
    } else if (subtype == "/Caret") {
      carets.push_back(annot);
    }
  }
  // The replace's Caret is the one its strike-out answers; the other stands alone.
  for (QPDFObjectHandle caret : carets) {
    const bool paired = anchors.count("Strike") &&
                        anchors["Strike"].getKey("/IRT").getObjGen() == caret.getObjGen();
    anchors[paired ? "Caret" : "Insert"] = caret;
  }
}

Anchors FindAnchors(QPDF& pdf) {
  QPDFObjectHandle trailer = pdf.getTrailer(), root = pdf.getRoot();
  QPDFObjectHandle tree = root.getKey("/StructTreeRoot");
  Anchors anchors = {{"Trailer", trailer},
                     {"Root", root},
                     {"Info", trailer.getKey("/Info")},
                     {"Pages", root.getKey("/Pages")},
                     {"StructTreeRoot", tree},
                     {"ParentTree", tree.getKey("/ParentTree")}};
  const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
  QPDFObjectHandle page = anchors["Page"] = pages.at(0).getObjectHandle();
  for (size_t n = 2; n <= pages.size(); ++n)
    anchors["Page" + std::to_string(n)] = pages[n - 1].getObjectHandle();
  QPDFObjectHandle nums = anchors["ParentTree"].getKey("/Nums");
  if (nums.isArray() && nums.getArrayNItems() >= 2) anchors["ParentEntry"] = nums.getArrayItem(1);
  anchors["Document"] = FirstKid(tree);
  anchors["Article"] = FirstKid(anchors["Document"]);
  QPDFObjectHandle paragraphs = anchors["Article"].getKey("/K");
  for (int i = 0; paragraphs.isArray() && i < paragraphs.getArrayNItems(); ++i) {
    QPDFObjectHandle element = paragraphs.getArrayItem(i), id = element.getKey("/ID");
    const std::string text = id.isString() ? id.getStringValue() : "";
    const size_t mark = text.find('#');
    if (text.size() > 1 && text[0] == 'P' && mark != std::string::npos)
      anchors[text.substr(0, mark)] = element;
  }
  FindAnnotations(page, anchors);
  return anchors;
}

QPDFObjectHandle Anchor(Anchors& anchors, const std::string& name) {
  auto found = anchors.find(name);
  if (found == anchors.end() || found->second.isNull()) throw Failure("no object " + name);
  return found->second;
}

// The value of an edit as an object of `pdf`.
QPDFObjectHandle MakeValue(QPDF& pdf, Anchors& anchors, QPDFObjectHandle entry, std::string text,
                           RawTokens& raw) {
  if (text.rfind("*string ", 0) == 0) {
    return QPDFObjectHandle::newString(std::string(std::stoul(text.substr(8)), 'x'));
  }
  if (text.rfind("*chain ", 0) == 0) {
    // Structure elements, each the parent of the one before, ending at the entry's parent.
    QPDFObjectHandle parent = entry;
    for (int i = std::stoi(text.substr(7)); i > 0; --i) {
      QPDFObjectHandle element = QPDFObjectHandle::parse("<< /Type /StructElem /S /Div >>");
      element.replaceKey("/P", parent);
      parent = pdf.makeIndirectObject(element);
    }
    return parent;
  }
  if (text.rfind("*quads ", 0) == 0) {
    if (!entry.isArray() || entry.getArrayNItems() < 8) throw Failure("no quadrilateral");
    QPDFObjectHandle quads = QPDFObjectHandle::newArray();
    const int count = std::stoi(text.substr(7));
    for (int i = 0; i < count; ++i) quads.appendItem(entry.getArrayItem(i % 8));
    return quads;
  }
  const bool indirect = !text.empty() && text[0] == '!';
  if (indirect) text.erase(0, 1);
  for (size_t at; (at = text.find("raw{")) != std::string::npos;) {
    const size_t end = text.find('}', at);
    if (end == std::string::npos) throw Failure("unclosed raw{");
    std::string token = text.substr(at + 4, end - at - 4);
    // A number too large for any floating-point type reads as an infinity.
    if (token == "inf" || token == "-inf")
      token.replace(token.size() - 3, 3, "1" + std::string(400, '0'));
    std::string name = "/Zraw" + std::to_string(raw.size());
    name.resize(std::max(name.size(), token.size()), 'x');
    raw.emplace_back(name, token);
    text.replace(at, end - at + 1, name);
  }
  for (size_t at; (at = text.find('@')) != std::string::npos;) {
    size_t end = at + 1;
    while (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]))) ++end;
    QPDFObjectHandle target = Anchor(anchors, text.substr(at + 1, end - at - 1));
    if (!target.isIndirect()) throw Failure("not an indirect object: " + text.substr(at));
    text.replace(at, end - at, target.getObjGen().unparse(' ') + " R");
  }
  // Parsed inside an array: on its own, qpdf reads "1 0 R" as a number with data after it.
  QPDFObjectHandle value = QPDFObjectHandle::parse(&pdf, "[" + text + "]").getArrayItem(0);
  return indirect ? pdf.makeIndirectObject(value) : value;
}

void EditContent(QPDFObjectHandle page, const std::string& edit) {
  const std::vector<std::string> parts = Split(edit, "=>");
  QPDFObjectHandle stream = page.getKey("/Contents");
  if (parts.size() != 2 || !stream.isStream()) throw Failure("cannot edit content: " + edit);
  std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
  std::string content(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
  size_t replaced = 0;
  for (size_t at = 0; (at = content.find(parts[0], at)) != std::string::npos; ++replaced) {
    content.replace(at, parts[0].size(), parts[1]);
    at += parts[1].size();
  }
  if (replaced == 0) throw Failure("not in the content: " + parts[0]);
  stream.replaceStreamData(content, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
}

void EditEntry(QPDF& pdf, Anchors& anchors, const std::string& edit, RawTokens& raw) {
  const size_t space = edit.find(' ');
  const std::string path = edit.substr(0, space);
  std::string value = space == std::string::npos ? "" : Trim(edit.substr(space + 1));
  std::string name = path;
  int index = -1;
  if (const size_t bracket = name.find('['); bracket != std::string::npos) {
    index = std::stoi(name.substr(bracket + 1));
    name.resize(bracket);
  }
  const size_t slash = name.find('/');
  QPDFObjectHandle object = Anchor(anchors, name.substr(0, slash));
  QPDFObjectHandle dict = object.isStream() ? object.getDict() : object;
  // Without a key the anchor itself is the array whose item is set.
  const std::string key = slash == std::string::npos ? "" : name.substr(slash);
  if (!key.empty() && !dict.isDictionary()) throw Failure("not a dictionary: " + path);
  QPDFObjectHandle entry = key.empty() ? object : dict.getKey(key);
  const bool append = value.rfind("+= ", 0) == 0;
  if (append) value.erase(0, 3);
  if (append && value.rfind("*replies ", 0) == 0 && entry.isArray()) {
    // Text annotations, each answering the one before, the first answering the Reply.
    QPDFObjectHandle answered = Anchor(anchors, "Reply");
    for (int i = std::stoi(value.substr(9)); i > 0; --i) {
      QPDFObjectHandle reply = QPDFObjectHandle::parse(
          "<< /Type /Annot /Subtype /Text /T (Ana) /Contents (again) /M (D:20260104120000Z) >>");
      reply.replaceKey("/Rect", answered.getKey("/Rect"));
      reply.replaceKey("/IRT", answered);
      answered = pdf.makeIndirectObject(reply);
      entry.appendItem(answered);
    }
    return;
  }
  if (value.empty()) {
    if (key.empty() || !dict.hasKey(key)) throw Failure("nothing to remove: " + path);
    dict.removeKey(key);
  } else if (index >= 0 || append) {
    if (!entry.isArray() || index >= entry.getArrayNItems()) throw Failure("no item: " + path);
    QPDFObjectHandle item = MakeValue(pdf, anchors, entry, value, raw);
    if (append) {
      entry.appendItem(item);
    } else {
      entry.setArrayItem(index, item);
    }
  } else if (!key.empty()) {
    dict.replaceKey(key, MakeValue(pdf, anchors, entry, value, raw));
  } else {
    throw Failure("no entry in: " + edit);
  }
}

// Moves every offset of the written cross-reference table by 7 bytes.
void BreakXref(std::string& bytes) {
  const size_t table = bytes.rfind("\nxref\n");
  if (table == std::string::npos) throw Failure("no cross-reference table");
  size_t at = table + 6;
  while (bytes.compare(at, 7, "trailer") != 0) {
    int first = 0, count = 0;
    if (std::sscanf(bytes.c_str() + at, "%d %d", &first, &count) != 2) throw Failure("bad xref");
    at = bytes.find('\n', at) + 1;
    for (int i = 0; i < count; ++i, at += 20) {
      if (bytes[at + 17] != 'n') continue;
      std::string offset = std::to_string(std::stol(bytes.substr(at, 10)) + 7);
      bytes.replace(at, 10, std::string(10 - offset.size(), '0') + offset);
    }
  }
}

void EditFile(std::string& bytes, const std::string& op) {
  if (op == "xref") {
    BreakXref(bytes);
  } else if (op == "empty") {
    bytes.clear();
  } else if (op == "header") {
    bytes.replace(0, 5, "%XYZ-");
  } else if (op == "noxref") {
    const size_t table = bytes.rfind("\nxref\n");
    if (table == std::string::npos) throw Failure("no cross-reference table");
    bytes.resize(table + 1);
  } else if (op == "half") {
    bytes.resize(bytes.size() / 2);
  } else if (op == "startxref") {
    const size_t at = bytes.rfind("startxref\n");
    if (at == std::string::npos) throw Failure("no startxref");
    bytes.replace(at + 10, bytes.find('\n', at + 10) - at - 10, std::to_string(bytes.size() * 2));
  } else {
    throw Failure("unknown file edit: " + op);
  }
}

}  // namespace

std::string DamagePdf(const std::string& in, const std::string& out, const std::string& edits) {
  try {
    QPDF pdf;
    pdf.processFile(in.c_str());
    Anchors anchors = FindAnchors(pdf);
    RawTokens raw;
    std::vector<std::string> fileEdits;
    for (const std::string& edit : Split(edits, ";")) {
      if (edit.rfind("File:", 0) == 0) {
        fileEdits.push_back(Trim(edit.substr(5)));
      } else if (edit.rfind("Content:", 0) == 0) {
        EditContent(Anchor(anchors, "Page"), edit.substr(8));
      } else if (!edit.empty()) {
        EditEntry(pdf, anchors, edit, raw);
      }
    }
    QPDFWriter writer(pdf, out.c_str());
    // Plain objects and a plain cross-reference table, so that bytes can be changed in place.
    writer.setObjectStreamMode(qpdf_o_disable);
    writer.write();
    if (raw.empty() && fileEdits.empty()) return "";
    std::ostringstream written;
    written << std::ifstream(out, std::ios::binary).rdbuf();
    std::string bytes = written.str();
    for (const auto& [name, token] : raw) {
      const size_t at = bytes.find(name);
      if (at == std::string::npos) throw Failure("raw token not written: " + token);
      bytes.replace(at, name.size(), token + std::string(name.size() - token.size(), ' '));
    }
    for (const std::string& op : fileEdits) EditFile(bytes, op);
    std::ofstream(out, std::ios::binary | std::ios::trunc) << bytes;
    return "";
  } catch (const std::exception& error) {
    return error.what();
  }
}

}  // namespace osprevan::testing
