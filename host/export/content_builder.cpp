#include "host/export/content_builder.h"

#include <algorithm>
#include <map>
#include <utility>

#include "host/export/condition_look.h"
#include "host/export/element_names.h"

namespace tlhost::pdfexport {
namespace {

using tolvane::KindOf;

// Objects anchored in a paragraph that are drawn after it.
struct Anchored {
  bool table = false;
  ObjectId id = 0;
  int footnote = -1;  // index of the footnote body
};

class DocumentBuilder {
 public:
  DocumentBuilder(const Document& d, const ExportOptions& options, StructTree& tree,
                  LayoutContent& out)
      : d_(d), options_(options), tree_(tree), out_(out) {}

  void Build(int parent) {
    const int node = tree_.AddNode(parent, "Document", "");
    if (!out_.items.empty()) out_.items.push_back({FlowItem::Kind::kPageBreak, {}, {}});
    bool first = true;
    for (ObjectId id : d_.flowOrder) {
      const Flow& flow = d_.flows.at(id);
      if (!OnBodyPage(flow)) continue;
      if (!first) out_.items.push_back({FlowItem::Kind::kPageBreak, {}, {}});
      first = false;
      BuildFlow(flow, node);
    }
  }

 private:
  bool OnBodyPage(const Flow& flow) const {
    const TextFrame* frame = Document::Find(d_.frames, flow.firstFrame);
    return frame && KindOf(frame->parent) == tolvane::KIND_BODY_PAGE;
  }

  void BuildFlow(const Flow& flow, int documentNode) {
    const std::string name = (options_.sectionElements ? "Section_" : "Article_") + flow.name;
    const int node = tree_.AddNode(documentNode, name, name);
    tree_.MapRole(name, options_.sectionElements ? "Sect" : "Art");
    if (flow.highestElement != 0) {
      BuildStructuredFlow(flow, node);
      return;
    }
    for (ObjectId paragraph : flow.paragraphs) FlowParagraph(node, paragraph, -1);
  }

  // A paragraph of a flow with what it anchors: tables after it, footnotes at the page foot.
  void FlowParagraph(int parent, ObjectId paragraph, int node) {
    std::vector<Anchored> anchored;
    FlowItem item;
    item.paragraph = AddParagraph(parent, paragraph, node, anchored);
    out_.items.push_back(std::move(item));
    for (const Anchored& a : anchored) {
      if (a.table) {
        FlowItem table;
        table.kind = FlowItem::Kind::kTable;
        table.table = BuildTable(parent, d_.tables.at(a.id));
        out_.items.push_back(std::move(table));
      }
    }
  }

  static ParagraphRole RoleOf(const std::string& standard) {
    if (standard.size() == 2 && standard[0] == 'H') return ParagraphRole::kHeading;
    return ParagraphRole::kBody;
  }

