// Reads the XML file format into a Document or Book. The reader is strict: an unknown element
// or attribute, a bad number or a dangling reference is a fault, reported with its line.

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <set>
#include <string_view>

#include "host/engine/file_format.h"
#include "host/engine/utf8.h"

namespace tlhost {

using namespace tolvane;

namespace {

// CDATA sections are text like any other; without parse_cdata the parser would drop them.
constexpr unsigned kParseOptions =
    pugi::parse_escapes | pugi::parse_eol | pugi::parse_ws_pcdata | pugi::parse_cdata;

constexpr size_t kNowhere = SIZE_MAX;  // a fault of the whole file, with no line of its own

struct Fault {
  size_t offset;
  FormatFaultCode code;
  FaultValues values;
  int linesBelow = 0;  // the fault lies this many lines below `offset`, inside a text
};

using Code = FormatFaultCode;

// Unique numbers stay below this, so that the number after the highest one always fits.
constexpr int32_t kUniqueLimit = INT32_MAX;

// Line numbers of offsets into the file text. They are noted before parsing, which overwrites
// the text it parses in place.
class LineIndex {
 public:
  explicit LineIndex(const std::string& text) {
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
      lineFeeds_.push_back(at);
    }
  }
  int LineAt(size_t offset) const {
    const auto before = std::lower_bound(lineFeeds_.begin(), lineFeeds_.end(), offset);
    return 1 + static_cast<int>(before - lineFeeds_.begin());
  }

 private:
  std::vector<size_t> lineFeeds_;  // offsets of the line feeds, ascending
};

// Where a character reference names U+0000, npos when none does. The parser would end the
// text at such a character and silently drop the rest, so it is found before parsing. The
// value wraps as the parser computes it; comments, CDATA and instructions hold no references.
size_t FindNullReference(const std::string& text) {
  size_t i = 0;
  while ((i = text.find_first_of("&<", i)) != std::string::npos) {
    if (text[i] == '<') {
      const char* closing = text.compare(i, 4, "<!--") == 0        ? "-->"
                            : text.compare(i, 9, "<![CDATA[") == 0 ? "]]>"
                            : text.compare(i, 2, "<?") == 0        ? "?>"
                                                                   : nullptr;
      if (!closing) {
        ++i;
        continue;
      }
      const size_t end = text.find(closing, i + 2);
      if (end == std::string::npos) return std::string::npos;  // the parser reports it
      i = end;
      continue;
    }
    const size_t start = i++;
    if (i >= text.size() || text[i] != '#') continue;
    ++i;
    const bool hex = i < text.size() && text[i] == 'x';
    if (hex) ++i;
    uint32_t value = 0;
    size_t digits = 0;
    for (; i < text.size(); ++i, ++digits) {
      const char c = text[i];
      if (c >= '0' && c <= '9')
        value = value * (hex ? 16u : 10u) + static_cast<uint32_t>(c - '0');
      else if (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')))
        value = value * 16u + static_cast<uint32_t>((c | 0x20) - 'a' + 10);
      else
        break;
    }
    if (digits > 0 && i < text.size() && text[i] == ';' && value == 0) return start;
  }
  return std::string::npos;
}

bool IsBlank(const char* text) {
  for (; *text; ++text) {
    if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r') return false;
  }
  return true;
}

int32_t ReadInt(const std::string& text, bool& ok) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  ok = ec == std::errc() && ptr == end && !text.empty() && value >= INT32_MIN && value <= INT32_MAX;
  return static_cast<int32_t>(value);
}

// The text a check of characters looks at: a paragraph's, a <value>'s or an attribute's.
enum class TextKind { Text, Value, Attribute };

// "U+0007".
std::string ControlCode(char32_t c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  return code;
}

// The fault of text the XML parser refused, by the parser's status.
FormatFaultCode XmlFault(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_bad_pi:
      return Code::XmlBadInstruction;
    case pugi::status_bad_comment:
      return Code::XmlBadComment;
    case pugi::status_bad_cdata:
      return Code::XmlBadCdata;
    case pugi::status_bad_doctype:
      return Code::XmlBadDoctype;
    case pugi::status_bad_pcdata:
      return Code::XmlBadText;
    case pugi::status_bad_start_element:
    case pugi::status_unrecognized_tag:
      return Code::XmlBadStartTag;
    case pugi::status_bad_attribute:
      return Code::XmlBadAttribute;
    case pugi::status_bad_end_element:
      return Code::XmlBadEndTag;
    case pugi::status_end_element_mismatch:
      return Code::XmlTagMismatch;
    case pugi::status_no_document_element:
      return Code::XmlNoRoot;
    case pugi::status_append_invalid_root:
      return Code::XmlAfterRoot;
    default:
      return Code::XmlUnreadable;
  }
}

// Common checks and reference tables of one read.
class Reader {
 public:
  Reader(const IdAllocator& newId) : newId_(newId) {}

