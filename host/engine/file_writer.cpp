// Writes Documents and Books in the XML file format. The output is canonical: reading it and
// writing again gives the same bytes. Keys of tables, cells, footnotes, frames and elements
// are numbered afresh in the order in which they are written.

#include <cstdio>
#include <map>
#include <sstream>
#include <utility>

#include "host/engine/file_format.h"

namespace tlhost {

using namespace tolvane;

namespace {

std::string Escape(const std::string& text, bool attribute) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += attribute ? "&quot;" : "\"";
        break;
      case '\r':
        out += "&#13;";
        break;
      case '\t':
        out += attribute ? "&#9;" : "\t";
        break;
      case '\n':
        out += attribute ? "&#10;" : "\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

class Attrs {
 public:
  Attrs& Add(const char* name, const std::string& value) {
    text_ += std::string(" ") + name + "=\"" + Escape(value, true) + "\"";
    return *this;
  }
  Attrs& Maybe(const char* name, const std::string& value) {
    return value.empty() ? *this : Add(name, value);
  }
  Attrs& Flag(const char* name, bool on) { return on ? Add(name, "yes") : *this; }
  Attrs& Number(const char* name, int64_t value) {
    return value ? Add(name, std::to_string(value)) : *this;
  }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

std::string Indent(int depth) {
  return std::string(static_cast<size_t>(depth) * 2, ' ');
}

void WriteAttributeList(std::ostringstream& out, const std::vector<Attribute>& list, int depth) {
  for (const Attribute& a : list) {
    out << Indent(depth) << "<attribute" << Attrs().Add("name", a.name).str();
    if (a.values.empty()) {
      out << "/>\n";
      continue;
    }
    out << ">";
    for (const std::string& v : a.values) out << "<value>" << Escape(v, false) << "</value>";
    out << "</attribute>\n";
  }
}

void WriteDefinitions(std::ostringstream& out, const Structure& s) {
  for (ObjectId id : s.definitionOrder) {
    const ElementDefinition& def = s.definitions.at(id);
    out << "  <element-def" << Attrs().Add("name", def.name).str();
    if (def.defaults.empty()) {
      out << "/>\n";
      continue;
    }
    out << ">\n";
    WriteAttributeList(out, def.defaults, 2);
    out << "  </element-def>\n";
  }
}

// Numbers the keyed objects in the order of writing.
class Keys {
 public:
  std::string Of(ObjectId id, const char* prefix) {
    auto found = keys_.find(id);
    if (found != keys_.end()) return found->second;
    const std::string key = prefix + std::to_string(++counts_[prefix]);
    keys_[id] = key;
    return key;
  }

 private:
  std::map<ObjectId, std::string> keys_;
  std::map<std::string, int> counts_;
};

void WriteElement(std::ostringstream& out, const Structure& s, ObjectId id, Keys& keys, int depth) {
  const StructureElement& e = s.elements.at(id);
  Attrs attrs;
  attrs.Add("key", keys.Of(id, "e")).Add("def", s.definitions.at(e.definition).name);
  attrs.Maybe("unique-id", e.uniqueId);
  if (e.boundObject) attrs.Add("bound", keys.Of(e.boundObject, "c"));
  attrs.Maybe("file-ref", e.fileRef).Flag("file-ref-mark", e.fileRefMark);
  out << Indent(depth) << "<element" << attrs.str();
  if (e.attributes.empty() && e.children.empty()) {
    out << "/>\n";
    return;
  }
  out << ">\n";
  WriteAttributeList(out, e.attributes, depth + 1);
  for (ObjectId child : e.children) WriteElement(out, s, child, keys, depth + 1);
  out << Indent(depth) << "</element>\n";
}

void WriteStructure(std::ostringstream& out, const Structure& s, ObjectId root, Keys& keys,
                    int depth) {
  if (!root) return;
  out << Indent(depth) << "<structure>\n";
  WriteElement(out, s, root, keys, depth + 1);
  out << Indent(depth) << "</structure>\n";
}

class DocumentWriter {
 public:
  explicit DocumentWriter(const Document& d) : d_(d) {}