  // Makes the paragraph's element (unless `node` is given), its segments, and a "Note"
  // element after it for each footnote it anchors.
  LaidParagraph AddParagraph(int parent, ObjectId id, int node, std::vector<Anchored>& anchored,
                             ParagraphRole role = ParagraphRole::kBody) {
    const Paragraph& p = d_.paragraphs.at(id);
    if (node < 0) {
      const std::string type = OwnTypeName(p.format, "_Pgf");
      const std::string standard = ParagraphStandardType(type == "P" ? "P" : p.format);
      node = tree_.AddNode(parent, type, ParagraphIdentifier(d_, id));
      tree_.MapRole(type, standard);
      if (role == ParagraphRole::kBody) role = RoleOf(standard);
    }
    LaidParagraph laid;
    laid.role = role;
    ContentSlot slot;
    // Looks do not cut segments: a segment is one piece of marked content, and its cuts
    // decide which blanks get stand-ins, so cutting at looks would change the PDF's text.
    auto append = [&](const std::string& text, SegmentStyle style, int footnote,
                      const TextLook& look) {
      if (slot.node < 0) slot = tree_.AddSlot(node);
      if (!laid.segments.empty() && footnote < 0) {
        TextSegment& last = laid.segments.back();
        if (last.style == style && last.footnote < 0 && last.slot.node == slot.node &&
            last.slot.kid == slot.kid) {
          AddLook(last, last.text.size(), text.size(), look);
          last.text += text;
          return;
        }
      }
      laid.segments.push_back({text, style, slot, footnote, {}});
      AddLook(laid.segments.back(), 0, text.size(), look);
    };
    if (!p.autonumber.empty() && !p.autonumberNotInPdf)
      append(p.autonumber, SegmentStyle::kBody, -1, {});
    int hidden = 0;
    for (int32_t i = 0; i < p.length();) {
      const Paragraph::Item item = p.item(i);
      if (item.kind == tolvane::TI_HIDDEN_BEGIN) ++hidden;
      if (item.kind == tolvane::TI_HIDDEN_END) hidden = std::max(0, hidden - 1);
      // Characters sharing their properties are shown or left out together.
      const int32_t next = item.kind == tolvane::TI_STRING ? p.CharactersEnd(i, p.length()) : i + 1;
      const std::vector<ObjectId>& conditions = d_.charProps[p.props(i)].conditions;
      if (hidden > 0 || !Shown(conditions)) {
        i = next;
        continue;
      }
      switch (item.kind) {
        case tolvane::TI_STRING: {
          std::string text;
          p.AppendText(i, next, text);
          append(text, SegmentStyle::kBody, -1, LookOf(d_, conditions));
          break;
        }
        case tolvane::TI_FOOTNOTE_ANCHOR: {
          const Footnote* f = Document::Find(d_.footnotes, item.id);
          if (!f) break;
          const int index = static_cast<int>(out_.footnotes.size());
          out_.footnotes.emplace_back();
          append(f->number, SegmentStyle::kSuperscript, index, LookOf(d_, conditions));
          anchored.push_back({false, item.id, index});
          break;
        }
        case tolvane::TI_TABLE_ANCHOR:
          if (d_.tables.count(item.id)) anchored.push_back({true, item.id, -1});
          break;
        case tolvane::TI_FRAME_ANCHOR:
          AddBlock(node, item.id, laid);
          slot = {};
          break;
        default:
          break;
      }
      i = next;
    }
    for (const Anchored& a : anchored) {
      if (!a.table) AddFootnote(parent, d_.footnotes.at(a.id), a.footnote);
    }
    return laid;
  }

  // Gives bytes [begin, begin + length) of `segment` their look, joined to the look before
  // them when it is the same.
  static void AddLook(TextSegment& segment, size_t begin, size_t length, const TextLook& look) {
    if (look.Plain() || length == 0) return;
    if (!segment.looks.empty() && segment.looks.back().end == begin &&
        segment.looks.back().look == look) {
      segment.looks.back().end += length;
      return;
    }
    segment.looks.push_back({begin, begin + length, look});
  }

  bool Shown(const std::vector<ObjectId>& conditions) const {
    for (ObjectId c : conditions) {
      const Condition* condition = Document::Find(d_.conditions, c);
      if (condition && !condition->shown) return false;
    }
    return true;
  }

  void AddFootnote(int parent, const Footnote& f, int index) {
    const int node = tree_.AddNode(parent, "Note", "N" + std::to_string(++footnotes_));
    std::vector<LaidParagraph>& body = out_.footnotes[index];
    std::vector<Anchored> nested;  // footnotes do not nest; what they anchor is not drawn
    for (ObjectId p : f.paragraphs) {
      body.push_back(AddParagraph(node, p, -1, nested, ParagraphRole::kFootnote));
    }
    if (body.empty()) body.emplace_back();
    body.front().role = ParagraphRole::kFootnote;
    body.front().segments.insert(body.front().segments.begin(),
                                 {f.number + " ", SegmentStyle::kBody, {}, -1, {}});
  }