  [[noreturn]] void Fail(pugi::xml_node node, FormatFaultCode code, FaultValues values = {},
                         int linesBelow = 0) {
    throw Fault{static_cast<size_t>(std::max<ptrdiff_t>(0, node.offset_debug())), code,
                std::move(values), linesBelow};
  }

  // Text of the document follows the rule of HostAddText: well-formed UTF-8 without C0
  // controls other than tab, line feed and carriage return. Editing could not make such
  // text, so a file holding it is refused rather than carried on.
  // `attribute` names the attribute the text is the value of; null for other text.
  std::u32string CheckedCharacters(pugi::xml_node node, std::string_view text, TextKind kind,
                                   const char* attribute = nullptr) {
    static constexpr Code kNotUtf8[] = {Code::TextNotUtf8, Code::ValueNotUtf8,
                                        Code::AttributeNotUtf8};
    static constexpr Code kControl[] = {Code::TextControlCharacter, Code::ValueControlCharacter,
                                        Code::AttributeControlCharacter};
    FaultValues values;
    if (attribute) values.push_back({"attribute", attribute});
    std::u32string characters;
    if (!utf8::Decode(text, characters)) Fail(node, kNotUtf8[static_cast<int>(kind)], values);
    int lines = 0;
    for (char32_t c : characters) {
      if (utf8::IsForbiddenControl(c)) {
        values.push_back({"code", ControlCode(c)});
        Fail(node, kControl[static_cast<int>(kind)], values, lines);
      }
      if (c == '\n') ++lines;
    }
    return characters;
  }

