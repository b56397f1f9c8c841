// rescomp: compiles a resource script into a resource blob that a library carries in its
// ".tlrsrc" section.
//
// Script statements (one per line; "//" starts a comment; strings are UTF-8 in double quotes
// with the escapes \t \n \" \\):
//   VERSIONINFO                       then lines  Key "value"  up to END
//   STRINGTABLE <language>            then lines  <id> "text"  up to END
//   DIALOG <name> <language>          a dialog template; DIALOGEX for the extended layout; lines
//                                     TITLE "t", SIZE w h, FONT points "face", STYLE n, then
//                                     CONTROL id class "caption" x y w h style  (class BUTTON,
//                                     EDIT, STATIC, LISTBOX or a quoted class name) up to END
//   RESOURCE <type> <name> <language> then lines of byte values up to END, where a line is
//                                     u8/u16/i16/u32 followed by numbers, or "ascii" (zero-ended),
//                                     or wide "text" (UTF-16, zero-ended), or align <n>
// A <type> or <name> is a number or a quoted name.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win/resource_blob.h"
#include "platform/win/resources.h"

namespace {

using win::ResourceEntry;

struct ScriptError {
  int line;
  std::string message;
};

class Tokens {
 public:
  Tokens(const std::string& text, int line) : text_(text), line_(line) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ >= text_.size() || text_.compare(at_, 2, "//") == 0;
  }

  std::string Word() {
    SkipBlanks();
    const size_t start = at_;
    while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
    if (start == at_) throw ScriptError{line_, "a word is missing"};
    return text_.substr(start, at_ - start);
  }

  bool NextIsString() {
    SkipBlanks();
    return at_ < text_.size() && text_[at_] == '"';
  }

  std::string String() {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != '"')
      throw ScriptError{line_, "a quoted string is missing"};
    std::string out;
    for (++at_; at_ < text_.size(); ++at_) {
      char c = text_[at_];
      if (c == '"') {
        ++at_;
        return out;
      }
      if (c == '\\') {
        if (++at_ >= text_.size()) break;
        switch (text_[at_]) {
          case 't':
            out += '\t';
            break;
          case 'n':
            out += '\n';
            break;
          case 'r':
            out += '\r';
            break;
          case '"':
            out += '"';
            break;
          case '\\':
            out += '\\';
            break;
          default:
            throw ScriptError{line_, std::string("unknown escape \\") + text_[at_]};
        }
      } else {
        out += c;
      }
    }
    throw ScriptError{line_, "a string is not closed"};
  }

  long Number() {
    const std::string word = Word();
    try {
      size_t used = 0;
      const long value = std::stol(word, &used, 0);
      if (used != word.size()) throw std::invalid_argument(word);
      return value;
    } catch (const std::exception&) {
      throw ScriptError{line_, "not a number: " + word};
    }
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  const std::string& text_;
  int line_;
  size_t at_ = 0;
};

std::u16string Utf16(const std::string& utf8, int line) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    uint32_t code;
    size_t length;
    if (c < 0x80) {
      code = c;
      length = 1;
    } else if ((c & 0xE0) == 0xC0) {
      code = c & 0x1F;
      length = 2;
    } else if ((c & 0xF0) == 0xE0) {
      code = c & 0x0F;
      length = 3;
    } else if ((c & 0xF8) == 0xF0) {
      code = c & 0x07;
      length = 4;
    } else
      throw ScriptError{line, "the text is not UTF-8"};
    if (i + length > utf8.size()) throw ScriptError{line, "the text is not UTF-8"};
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(utf8[i + k]);
      if ((next & 0xC0) != 0x80) throw ScriptError{line, "the text is not UTF-8"};
      code = (code << 6) | (next & 0x3F);
    }
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
    i += length;
  }
  return out;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutWide(std::vector<uint8_t>& out, const std::u16string& text, bool zero) {
  for (char16_t c : text) Put16(out, c);
  if (zero) Put16(out, 0);
}

void SetKey(Tokens& tokens, bool& isName, uint16_t& id, std::string& name, int line) {
  if (tokens.NextIsString()) {
    isName = true;
    name = tokens.String();
    return;
  }
  const long number = tokens.Number();
  if (number < 0 || number > 0xFFFF) throw ScriptError{line, "identifier out of range"};
  isName = false;
  id = static_cast<uint16_t>(number);
}

class Compiler {
 public:
  void Compile(std::istream& in) {
    std::string line;
    while (std::getline(in, line)) {
      ++lineNumber_;
      Tokens tokens(line, lineNumber_);
      if (tokens.AtEnd()) continue;
      const std::string keyword = tokens.Word();
      if (keyword == "VERSIONINFO") {
        Version(in);
      } else if (keyword == "STRINGTABLE") {
        Strings(in, Language(tokens));
      } else if (keyword == "DIALOG" || keyword == "DIALOGEX") {
        Dialog(in, tokens, keyword == "DIALOGEX");
      } else if (keyword == "RESOURCE") {
        Raw(in, tokens);
      } else {
        throw ScriptError{lineNumber_, "unknown statement " + keyword};
      }
    }
    FlushStrings();
  }