  // The text of an anchored frame, shown in line as a block: "BlockStart", a "Span" with the
  // frame's text and "BlockEnd", all inside the paragraph's element.
  void AddBlock(int node, ObjectId frameId, LaidParagraph& laid) {
    const AnchoredFrame* frame = Document::Find(d_.anchoredFrames, frameId);
    if (!frame) return;
    const std::string name = "F" + std::to_string(++blocks_);
    tree_.AddNode(node, "BlockStart", "BS" + name);
    const int span = tree_.AddNode(node, "Span", "");
    tree_.AddNode(node, "BlockEnd", "BE" + name);
    tree_.MapRole("BlockStart", "NonStruct");
    tree_.MapRole("BlockEnd", "NonStruct");
    std::string text;
    for (ObjectId tf : frame->textFrames) {
      const TextFrame* textFrame = Document::Find(d_.frames, tf);
      const Flow* flow = textFrame ? Document::Find(d_.flows, textFrame->flow) : nullptr;
      if (!flow) continue;
      for (ObjectId p : flow->paragraphs) {
        const std::string shown = ShownText(d_.paragraphs.at(p));
        if (shown.empty()) continue;
        if (!text.empty()) text += " ";
        text += shown;
      }
    }
    if (!text.empty())
      laid.segments.push_back({text, SegmentStyle::kBlock, tree_.AddSlot(span), -1, {}});
  }

  std::string ShownText(const Paragraph& p) const {
    std::string text = p.autonumberNotInPdf ? "" : p.autonumber;
    int hidden = 0;
    for (int32_t i = 0; i < p.length();) {
      const uint32_t kind = p.kind(i);
      if (kind == tolvane::TI_HIDDEN_BEGIN) ++hidden;
      if (kind == tolvane::TI_HIDDEN_END) hidden = std::max(0, hidden - 1);
      if (kind != tolvane::TI_STRING) {
        ++i;
        continue;
      }
      const int32_t next = p.CharactersEnd(i, p.length());
      if (hidden == 0 && Shown(d_.charProps[p.props(i)].conditions)) p.AppendText(i, next, text);
      i = next;
    }
    return text;
  }

  TableGrid BuildTable(int parent, const Table& t) {
    TableGrid grid;
    const int node = tree_.AddNode(parent, "Table", "");
    std::vector<Anchored> ignored;  // tables and footnotes inside tables are not drawn
    if (t.titleOn && !t.titleParagraphs.empty()) {
      const int title = tree_.AddNode(node, "TableTitle", "");
      tree_.MapRole("TableTitle", "Caption");
      for (ObjectId p : t.titleParagraphs) {
        grid.title.push_back(AddParagraph(title, p, -1, ignored, ParagraphRole::kTitle));
      }
    }
    int group = -1;
    int32_t groupKind = 0;
    for (ObjectId rowId : t.rows) {
      const TableRow& row = d_.rows.at(rowId);
      if (group < 0 || row.kind != groupKind) {
        groupKind = row.kind;
        const char* type = row.kind == tolvane::ROW_HEADING   ? "THead"
                           : row.kind == tolvane::ROW_FOOTING ? "TFoot"
                                                              : "TBody";
        group = tree_.AddNode(node, type, "");
      }
      const int tr = tree_.AddNode(group, "TR", "");
      GridRow laidRow;
      int columns = 0;
      for (ObjectId cellId : row.cells) {
        const TableCell& cell = d_.cells.at(cellId);
        ++columns;
        // A straddled cell lies under its left neighbour, which covers its column.
        if (cell.straddled) {
          if (!laidRow.cells.empty()) ++laidRow.cells.back().span;
          continue;
        }
        const bool heading = row.kind == tolvane::ROW_HEADING;
        const int cellNode = tree_.AddNode(tr, heading ? "TH" : "TD", "");
        GridCell laidCell;
        laidCell.heading = heading;
        for (ObjectId p : cell.paragraphs) {
          laidCell.paragraphs.push_back(
              AddParagraph(cellNode, p, -1, ignored, ParagraphRole::kCell));
        }
        laidRow.cells.push_back(std::move(laidCell));
      }
      grid.columns = std::max(grid.columns, columns);
      grid.rows.push_back(std::move(laidRow));
    }
    return grid;
  }