  void Attributes(pugi::xml_node node, std::initializer_list<const char*> allowed) {
    for (pugi::xml_attribute a : node.attributes()) {
      bool known = false;
      for (const char* name : allowed) known = known || std::string(a.name()) == name;
      if (!known) {
        Fail(node, Code::UnknownAttribute, {{"attribute", a.name()}, {"element", node.name()}});
      }
    }
  }
  std::string Required(pugi::xml_node node, const char* name) {
    if (!node.attribute(name))
      Fail(node, Code::MissingAttribute, {{"element", node.name()}, {"attribute", name}});
    return Text(node, name);
  }
  std::string Text(pugi::xml_node node, const char* name) {
    const std::string value = node.attribute(name).value();
    CheckedCharacters(node, value, TextKind::Attribute, name);
    return value;
  }
  bool Flag(pugi::xml_node node, const char* name) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) return false;
    const std::string value = a.value();
    if (value == "yes") return true;
    if (value == "no") return false;
    Fail(node, Code::NotYesOrNo, {{"attribute", name}, {"value", value}});
  }
  int32_t Number(pugi::xml_node node, const char* name, int32_t fallback) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) return fallback;
    bool ok = false;
    const int32_t value = ReadInt(a.value(), ok);
    if (!ok) Fail(node, Code::NotANumber, {{"attribute", name}, {"value", a.value()}});
    return value;
  }
  int32_t Choice(pugi::xml_node node, const char* name,
                 const std::vector<std::pair<std::string, int32_t>>& choices, int32_t fallback) {
    pugi::xml_attribute a = node.attribute(name);
    if (!a) return fallback;
    for (const auto& [word, value] : choices) {
      if (word == a.value()) return value;
    }
    Fail(node, Code::UnknownValue, {{"attribute", name}, {"value", a.value()}});
  }
  // Children of a container element: whitespace between them, and no text.
  std::vector<pugi::xml_node> Elements(pugi::xml_node node) {
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node child : node.children()) {
      if (child.type() == pugi::node_element) {
        out.push_back(child);
      } else if ((child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) &&
                 !IsBlank(child.value())) {
        Fail(child, Code::TextNotAllowed, {{"element", node.name()}});
      }
    }
    return out;
  }
  [[noreturn]] void Unknown(pugi::xml_node node, pugi::xml_node parent) {
    Fail(node, Code::UnknownElement, {{"element", node.name()}, {"parent", parent.name()}});
  }

  // Keys name tables, cells, footnotes, frames and elements; all are made before the content
  // is read so that references may point forward.
  void CollectKeys(pugi::xml_node node) {
    static const std::map<std::string, uint32_t> kinds = {{"table", KIND_TABLE},
                                                          {"cell", KIND_TABLE_CELL},
                                                          {"footnote", KIND_FOOTNOTE},
                                                          {"frame", KIND_ANCHORED_FRAME},
                                                          {"element", KIND_ELEMENT}};
    for (pugi::xml_node child : node.children()) {
      if (child.type() != pugi::node_element) continue;
      auto kind = kinds.find(child.name());
      if (kind != kinds.end() && child.attribute("key")) {
        const std::string key = child.attribute("key").value();
        if (keys_.count(key)) Fail(child, Code::KeyUsedTwice, {{"key", key}});
        keys_[key] = NewId(child, kind->second);
      }
      CollectKeys(child);
    }
  }
  ObjectId Key(pugi::xml_node node, const char* attribute, uint32_t kind) {
    const std::string key = Required(node, attribute);
    auto found = keys_.find(key);
    if (found == keys_.end() || KindOf(found->second) != kind) {
      Fail(node, KeyNamesNo(kind), {{"key", key}});
    }
    return found->second;
  }
  ObjectId OwnKey(pugi::xml_node node, uint32_t kind) {
    if (!node.attribute("key"))
      Fail(node, Code::MissingAttribute, {{"element", node.name()}, {"attribute", "key"}});
    return Key(node, "key", kind);
  }
  ObjectId NewId(pugi::xml_node node, uint32_t kind) {
    const ObjectId id = newId_(kind);
    if (id == 0) Fail(node, Code::OutOfObjectIds);
    return id;
  }
  static FormatFaultCode KeyNamesNo(uint32_t kind) {
    switch (kind) {
      case KIND_TABLE:
        return Code::KeyNamesNoTable;
      case KIND_TABLE_CELL:
        return Code::KeyNamesNoCell;
      case KIND_FOOTNOTE:
        return Code::KeyNamesNoFootnote;
      case KIND_ANCHORED_FRAME:
        return Code::KeyNamesNoFrame;
      default:
        return Code::KeyNamesNoElement;
    }
  }

  void ReadDefinition(pugi::xml_node node, Structure& s) {
    Attributes(node, {"name"});
    ElementDefinition def;
    def.id = NewId(node, KIND_ELEMENT_DEF);
    def.name = Text(node, "name");
    if (def.name.empty()) Fail(node, Code::DefinitionNeedsName);
    if (s.FindDefinition(def.name)) Fail(node, Code::DefinitionTwice, {{"name", def.name}});
    def.defaults = ReadAttributeList(node);
    s.definitionOrder.push_back(def.id);
    s.definitions[def.id] = def;
  }
  std::vector<Attribute> ReadAttributeList(pugi::xml_node node) {
    std::vector<Attribute> out;
    for (pugi::xml_node a : Elements(node)) {
      if (std::string(a.name()) != "attribute") {
        if (std::string(a.name()) == "element") continue;  // children of an element
        Unknown(a, node);
      }
      Attributes(a, {"name"});
      Attribute attribute{Text(a, "name"), {}};
      for (pugi::xml_node v : Elements(a)) {
        if (std::string(v.name()) != "value") Unknown(v, a);
        Attributes(v, {});
        for (pugi::xml_node t : v.children()) {
          if (t.type() != pugi::node_pcdata && t.type() != pugi::node_cdata) {
            Fail(t, Code::ValueHoldsTextOnly);
          }
        }
        CheckedCharacters(v, v.text().get(), TextKind::Value);
        attribute.values.push_back(v.text().get());
      }
      out.push_back(attribute);
    }
    return out;
  }
  // <structure> with at most one root element; answers the root.
  ObjectId ReadStructure(pugi::xml_node node, Structure& s) {
    Attributes(node, {});
    ObjectId root = 0;
    for (pugi::xml_node child : Elements(node)) {
      if (std::string(child.name()) != "element") Unknown(child, node);
      if (root) Fail(child, Code::OneRootElement);
      root = ReadElement(child, 0, s);
    }
    return root;
  }
  ObjectId ReadElement(pugi::xml_node node, ObjectId parent, Structure& s) {
    Attributes(node, {"key", "def", "unique-id", "bound", "file-ref", "file-ref-mark"});
    StructureElement e;
    e.id = OwnKey(node, KIND_ELEMENT);
    const std::string def = Required(node, "def");
    const ElementDefinition* definition = s.FindDefinition(def);
    if (!definition) Fail(node, Code::NoDefinitionNamed, {{"name", def}});
    e.definition = definition->id;
    e.uniqueId = Text(node, "unique-id");
    e.parent = parent;
    e.fileRef = Text(node, "file-ref");
    e.fileRefMark = Flag(node, "file-ref-mark");
    if (node.attribute("bound")) e.boundObject = Key(node, "bound", KIND_TABLE_CELL);
    e.attributes = ReadAttributeList(node);
    if (s.elements.count(e.id)) Fail(node, Code::ElementTwice);
    s.elements[e.id] = e;
    for (pugi::xml_node child : Elements(node)) {
      if (std::string(child.name()) != "element") continue;
      const ObjectId c = ReadElement(child, e.id, s);
      s.elements[e.id].children.push_back(c);
    }
    return e.id;
  }

 protected:
  const IdAllocator& newId_;
  std::map<std::string, ObjectId> keys_;
};

class DocumentReader : public Reader {
 public:
  DocumentReader(const IdAllocator& newId, Document& d) : Reader(newId), d_(d) {}

