#include "host/engine/show.h"

#include <ctime>
#include <ostream>

#include "host/engine/engine.h"

namespace tlhost {

using namespace tolvane;

namespace {

std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

std::string TimeText(int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&t, &utc);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return buffer;
}

class Printer {
 public:
  Printer(const Document& d, std::ostream& out) : d_(d), out_(out) {}

  void Print() {
    out_ << "document " << d_.path << "\n";
    for (ObjectId id : d_.flowOrder) {
      if (d_.InAnchoredFrame(id)) continue;  // printed where its frame is anchored
      const Flow& f = d_.flows.at(id);
      out_ << "flow \"" << f.name << "\"" << (id == d_.mainFlow ? " (main)" : "") << "\n";
      for (ObjectId p : f.paragraphs) Paragraph(p, 1);
    }
  }

 private:
  std::string ConditionName(ObjectId id) const {
    const Condition* c = Document::Find(d_.conditions, id);
    return c ? c->name : "?";
  }
  // The opening and closing marks of a run of characters with the same properties.
  std::pair<std::string, std::string> Marks(PropsId id) const {
    const CharProps& props = d_.charProps[id];
    std::string open, close;
    const std::string change = props.author + " " + TimeText(props.time);
    for (ObjectId id : props.conditions) {
      const std::string name = ConditionName(id);
      if (name == "TL8_TRACK_CHANGES_ADDED") {
        open += "{+" + change + "|";
        close = "+}" + close;
      } else if (name == "TL8_TRACK_CHANGES_DELETED") {
        open += "{-" + change + "|";
        close = "-}" + close;
      } else {
        open += "{" + name + "|";
        close = "}" + close;
      }
    }
    return {open, close};
  }
  void Paragraph(ObjectId id, int depth) {
    const tlhost::Paragraph& p = d_.paragraphs.at(id);
    const std::string indent(static_cast<size_t>(depth) * 2, ' ');
    out_ << indent << "[" << p.unique << "]";
    if (!p.format.empty()) out_ << " " << p.format;
    if (!p.autonumber.empty()) {
      out_ << " \"" << Visible(p.autonumber) << "\""
           << (p.autonumberNotInPdf ? " (not in PDF)" : "");
    }
    out_ << ": ";
    std::vector<ObjectId> nested;
    const int32_t end = p.length() - 1;
    int32_t i = 0;
    while (i < end) {
      const auto [open, close] = Marks(p.props(i));
      out_ << open;
      if (p.isCharacter(i)) {
        const int32_t j = p.CharactersEnd(i, end);
        std::string run;
        p.AppendText(i, j, run);
        out_ << Visible(run);
        i = j;
      } else {
        out_ << Item(p.item(i), nested);
        ++i;
      }
      out_ << close;
    }
    const auto [open, close] = Marks(p.endProps());
    if (!open.empty()) out_ << open << "¶" << close;
    out_ << "\n";
    for (ObjectId n : nested) Nested(n, depth + 1);
  }
  std::string Item(const tlhost::Paragraph::Item& a, std::vector<ObjectId>& nested) {
    switch (a.kind) {
      case TI_MARKER_ANCHOR: {
        const Marker& m = d_.markers.at(a.id);
        const MarkerType* t = Document::Find(d_.markerTypes, m.type);
        return "[marker " + (t ? t->name : std::string("?")) + ": " + Visible(m.text) + "]";
      }
      case TI_TABLE_ANCHOR:
        nested.push_back(a.id);
        return "[table]";
      case TI_FOOTNOTE_ANCHOR:
        nested.push_back(a.id);
        return "[footnote " + d_.footnotes.at(a.id).number + "]";
      case TI_FRAME_ANCHOR:
        nested.push_back(a.id);
        return "[frame]";
      case TI_ELEMENT_BEGIN:
        return "<" + ElementName(a.id) + ">";
      case TI_ELEMENT_END:
        return "</" + ElementName(a.id) + ">";
      case TI_XREF_BEGIN:
        return "[xref:";
      case TI_VAR_BEGIN:
        return "[variable:";
      case TI_XREF_END:
      case TI_VAR_END:
        return "]";
      case TI_HIDDEN_BEGIN:
        return "[hidden:";
      case TI_HIDDEN_END:
        return "]";
      default:
        return "[special " + std::to_string(a.id) + "]";
    }
  }
  std::string ElementName(ObjectId id) const {
    const StructureElement* e = Document::Find(d_.structure.elements, id);
    return e ? d_.structure.definitions.at(e->definition).name : "?";
  }
  void Nested(ObjectId id, int depth) {
    const std::string indent(static_cast<size_t>(depth) * 2, ' ');
    if (const Table* t = Document::Find(d_.tables, id)) {
      out_ << indent << "table\n";
      for (ObjectId p : t->titleParagraphs) {
        out_ << indent << "  title\n";
        Paragraph(p, depth + 2);
      }
      static const char* kRows[] = {"", "heading", "body", "footing"};
      for (ObjectId r : t->rows) {
        const TableRow& row = d_.rows.at(r);
        out_ << indent << "  " << kRows[row.kind & 3] << " row\n";
        for (ObjectId c : row.cells) {
          out_ << indent << "    cell" << (d_.cells.at(c).straddled ? " (straddled)" : "") << "\n";
          for (ObjectId p : d_.cells.at(c).paragraphs) Paragraph(p, depth + 3);
        }
      }
    } else if (const Footnote* f = Document::Find(d_.footnotes, id)) {
      out_ << indent << "footnote " << f->number << "\n";
      for (ObjectId p : f->paragraphs) Paragraph(p, depth + 1);
    } else if (const AnchoredFrame* a = Document::Find(d_.anchoredFrames, id)) {
      out_ << indent << "frame\n";
      for (ObjectId frame : a->textFrames) {
        const Flow& flow = d_.flows.at(d_.frames.at(frame).flow);
        out_ << indent << "  flow \"" << flow.name << "\"\n";
        for (ObjectId p : flow.paragraphs) Paragraph(p, depth + 2);
      }
    }
  }

  const Document& d_;
  std::ostream& out_;
};

}  // namespace

void ShowDocument(const Document& document, std::ostream& out) {
  Printer(document, out).Print();
}

void ShowOpen(const Engine& engine, ObjectId id, std::ostream& out) {
  if (const Document* d = engine.document(id)) {
    ShowDocument(*d, out);
    return;
  }
  const Book* b = engine.book(id);
  if (!b) return;
  out << "book " << b->path << "\n";
  for (ObjectId c : b->components) {
    const BookComponent& component = b->componentsById.at(c);
    out << "  " << component.name << " (" << b->ComponentPath(component) << ")\n";
  }
}

}  // namespace tlhost