  const std::vector<ResourceEntry>& entries() const { return entries_; }

 private:
  uint16_t Language(Tokens& tokens) {
    const long language = tokens.Number();
    if (language < 0 || language > 0xFFFF) throw ScriptError{lineNumber_, "bad language"};
    return static_cast<uint16_t>(language);
  }

  // Reads the lines of a block up to END, calling `each` with their tokens.
  template <typename Each>
  void Block(std::istream& in, Each each) {
    std::string line;
    const int start = lineNumber_;
    while (std::getline(in, line)) {
      ++lineNumber_;
      Tokens tokens(line, lineNumber_);
      if (tokens.AtEnd()) continue;
      Tokens peek(line, lineNumber_);
      if (peek.Word() == "END") return;
      each(tokens);
    }
    throw ScriptError{start, "the block has no END"};
  }

  void Version(std::istream& in) {
    std::vector<std::pair<std::u16string, std::u16string>> values;
    Block(in, [&](Tokens& t) {
      const std::string key = t.Word();
      const std::string value = t.String();
      values.emplace_back(Utf16("\\StringFileInfo\\040904b0\\" + key, lineNumber_),
                          Utf16(value, lineNumber_));
    });
    std::vector<uint8_t> data(win::kVersionMagic, win::kVersionMagic + 4);
    data.resize(12, 0);
    for (const auto& [key, value] : values) {
      Put16(data, static_cast<uint32_t>(key.size()));
      Put16(data, static_cast<uint32_t>(value.size() + 1));
      PutWide(data, key, false);
      PutWide(data, value, true);
    }
    const auto total = static_cast<uint32_t>(data.size());
    const auto count = static_cast<uint32_t>(values.size());
    for (int i = 0; i < 4; ++i) {
      data[4 + i] = static_cast<uint8_t>(total >> (8 * i));
      data[8 + i] = static_cast<uint8_t>(count >> (8 * i));
    }
    ResourceEntry e;
    e.typeId = win::RT_VERSION;
    e.nameId = 1;
    e.language = win::LANG_EN_US;
    e.data = std::move(data);
    entries_.push_back(std::move(e));
  }

  void Strings(std::istream& in, uint16_t language) {
    Block(in, [&](Tokens& t) {
      const long id = t.Number();
      if (id < 0 || id > 0xFFFF) throw ScriptError{lineNumber_, "string id out of range"};
      const std::u16string text = Utf16(t.String(), lineNumber_);
      if (text.empty() || text.size() > 0xFFFF) throw ScriptError{lineNumber_, "bad string length"};
      auto& slot = strings_[{language, static_cast<uint16_t>(id)}];
      if (!slot.empty()) throw ScriptError{lineNumber_, "string " + std::to_string(id) + " twice"};
      slot = text;
    });
  }

  // Windows keeps strings in blocks of sixteen, named (id / 16) + 1.
  void FlushStrings() {
    std::map<std::pair<uint16_t, uint16_t>, std::vector<std::u16string>> blocks;
    for (const auto& [key, text] : strings_) {
      auto& block = blocks[{key.first, static_cast<uint16_t>(key.second / 16 + 1)}];
      block.resize(16);
      block[key.second % 16] = text;
    }
    for (const auto& [key, texts] : blocks) {
      ResourceEntry e;
      e.typeId = win::RT_STRING;
      e.nameId = key.second;
      e.language = key.first;
      for (const std::u16string& text : texts) {
        Put16(e.data, static_cast<uint32_t>(text.size()));
        PutWide(e.data, text, false);
      }
      entries_.push_back(std::move(e));
    }
  }

  struct Control {
    uint32_t id, style;
    std::string className;
    std::string caption;
    long x, y, w, h;
  };

  static void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  static void Align4(std::vector<uint8_t>& out) {
    while (out.size() % 4) out.push_back(0);
  }
  void PutClass(std::vector<uint8_t>& out, const std::string& name) {
    static const std::map<std::string, uint16_t> atoms = {
        {"BUTTON", 0x80}, {"EDIT", 0x81}, {"STATIC", 0x82}, {"LISTBOX", 0x83}};
    auto atom = atoms.find(name);
    if (atom != atoms.end()) {
      Put16(out, 0xFFFF);
      Put16(out, atom->second);
    } else {
      PutWide(out, Utf16(name, lineNumber_), true);
    }
  }