  void Read(pugi::xml_node root) {
    if (std::string(root.name()) != "document")
      Fail(root, Code::NotADocument, {{"element", root.name()}});
    Attributes(root, {"version", "next-unique"});
    if (std::string(root.attribute("version").value()) != "1") Fail(root, Code::DocumentVersion);
    CollectKeys(root);
    const std::vector<pugi::xml_node> children = Elements(root);
    // Formats and pages first: the text refers to them by name.
    for (pugi::xml_node n : children) {
      const std::string name = n.name();
      if (name == "colour")
        ReadColour(n);
      else if (name == "page")
        ReadPage(n);
      else if (name == "marker-type")
        ReadMarkerType(n);
      else if (name == "element-def")
        ReadDefinition(n, d_.structure);
    }
    for (pugi::xml_node n : children) {
      if (std::string(n.name()) == "condition") ReadCondition(n);
    }
    for (pugi::xml_node n : children) {
      const std::string name = n.name();
      if (name == "flow")
        ReadFlow(n, 0);
      else if (name == "table")
        ReadTable(n);
      else if (name == "footnote")
        ReadFootnote(n);
      else if (name == "frame")
        ReadFrame(n);
      else if (name != "colour" && name != "page" && name != "marker-type" &&
               name != "element-def" && name != "condition")
        Unknown(n, root);
    }
    for (const auto& [key, id] : keys_) {
      const uint32_t kind = KindOf(id);
      if ((kind == KIND_TABLE || kind == KIND_FOOTNOTE || kind == KIND_ANCHORED_FRAME) &&
          !anchored_.count(id)) {
        throw Fault{kNowhere, Code::NeverAnchored, {{"key", key}}};
      }
      if (kind == KIND_ELEMENT && !d_.structure.elements.count(id)) {
        throw Fault{kNowhere, Code::ElementOutsideStructure, {{"key", key}}};
      }
    }
    if (d_.flowOrder.empty()) Fail(root, Code::DocumentNeedsFlow);
    if (d_.mainFlow == 0) {
      Fail(firstFlow_ ? firstFlow_ : root, Code::NoMainFlow);
    }
    ReadNextUnique(root);
  }

 private:
  // Files written before the number was stored lack it; the highest number present is then
  // the best that is known.
  void ReadNextUnique(pugi::xml_node root) {
    const int32_t highest = uniques_.empty() ? 0 : *uniques_.rbegin();
    d_.nextUnique = Number(root, "next-unique", highest + 1);
    if (d_.nextUnique <= highest) {
      Fail(root, Code::NextUniqueTooLow,
           {{"number", std::to_string(d_.nextUnique)}, {"highest", std::to_string(highest)}});
    }
  }

  void ReadColour(pugi::xml_node n) {
    Attributes(n, {"name", "reserved"});
    Colour c{NewId(n, KIND_COLOUR), Text(n, "name"), Number(n, "reserved", 0)};
    if (c.name.empty()) Fail(n, Code::ColourNeedsName);
    for (const auto& [id, other] : d_.colours) {
      if (other.name == c.name) Fail(n, Code::ColourTwice, {{"name", c.name}});
    }
    d_.colourOrder.push_back(c.id);
    d_.colours[c.id] = c;
  }
  ObjectId ColourNamed(pugi::xml_node n, const char* attribute) {
    const std::string name = n.attribute(attribute).value();
    if (name.empty()) return 0;
    for (const auto& [id, c] : d_.colours) {
      if (c.name == name) return id;
    }
    Fail(n, Code::NoColourNamed, {{"name", name}});
  }
  void ReadPage(pugi::xml_node n) {
    Attributes(n, {"name", "kind"});
    const int32_t kind = Choice(n, "kind",
                                {{"body", KIND_BODY_PAGE},
                                 {"master", KIND_MASTER_PAGE},
                                 {"reference", KIND_REFERENCE_PAGE},
                                 {"hidden", KIND_HIDDEN_PAGE}},
                                KIND_BODY_PAGE);
    Page p{NewId(n, static_cast<uint32_t>(kind)), Required(n, "name")};
    if (pageNames_.count(p.name)) Fail(n, Code::PageTwice, {{"name", p.name}});
    pageNames_[p.name] = p.id;
    d_.pageOrder.push_back(p.id);
    d_.pages[p.id] = p;
  }
  void ReadMarkerType(pugi::xml_node n) {
    Attributes(n, {"name"});
    MarkerType t{NewId(n, KIND_MARKER_TYPE), Text(n, "name")};
    if (t.name.empty()) Fail(n, Code::MarkerTypeNeedsName);
    if (MarkerTypeNamed(t.name)) Fail(n, Code::MarkerTypeTwice, {{"name", t.name}});
    d_.markerTypeOrder.push_back(t.id);
    d_.markerTypes[t.id] = t;
  }
  ObjectId MarkerTypeNamed(const std::string& name) const {
    for (const auto& [id, t] : d_.markerTypes) {
      if (t.name == name) return id;
    }
    return 0;
  }
  void ReadCondition(pugi::xml_node n) {
    Attributes(n, {"name", "shown", "colour-override", "colour", "style", "background",
                   "background-colour"});
    Condition c;
    c.id = NewId(n, KIND_CONDITION);
    c.name = Text(n, "name");
    if (c.name.empty() || c.name.find('|') != std::string::npos) {
      Fail(n, Code::ConditionNeedsName);
    }
    if (d_.FindCondition(c.name)) Fail(n, Code::ConditionTwice, {{"name", c.name}});
    c.shown = !n.attribute("shown") || Flag(n, "shown");
    c.colourOverride = Flag(n, "colour-override");
    c.overrideColour = ColourNamed(n, "colour");
    c.styleOverride = Choice(n, "style",
                             {{"none", STYLE_NONE},
                              {"single-underline", STYLE_SINGLE_UNDERLINE},
                              {"double-underline", STYLE_DOUBLE_UNDERLINE}},
                             STYLE_NONE);
    c.backgroundOn = Flag(n, "background");
    c.backgroundColour = ColourNamed(n, "background-colour");
    d_.conditionOrder.push_back(c.id);
    d_.conditions[c.id] = c;
  }