  // Element tree of a structured flow. An element that holds all of one paragraph's text
  // becomes that paragraph's element; elements over several paragraphs become containers
  // (mapped to Div); elements inside a paragraph are not written.
  void BuildStructuredFlow(const Flow& flow, int articleNode) {
    std::map<ObjectId, std::pair<int, int>> spans;  // element -> first and last paragraph
    for (size_t i = 0; i < flow.paragraphs.size(); ++i) {
      d_.paragraphs.at(flow.paragraphs[i]).ForEachItem([&](int32_t, const Paragraph::Item& a) {
        if (a.kind == tolvane::TI_ELEMENT_BEGIN) spans[a.id] = {static_cast<int>(i), -1};
        if (a.kind == tolvane::TI_ELEMENT_END && spans.count(a.id)) {
          spans[a.id].second = static_cast<int>(i);
        }
      });
    }
    auto isContainer = [&](ObjectId e) {
      const auto& s = spans[e];
      return s.second != s.first;
    };
    std::vector<ObjectId> open;
    std::map<ObjectId, int> nodeOf;
    auto containerNode = [&]() {
      for (auto it = open.rbegin(); it != open.rend(); ++it) {
        if (nodeOf.count(*it)) return nodeOf[*it];
      }
      return articleNode;
    };
    auto openElement = [&](ObjectId e) {
      if (isContainer(e)) {
        const StructureElement* element = Document::Find(d_.structure.elements, e);
        const std::string text = element ? ElementIdText(d_, *element) : "";
        const std::string type = OwnTypeName(DefinitionName(e), "_Elem");
        nodeOf[e] = tree_.AddNode(containerNode(), type, text.empty() ? "" : "E" + text);
        tree_.MapRole(type, "Div");
      }
      open.push_back(e);
    };
    for (size_t i = 0; i < flow.paragraphs.size(); ++i) {
      const ObjectId id = flow.paragraphs[i];
      const Paragraph& p = d_.paragraphs.at(id);
      int32_t k = 0;
      ObjectId own = 0;
      for (; k < p.length() && p.kind(k) == tolvane::TI_ELEMENT_BEGIN; ++k) {
        const ObjectId e = p.item(k).id;
        if (!own && !isContainer(e) && HoldsAllText(p, e)) {
          own = e;
          open.push_back(e);
        } else {
          openElement(e);
        }
      }
      int node = -1;
      if (own) {
        const StructureElement* element = Document::Find(d_.structure.elements, own);
        const std::string text = element ? ElementIdText(d_, *element) : "";
        const std::string name = DefinitionName(own);
        const std::string type = OwnTypeName(name, "_Elem");
        node = tree_.AddNode(containerNode(), type,
                             text.empty() ? ParagraphIdentifier(d_, id) : "E" + text);
        tree_.MapRole(type, ParagraphStandardType(HasSpecificStandardType(name) ? name : p.format));
      }
      FlowParagraph(containerNode(), id, node);
      for (; k < p.length(); ++k) {
        const Paragraph::Item a = p.item(k);
        if (a.kind == tolvane::TI_ELEMENT_BEGIN) openElement(a.id);
        if (a.kind == tolvane::TI_ELEMENT_END) {
          auto at = std::find(open.begin(), open.end(), a.id);
          if (at != open.end()) open.erase(at);
        }
      }
    }
  }

  // No shown text of the paragraph lies after the element's end item.
  static bool HoldsAllText(const Paragraph& p, ObjectId element) {
    const int32_t end = p.FindItem(element, tolvane::TI_ELEMENT_END);
    if (end < 0) return false;
    for (int32_t i = end + 1; i < p.length(); ++i) {
      const uint32_t kind = p.kind(i);
      if (kind == tolvane::TI_STRING || kind == tolvane::TI_FOOTNOTE_ANCHOR ||
          kind == tolvane::TI_FRAME_ANCHOR) {
        return false;
      }
    }
    return true;
  }

  std::string DefinitionName(ObjectId element) const {
    const StructureElement* e = Document::Find(d_.structure.elements, element);
    const ElementDefinition* def =
        e ? Document::Find(d_.structure.definitions, e->definition) : nullptr;
    return def ? def->name : "";
  }

  const Document& d_;
  const ExportOptions& options_;
  StructTree& tree_;
  LayoutContent& out_;
  int footnotes_ = 0;
  int blocks_ = 0;
};

}  // namespace

void BuildDocumentContent(const Document& document, const ExportOptions& options, int parent,
                          StructTree& tree, LayoutContent& out) {
  DocumentBuilder(document, options, tree, out).Build(parent);
}

}  // namespace tlhost::pdfexport