  // The standard dialog-template layouts (DLGTEMPLATE and DLGTEMPLATEEX with their items).
  void Dialog(std::istream& in, Tokens& header, bool extended) {
    constexpr uint32_t kSetFont = 0x40;
    ResourceEntry e;
    e.typeId = win::RT_DIALOG;
    SetKey(header, e.nameIsName, e.nameId, e.name, lineNumber_);
    e.language = Language(header);
    std::string title, face;
    long width = 0, height = 0, points = 0;
    uint32_t style = 0;
    std::vector<Control> controls;
    Block(in, [&](Tokens& t) {
      const std::string word = t.Word();
      if (word == "TITLE") {
        title = t.String();
      } else if (word == "SIZE") {
        width = t.Number();
        height = t.Number();
      } else if (word == "FONT") {
        points = t.Number();
        face = t.String();
      } else if (word == "STYLE") {
        style = static_cast<uint32_t>(t.Number());
      } else if (word == "CONTROL") {
        Control c{};
        c.id = static_cast<uint32_t>(t.Number());
        c.className = t.NextIsString() ? t.String() : t.Word();
        c.caption = t.String();
        c.x = t.Number();
        c.y = t.Number();
        c.w = t.Number();
        c.h = t.Number();
        c.style = static_cast<uint32_t>(t.Number());
        controls.push_back(c);
      } else {
        throw ScriptError{lineNumber_, "unknown dialog line " + word};
      }
    });
    if (!face.empty()) style |= kSetFont;
    std::vector<uint8_t>& d = e.data;
    if (extended) {
      Put16(d, 1);
      Put16(d, 0xFFFF);
      Put32(d, 0);  // help id
      Put32(d, 0);  // extended style
      Put32(d, style);
    } else {
      Put32(d, style);
      Put32(d, 0);
    }
    Put16(d, static_cast<uint32_t>(controls.size()));
    for (long v : {0L, 0L, width, height}) Put16(d, static_cast<uint32_t>(v));
    Put16(d, 0);  // no menu
    Put16(d, 0);  // the standard dialog class
    PutWide(d, Utf16(title, lineNumber_), true);
    if (style & kSetFont) {
      Put16(d, static_cast<uint32_t>(points));
      if (extended) {
        Put16(d, 400);   // weight
        d.push_back(0);  // italic
        d.push_back(1);  // character set: default
      }
      PutWide(d, Utf16(face, lineNumber_), true);
    }
    for (const Control& c : controls) {
      Align4(d);
      if (extended) {
        Put32(d, 0);  // help id
        Put32(d, 0);
        Put32(d, c.style);
      } else {
        Put32(d, c.style);
        Put32(d, 0);
      }
      for (long v : {c.x, c.y, c.w, c.h}) Put16(d, static_cast<uint32_t>(v));
      if (extended) {
        Put32(d, c.id);
      } else {
        Put16(d, c.id);
      }
      PutClass(d, c.className);
      PutWide(d, Utf16(c.caption, lineNumber_), true);
      Put16(d, 0);  // no creation data
    }
    entries_.push_back(std::move(e));
  }

  void Raw(std::istream& in, Tokens& header) {
    ResourceEntry e;
    SetKey(header, e.typeIsName, e.typeId, e.typeName, lineNumber_);
    SetKey(header, e.nameIsName, e.nameId, e.name, lineNumber_);
    e.language = Language(header);
    Block(in, [&](Tokens& t) {
      const std::string kind = t.Word();
      if (kind == "ascii") {
        const std::string text = t.String();
        e.data.insert(e.data.end(), text.begin(), text.end());
        e.data.push_back(0);
      } else if (kind == "wide") {
        PutWide(e.data, Utf16(t.String(), lineNumber_), true);
      } else if (kind == "align") {
        const long n = t.Number();
        if (n <= 0 || n > 16) throw ScriptError{lineNumber_, "bad alignment"};
        while (e.data.size() % static_cast<size_t>(n)) e.data.push_back(0);
      } else if (kind == "u8" || kind == "u16" || kind == "i16" || kind == "u32") {
        const int bytes = kind == "u8" ? 1 : kind == "u32" ? 4 : 2;
        while (!t.AtEnd()) {
          const long v = t.Number();
          for (int i = 0; i < bytes; ++i) e.data.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
      } else {
        throw ScriptError{lineNumber_, "unknown data kind " + kind};
      }
    });
    entries_.push_back(std::move(e));
  }

  int lineNumber_ = 0;
  std::map<std::pair<uint16_t, uint16_t>, std::u16string> strings_;
  std::vector<ResourceEntry> entries_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::string(argv[2]) != "-o") {
    std::cerr << "usage: rescomp SCRIPT -o BLOB\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "rescomp: cannot open " << argv[1] << "\n";
    return 1;
  }
  Compiler compiler;
  try {
    compiler.Compile(in);
  } catch (const ScriptError& e) {
    std::cerr << argv[1] << ":" << e.line << ": " << e.message << "\n";
    return 1;
  }
  const std::vector<uint8_t> blob = win::BuildResourceBlob(compiler.entries());
  std::ofstream out(argv[3], std::ios::binary);
  out.write(reinterpret_cast<const char*>(blob.data()), static_cast<std::streamsize>(blob.size()));
  if (!out) {
    std::cerr << "rescomp: cannot write " << argv[3] << "\n";
    return 1;
  }
  return 0;
}