  void ReadFlow(pugi::xml_node n, ObjectId frameParent) {
    Attributes(n, {"name", "main", "page"});
    if (!frameParent && !firstFlow_) firstFlow_ = n;
    Flow f;
    f.id = NewId(n, KIND_FLOW);
    f.name = Text(n, "name");
    d_.flowOrder.push_back(f.id);
    d_.flows[f.id] = f;
    if (Flag(n, "main")) {
      if (frameParent) Fail(n, Code::FrameFlowIsMain);
      if (d_.mainFlow) Fail(n, Code::OneMainFlow);
      d_.mainFlow = f.id;
    }
    ObjectId frameOn = frameParent;
    if (n.attribute("page")) {
      if (frameParent) Fail(n, Code::FrameFlowOnPage);
      auto page = pageNames_.find(n.attribute("page").value());
      if (page == pageNames_.end())
        Fail(n, Code::NoPageNamed, {{"name", n.attribute("page").value()}});
      frameOn = page->second;
    }
    if (frameOn) {
      TextFrame frame{NewId(n, KIND_TEXT_FRAME), f.id, frameOn};
      d_.frames[frame.id] = frame;
      d_.flows[f.id].firstFrame = frame.id;
      if (AnchoredFrame* a = Document::Find(d_.anchoredFrames, frameParent)) {
        a->textFrames.push_back(frame.id);
      }
    }
    bool structureSeen = false;
    for (pugi::xml_node child : Elements(n)) {
      const std::string name = child.name();
      if (name == "structure") {
        if (structureSeen || !d_.flows[f.id].paragraphs.empty()) {
          Fail(child, Code::FlowOneStructure);
        }
        structureSeen = true;
        d_.flows[f.id].highestElement = ReadStructure(child, d_.structure);
      } else if (name == "p") {
        d_.flows[f.id].paragraphs.push_back(ReadParagraph(child, f.id));
      } else {
        Unknown(child, n);
      }
    }
    if (d_.flows[f.id].paragraphs.empty()) Fail(n, Code::FlowNeedsParagraph);
  }
  std::vector<ObjectId> ReadParagraphs(pugi::xml_node n, ObjectId owner) {
    std::vector<ObjectId> out;
    for (pugi::xml_node child : Elements(n)) {
      if (std::string(child.name()) != "p") Unknown(child, n);
      out.push_back(ReadParagraph(child, owner));
    }
    if (out.empty()) Fail(n, Code::NeedsParagraph, {{"element", n.name()}});
    return out;
  }