  std::string Write() {
    out_ << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<document"
         << Attrs().Add("version", "1").Add("next-unique", std::to_string(d_.nextUnique)).str()
         << ">\n";
    for (ObjectId id : d_.colourOrder) {
      const Colour& c = d_.colours.at(id);
      out_ << "  <colour" << Attrs().Add("name", c.name).Number("reserved", c.reserved).str()
           << "/>\n";
    }
    for (ObjectId id : d_.conditionOrder) {
      const Condition& c = d_.conditions.at(id);
      static const char* kStyles[] = {"none", "single-underline", "double-underline"};
      Attrs attrs;
      attrs.Add("name", c.name).Add("shown", c.shown ? "yes" : "no");
      attrs.Flag("colour-override", c.colourOverride).Maybe("colour", ColourName(c.overrideColour));
      if (c.styleOverride > 0 && c.styleOverride <= 2) attrs.Add("style", kStyles[c.styleOverride]);
      attrs.Flag("background", c.backgroundOn)
          .Maybe("background-colour", ColourName(c.backgroundColour));
      out_ << "  <condition" << attrs.str() << "/>\n";
    }
    for (ObjectId id : d_.markerTypeOrder) {
      out_ << "  <marker-type" << Attrs().Add("name", d_.markerTypes.at(id).name).str() << "/>\n";
    }
    WriteDefinitions(out_, d_.structure);
    for (ObjectId id : d_.pageOrder) {
      static const char* kKinds[] = {"body", "master", "reference", "hidden"};
      const char* kind = kKinds[(KindOf(id) - KIND_BODY_PAGE) & 3];
      out_ << "  <page" << Attrs().Add("name", d_.pages.at(id).name).Add("kind", kind).str()
           << "/>\n";
    }
    for (ObjectId id : d_.flowOrder) {
      if (!d_.InAnchoredFrame(id)) WriteFlow(id, 1);
    }
    for (ObjectId id : d_.tableOrder) WriteTable(d_.tables.at(id));
    for (ObjectId id : d_.footnoteOrder) {
      const Footnote& f = d_.footnotes.at(id);
      out_ << "  <footnote" << Attrs().Add("key", keys_.Of(id, "fn")).Add("number", f.number).str()
           << ">\n";
      for (ObjectId p : f.paragraphs) WriteParagraph(p, 2);
      out_ << "  </footnote>\n";
    }
    for (ObjectId id : d_.anchoredFrameOrder) {
      out_ << "  <frame" << Attrs().Add("key", keys_.Of(id, "a")).str() << ">\n";
      for (ObjectId frame : d_.anchoredFrames.at(id).textFrames) {
        WriteFlow(d_.frames.at(frame).flow, 2);
      }
      out_ << "  </frame>\n";
    }
    out_ << "</document>\n";
    return std::move(out_).str();  // the text itself, not a copy of a document's megabytes
  }

 private:
  std::string ColourName(ObjectId id) const {
    const Colour* c = Document::Find(d_.colours, id);
    return c ? c->name : "";
  }
  void WriteFlow(ObjectId id, int depth) {
    const Flow& f = d_.flows.at(id);
    Attrs attrs;
    attrs.Add("name", f.name).Flag("main", id == d_.mainFlow);
    const TextFrame* frame = Document::Find(d_.frames, f.firstFrame);
    if (frame && Document::Find(d_.pages, frame->parent)) {
      attrs.Add("page", d_.pages.at(frame->parent).name);
    }
    out_ << Indent(depth) << "<flow" << attrs.str() << ">\n";
    WriteStructure(out_, d_.structure, f.highestElement, keys_, depth + 1);
    for (ObjectId p : f.paragraphs) WriteParagraph(p, depth + 1);
    out_ << Indent(depth) << "</flow>\n";
  }
  void WriteTable(const Table& t) {
    out_ << "  <table" << Attrs().Add("key", keys_.Of(t.id, "t")).Flag("title", t.titleOn).str()
         << ">\n";
    if (!t.titleParagraphs.empty()) {
      out_ << "    <title>\n";
      for (ObjectId p : t.titleParagraphs) WriteParagraph(p, 3);
      out_ << "    </title>\n";
    }
    static const char* kRows[] = {"", "heading", "body", "footing"};
    for (ObjectId r : t.rows) {
      const TableRow& row = d_.rows.at(r);
      out_ << "    <row" << Attrs().Add("kind", kRows[row.kind & 3]).str() << ">\n";
      for (ObjectId c : row.cells) {
        const TableCell& cell = d_.cells.at(c);
        out_ << "      <cell"
             << Attrs().Add("key", keys_.Of(c, "c")).Flag("straddled", cell.straddled).str()
             << ">\n";
        for (ObjectId p : cell.paragraphs) WriteParagraph(p, 4);
        out_ << "      </cell>\n";
      }
      out_ << "    </row>\n";
    }
    out_ << "  </table>\n";
  }
  Attrs PropsAttrs(PropsId id, const char* cond, const char* author, const char* time) const {
    const CharProps& props = d_.charProps[id];
    std::string names;
    for (ObjectId id : props.conditions) {
      if (const Condition* c = Document::Find(d_.conditions, id)) {
        names += (names.empty() ? "" : "|") + c->name;
      }
    }
    Attrs attrs;
    attrs.Maybe(cond, names).Maybe(author, props.author).Number(time, props.time);
    return attrs;
  }
  void WriteParagraph(ObjectId id, int depth) {
    const Paragraph& p = d_.paragraphs.at(id);
    Attrs attrs;
    attrs.Add("unique", std::to_string(p.unique)).Maybe("format", p.format);
    attrs.Maybe("autonumber", p.autonumber).Flag("autonumber-not-in-pdf", p.autonumberNotInPdf);
    out_ << Indent(depth) << "<p" << attrs.str()
         << PropsAttrs(p.endProps(), "end-cond", "end-author", "end-time").str() << ">";
    const int32_t end = p.length() - 1;
    int32_t i = 0;
    while (i < end) {
      const std::string props = PropsAttrs(p.props(i), "cond", "author", "time").str();
      if (p.isCharacter(i)) {
        const int32_t j = p.CharactersEnd(i, end);
        std::string run;
        p.AppendText(i, j, run);
        if (props.empty()) {
          out_ << Escape(run, false);
        } else {
          out_ << "<c" << props << ">" << Escape(run, false) << "</c>";
        }
        i = j;
        continue;
      }
      out_ << ItemTag(p.item(i)) << props << "/>";
      ++i;
    }
    out_ << "</p>\n";
  }
  std::string ItemTag(const Paragraph::Item& a) {
    switch (a.kind) {
      case TI_MARKER_ANCHOR: {
        const Marker& m = d_.markers.at(a.id);
        const MarkerType* type = Document::Find(d_.markerTypes, m.type);
        return "<marker" +
               Attrs().Maybe("type", type ? type->name : "").Maybe("text", m.text).str();
      }
      case TI_TABLE_ANCHOR:
        return "<table-anchor" + Attrs().Add("ref", keys_.Of(a.id, "t")).str();
      case TI_FOOTNOTE_ANCHOR:
        return "<footnote-anchor" + Attrs().Add("ref", keys_.Of(a.id, "fn")).str();
      case TI_FRAME_ANCHOR:
        return "<frame-anchor" + Attrs().Add("ref", keys_.Of(a.id, "a")).str();
      case TI_ELEMENT_BEGIN:
        return "<element-begin" + Attrs().Add("ref", keys_.Of(a.id, "e")).str();
      case TI_ELEMENT_END:
        return "<element-end" + Attrs().Add("ref", keys_.Of(a.id, "e")).str();
      case TI_XREF_BEGIN:
        return "<xref-begin";
      case TI_XREF_END:
        return "<xref-end";
      case TI_VAR_BEGIN:
        return "<variable-begin";
      case TI_VAR_END:
        return "<variable-end";
      case TI_HIDDEN_BEGIN:
        return "<hidden-begin";
      case TI_HIDDEN_END:
        return "<hidden-end";
      default:
        return "<special" + Attrs().Add("code", std::to_string(a.id)).str();
    }
  }

