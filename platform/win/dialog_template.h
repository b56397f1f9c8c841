// Reads dialog templates (the standard and the extended layout) and the companion records that
// describe a host-run dialog's items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace win {

constexpr uint16_t kClassButton = 0x80;
constexpr uint16_t kClassEdit = 0x81;
constexpr uint16_t kClassStatic = 0x82;
constexpr uint16_t kClassListBox = 0x83;

struct DialogControl {
  uint32_t id = 0;
  uint16_t classAtom = 0;  // 0 when the class is named
  std::string className;   // UTF-8
  std::string caption;     // UTF-8
  uint32_t style = 0;
  int16_t x = 0, y = 0, width = 0, height = 0;
};

struct DialogTemplate {
  bool extended = false;
  uint32_t style = 0;
  int16_t width = 0, height = 0;
  std::string title;
  uint16_t fontPoints = 0;
  std::string fontFace;
  std::vector<DialogControl> controls;  // in template order
};

struct CompanionItem {
  uint16_t controlId = 0;
  uint16_t kind = 0;
  int16_t word1 = 0, word2 = 0;
  std::string helpKey;
};

struct CompanionRecord {
  int16_t header[11] = {};
  std::string helpTag;
  std::vector<CompanionItem> items;  // in item-number order
};

// False with a reason when the bytes are truncated or inconsistent.
bool ParseDialogTemplate(const uint8_t* bytes, size_t size, DialogTemplate& out,
                         std::string& error);
bool ParseCompanionRecord(const uint8_t* bytes, size_t size, CompanionRecord& out,
                          std::string& error);

// Kind codes of companion record items.
enum ItemKind : uint16_t {
  ITEM_GROUP_BOX = 1,
  ITEM_PUSH_BUTTON = 2,
  ITEM_LABEL = 4,
  ITEM_CHECK_BOX = 5,
  ITEM_LIST = 8,
  ITEM_TEXT_BOX = 9,
  ITEM_RADIO_BUTTON = 10,
  ITEM_DATE_PICKER = 16,
};

}  // namespace win