  PropsId ReadProps(pugi::xml_node n, const char* cond, const char* author, const char* time) {
    CharProps props;
    std::string names = n.attribute(cond).value();
    size_t start = 0;
    while (!names.empty() && start <= names.size()) {
      const size_t bar = names.find('|', start);
      const std::string name = names.substr(start, bar == std::string::npos ? bar : bar - start);
      const Condition* c = d_.FindCondition(name);
      if (!c) Fail(n, Code::NoConditionNamed, {{"name", name}});
      if (std::find(props.conditions.begin(), props.conditions.end(), c->id) ==
          props.conditions.end()) {
        props.conditions.push_back(c->id);
      }
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
    props.author = Text(n, author);
    props.time = Number(n, time, 0);
    return d_.charProps.Intern(props);
  }

  ObjectId ReadParagraph(pugi::xml_node n, ObjectId owner) {
    Attributes(n, {"unique", "format", "autonumber", "autonumber-not-in-pdf", "end-cond",
                   "end-author", "end-time"});
    Paragraph p;
    p.id = NewId(n, KIND_PARAGRAPH);
    p.unique = Number(n, "unique", 0);
    if (p.unique <= 0 || p.unique >= kUniqueLimit) {
      Fail(n, Code::UniqueNumberRange, {{"most", std::to_string(kUniqueLimit - 1)}});
    }
    if (!uniques_.insert(p.unique).second) {
      Fail(n, Code::UniqueNumberTwice, {{"number", std::to_string(p.unique)}});
    }
    p.format = Text(n, "format");
    p.autonumber = Text(n, "autonumber");
    p.autonumberNotInPdf = Flag(n, "autonumber-not-in-pdf");
    p.owner = owner;
    std::vector<ObjectId> openXrefs, openVariables;
    for (pugi::xml_node child : n.children()) {
      if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
        AddCharacters(p, child, child.value(), kPlainProps);
        continue;
      }
      if (child.type() != pugi::node_element) continue;
      const std::string name = child.name();
      Paragraph::Item item;
      PropsId itemProps = kPlainProps;
      const std::initializer_list<const char*> props = {"cond", "author", "time"};
      auto attributes = [&](std::initializer_list<const char*> own) {
        std::vector<const char*> all(props);
        all.insert(all.end(), own.begin(), own.end());
        for (pugi::xml_attribute a : child.attributes()) {
          if (std::find_if(all.begin(), all.end(), [&](const char* x) {
                return std::string(x) == a.name();
              }) == all.end()) {
            Fail(child, Code::UnknownAttribute, {{"attribute", a.name()}, {"element", name}});
          }
        }
        itemProps = ReadProps(child, "cond", "author", "time");
      };
      if (name == "c") {
        attributes({});
        std::string text;
        for (pugi::xml_node t : child.children()) {
          if (t.type() != pugi::node_pcdata && t.type() != pugi::node_cdata) {
            Fail(t, Code::CharacterHoldsTextOnly);
          }
          text += t.value();
        }
        if (text.empty()) Fail(child, Code::CharacterNeedsText);
        AddCharacters(p, child, text, itemProps);
        continue;
      }
      if (!child.children().empty() && child.first_child())
        Fail(child, Code::ElementIsEmpty, {{"element", name}});
      if (name == "marker") {
        attributes({"type", "text"});
        Marker m;
        m.id = NewId(child, KIND_MARKER);
        const std::string type = child.attribute("type").value();
        m.type = MarkerTypeNamed(type);
        if (!type.empty() && m.type == 0) Fail(child, Code::NoMarkerTypeNamed, {{"name", type}});
        m.text = Text(child, "text");
        m.paragraph = p.id;
        d_.markers[m.id] = m;
        item.kind = TI_MARKER_ANCHOR;
        item.id = m.id;
      } else if (name == "table-anchor" || name == "footnote-anchor" || name == "frame-anchor") {
        attributes({"ref"});
        const uint32_t kind = name == "table-anchor"      ? KIND_TABLE
                              : name == "footnote-anchor" ? KIND_FOOTNOTE
                                                          : KIND_ANCHORED_FRAME;
        item.kind = kind == KIND_TABLE      ? TI_TABLE_ANCHOR
                    : kind == KIND_FOOTNOTE ? TI_FOOTNOTE_ANCHOR
                                            : TI_FRAME_ANCHOR;
        item.id = Key(child, "ref", kind);
        if (!anchored_.insert(item.id).second) Fail(child, Code::AnchoredTwice);
        anchorParagraph_[item.id] = p.id;
      } else if (name == "element-begin" || name == "element-end") {
        attributes({"ref"});
        item.kind = name == "element-begin" ? TI_ELEMENT_BEGIN : TI_ELEMENT_END;
        item.id = Key(child, "ref", KIND_ELEMENT);
        if (!elementMarks_.insert({item.id, item.kind}).second) {
          Fail(child, Code::ElementHasOne, {{"element", name}});
        }
      } else if (name == "xref-begin" || name == "variable-begin") {
        attributes({});
        const bool xref = name == "xref-begin";
        item.kind = xref ? TI_XREF_BEGIN : TI_VAR_BEGIN;
        item.id = NewId(child, xref ? KIND_XREF : KIND_VARIABLE);
        d_.xrefs[item.id] = p.id;
        (xref ? openXrefs : openVariables).push_back(item.id);
      } else if (name == "xref-end" || name == "variable-end") {
        attributes({});
        const bool xref = name == "xref-end";
        std::vector<ObjectId>& open = xref ? openXrefs : openVariables;
        if (open.empty()) Fail(child, Code::EndWithoutBegin, {{"element", name}});
        item.kind = xref ? TI_XREF_END : TI_VAR_END;
        item.id = open.back();
        open.pop_back();
      } else if (name == "hidden-begin" || name == "hidden-end") {
        attributes({});
        item.kind = name == "hidden-begin" ? TI_HIDDEN_BEGIN : TI_HIDDEN_END;
      } else if (name == "special") {
        attributes({"code"});
        item.kind = TI_SPECIAL_CHAR;
        const int32_t code = Number(child, "code", 0);
        if (code != 1 && code != 2) Fail(child, Code::SpecialCharacterCode);
        item.id = static_cast<ObjectId>(code);
      } else {
        Unknown(child, n);
      }
      p.InsertItem(p.length() - 1, item, itemProps);
    }
    if (!openXrefs.empty() || !openVariables.empty()) {
      Fail(n, Code::ReferenceNotEnded);
    }
    const PropsId endProps = ReadProps(n, "end-cond", "end-author", "end-time");
    p.ChangeProps(p.length() - 1, p.length(), [&](PropsId) { return endProps; });
    p.ShrinkToFit();
    const ObjectId id = p.id;
    d_.paragraphs.emplace(id, std::move(p));
    return id;
  }
  void AddCharacters(Paragraph& p, pugi::xml_node at, std::string_view text, PropsId props) {
    p.InsertCharacters(p.length() - 1, CheckedCharacters(at, text, TextKind::Text), props);
  }