  const Document& d_;
  std::ostringstream out_;
  Keys keys_;
};

const char* ComponentTypeName(int32_t type) {
  switch (type) {
    case COMP_TYPE_GENERATED_LIST:
      return "generated-list";
    case COMP_TYPE_BOOK:
      return "book";
    case COMP_TYPE_FOLDER:
      return "folder";
    case COMP_TYPE_GROUP:
      return "group";
    case COMP_TYPE_GENERATED_INDEX:
      return "generated-index";
    case COMP_TYPE_STRUCTURE_MAP:
      return "structure-map";
    case COMP_TYPE_NESTED_MAP:
      return "nested-map";
    default:
      return "document";
  }
}

void WriteComponent(std::ostringstream& out, const Book& b, ObjectId id, int depth) {
  const BookComponent& c = b.componentsById.at(id);
  Attrs attrs;
  attrs.Maybe("file", c.fileName);
  const size_t slash = c.fileName.find_last_of('/');
  const std::string defaultName =
      slash == std::string::npos ? c.fileName : c.fileName.substr(slash + 1);
  if (c.name != defaultName) attrs.Add("name", c.name);
  attrs.Maybe("second-name", c.secondName);
  if (c.type != COMP_TYPE_DOCUMENT) attrs.Add("type", ComponentTypeName(c.type));
  attrs.Flag("exclude", c.exclude).Flag("exclude-nested", c.excludeNested);
  attrs.Flag("container", c.container);
  out << Indent(depth) << "<component" << attrs.str();
  if (c.children.empty()) {
    out << "/>\n";
    return;
  }
  out << ">\n";
  for (ObjectId child : c.children) WriteComponent(out, b, child, depth + 1);
  out << Indent(depth) << "</component>\n";
}

}  // namespace

std::string WriteDocument(const Document& document) {
  return DocumentWriter(document).Write();
}

std::string WriteBook(const Book& book) {
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<book version=\"1\">\n";
  WriteDefinitions(out, book.structure);
  for (ObjectId id : book.components) WriteComponent(out, book, id, 1);
  Keys keys;
  WriteStructure(out, book.structure, book.highestElement, keys, 1);
  out << "</book>\n";
  return std::move(out).str();
}

}  // namespace tlhost