  void ReadTable(pugi::xml_node n) {
    Attributes(n, {"key", "title"});
    Table t;
    t.id = OwnKey(n, KIND_TABLE);
    t.titleOn = Flag(n, "title");
    d_.tables[t.id] = t;
    d_.tableOrder.push_back(t.id);
    int32_t lastKind = ROW_HEADING;
    bool titleSeen = false;
    for (pugi::xml_node child : Elements(n)) {
      const std::string name = child.name();
      if (name == "title") {
        Attributes(child, {});
        if (titleSeen || !d_.tables[t.id].rows.empty()) Fail(child, Code::TableOneTitle);
        titleSeen = true;
        d_.tables[t.id].titleParagraphs = ReadParagraphs(child, t.id);
      } else if (name == "row") {
        Attributes(child, {"kind"});
        TableRow row;
        row.id = NewId(child, KIND_TABLE_ROW);
        row.table = t.id;
        row.kind = Choice(child, "kind",
                          {{"heading", ROW_HEADING}, {"body", ROW_BODY}, {"footing", ROW_FOOTING}},
                          ROW_BODY);
        if (row.kind < lastKind) Fail(child, Code::RowOrder);
        lastKind = row.kind;
        d_.rows[row.id] = row;
        for (pugi::xml_node c : Elements(child)) {
          if (std::string(c.name()) != "cell") Unknown(c, child);
          Attributes(c, {"key", "straddled"});
          TableCell cell;
          cell.id = c.attribute("key") ? OwnKey(c, KIND_TABLE_CELL) : NewId(c, KIND_TABLE_CELL);
          cell.row = row.id;
          cell.straddled = Flag(c, "straddled");
          d_.cells[cell.id] = cell;
          d_.cells[cell.id].paragraphs = ReadParagraphs(c, cell.id);
          d_.rows[row.id].cells.push_back(cell.id);
        }
        if (d_.rows[row.id].cells.empty()) Fail(child, Code::RowNeedsCell);
        d_.tables[t.id].rows.push_back(row.id);
      } else {
        Unknown(child, n);
      }
    }
    d_.tables[t.id].paragraph = anchorParagraph_[t.id];
  }
  void ReadFootnote(pugi::xml_node n) {
    Attributes(n, {"key", "number"});
    Footnote f;
    f.id = OwnKey(n, KIND_FOOTNOTE);
    f.number = Text(n, "number");
    d_.footnotes[f.id] = f;
    d_.footnoteOrder.push_back(f.id);
    d_.footnotes[f.id].paragraphs = ReadParagraphs(n, f.id);
  }
  void ReadFrame(pugi::xml_node n) {
    Attributes(n, {"key"});
    AnchoredFrame a;
    a.id = OwnKey(n, KIND_ANCHORED_FRAME);
    d_.anchoredFrames[a.id] = a;
    d_.anchoredFrameOrder.push_back(a.id);
    for (pugi::xml_node child : Elements(n)) {
      if (std::string(child.name()) != "flow") Unknown(child, n);
      ReadFlow(child, a.id);
    }
  }

 public:
  // Anchor paragraphs are known only once the text was read; tables, footnotes and frames
  // may come before the flows that anchor them.
  void FixAnchors() {
    for (auto& [id, t] : d_.tables) t.paragraph = anchorParagraph_[id];
    for (auto& [id, f] : d_.footnotes) f.paragraph = anchorParagraph_[id];
    for (auto& [id, a] : d_.anchoredFrames) a.paragraph = anchorParagraph_[id];
  }

 private:
  Document& d_;
  std::map<std::string, ObjectId> pageNames_;
  std::set<ObjectId> anchored_;
  std::map<ObjectId, ObjectId> anchorParagraph_;
  std::set<std::pair<ObjectId, uint32_t>> elementMarks_;
  std::set<int32_t> uniques_;
  pugi::xml_node firstFlow_;  // the first flow outside anchored frames
};

class BookReader : public Reader {
 public:
  BookReader(const IdAllocator& newId, Book& b) : Reader(newId), b_(b) {}

  void Read(pugi::xml_node root) {
    if (std::string(root.name()) != "book") Fail(root, Code::NotABook, {{"element", root.name()}});
    Attributes(root, {"version"});
    if (std::string(root.attribute("version").value()) != "1") Fail(root, Code::BookVersion);
    CollectKeys(root);
    const std::vector<pugi::xml_node> children = Elements(root);
    for (pugi::xml_node n : children) {
      if (std::string(n.name()) == "element-def") ReadDefinition(n, b_.structure);
    }
    bool structureSeen = false;
    for (pugi::xml_node n : children) {
      const std::string name = n.name();
      if (name == "component") {
        b_.components.push_back(ReadComponent(n, 0));
      } else if (name == "structure") {
        if (structureSeen) Fail(n, Code::BookOneStructure);
        structureSeen = true;
        b_.highestElement = ReadStructure(n, b_.structure);
      } else if (name != "element-def") {
        Unknown(n, root);
      }
    }
    for (const auto& [key, id] : keys_) {
      if (KindOf(id) != KIND_ELEMENT)
        throw Fault{kNowhere, Code::BookHoldsElementsOnly, {{"key", key}}};
      if (!b_.structure.elements.count(id))
        throw Fault{kNowhere, Code::ElementOutsideStructure, {{"key", key}}};
    }
  }

 private:
  ObjectId ReadComponent(pugi::xml_node n, ObjectId parent) {
    Attributes(n,
               {"file", "name", "second-name", "type", "exclude", "exclude-nested", "container"});
    BookComponent c;
    c.id = NewId(n, KIND_BOOK_COMPONENT);
    c.fileName = Text(n, "file");
    c.secondName = Text(n, "second-name");
    c.container = Flag(n, "container");
    c.exclude = Flag(n, "exclude");
    c.excludeNested = Flag(n, "exclude-nested");
    c.type = Choice(n, "type",
                    {{"document", COMP_TYPE_DOCUMENT},
                     {"generated-list", COMP_TYPE_GENERATED_LIST},
                     {"book", COMP_TYPE_BOOK},
                     {"folder", COMP_TYPE_FOLDER},
                     {"group", COMP_TYPE_GROUP},
                     {"generated-index", COMP_TYPE_GENERATED_INDEX},
                     {"structure-map", COMP_TYPE_STRUCTURE_MAP},
                     {"nested-map", COMP_TYPE_NESTED_MAP}},
                    COMP_TYPE_DOCUMENT);
    if (n.attribute("name")) {
      c.name = Text(n, "name");
    } else {
      const size_t slash = c.fileName.find_last_of('/');
      c.name = slash == std::string::npos ? c.fileName : c.fileName.substr(slash + 1);
    }
    if (c.fileName.empty() && !c.container) Fail(n, Code::ComponentNeedsFile);
    c.parent = parent;
    b_.componentsById[c.id] = c;
    for (pugi::xml_node child : Elements(n)) {
      if (std::string(child.name()) != "component") Unknown(child, n);
      if (!c.container) Fail(child, Code::OnlyContainerHoldsComponents);
      const ObjectId inner = ReadComponent(child, c.id);
      b_.componentsById[c.id].children.push_back(inner);
    }
    return c.id;
  }

  Book& b_;
};

template <typename Target, typename ReaderType>
int32_t ReadInto(std::string text, const IdAllocator& newId, Target& out, FormatFault& fault) {
  fault = FormatFault{};
  const size_t null = FindNullReference(text);
  if (null != std::string::npos) {
    fault = {Code::TextControlCharacter, LineIndex(text).LineAt(null), {{"code", ControlCode(0)}}};
    return ERR_FILE_FORMAT;
  }
  const LineIndex lines(text);
  // Parsed in place: a copy for the parser would cost as much again as the file.
  pugi::xml_document xml;
  pugi::xml_parse_result parsed =
      xml.load_buffer_inplace(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  if (!parsed) {
    fault = {XmlFault(parsed.status), lines.LineAt(static_cast<size_t>(parsed.offset)), {}};
    return ERR_FILE_FORMAT;
  }
  Target fresh;
  fresh.id = out.id;
  fresh.path = out.path;
  try {
    ReaderType reader(newId, fresh);
    reader.Read(xml.document_element());
    if constexpr (std::is_same_v<ReaderType, DocumentReader>) reader.FixAnchors();
  } catch (Fault& caught) {
    fault.code = caught.code;
    fault.line = caught.offset != kNowhere ? lines.LineAt(caught.offset) + caught.linesBelow : 0;
    fault.values = std::move(caught.values);
    return ERR_FILE_FORMAT;
  }
  out = std::move(fresh);
  return ERR_NONE;
}

}  // namespace

int32_t ReadDocument(std::string text, const IdAllocator& newId, Document& out,
                     FormatFault& fault) {
  if (!out.id) return ERR_BAD_DOCUMENT;
  return ReadInto<Document, DocumentReader>(std::move(text), newId, out, fault);
}

int32_t ReadBook(std::string text, const IdAllocator& newId, Book& out, FormatFault& fault) {
  if (!out.id) return ERR_BAD_DOCUMENT;
  return ReadInto<Book, BookReader>(std::move(text), newId, out, fault);
}

}  // namespace tlhost
