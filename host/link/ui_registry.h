// The host's menus, menu items and the commands clients define, as named objects with
// properties.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/engine/value.h"

namespace tlhost {

struct CommandRecord {
  ObjectId id = 0;
  int32_t number = 0;
  std::string tag;
  std::string label;
  std::string shortcut;
  int32_t attribute1 = 0;
  int32_t attribute2 = 0;
  int client = 0;  // which loaded client defined it
};

struct MenuEntry {
  ObjectId id = 0;  // a menu item or a command
  std::string name;
};

class UiRegistry {
 public:
  UiRegistry();

  // Named objects: menus by name (doc 0), menu items by name within a menu (doc = menu).
  int32_t GetNamedObject(ObjectId scope, int32_t type, const std::string& name,
                         ObjectId& out) const;
  int32_t DefineCommand(int client, int32_t number, const std::string& tag,
                        const std::string& label, const std::string& shortcut, ObjectId& out);
  int32_t AddCommandToMenu(ObjectId menu, ObjectId command);
  int32_t GetProp(ObjectId scope, ObjectId obj, int32_t prop, Value& out) const;
  int32_t SetProp(ObjectId scope, ObjectId obj, int32_t prop, const Value& value);

  static bool Owns(ObjectId obj);
  const CommandRecord* FindCommand(ObjectId id) const;
  const CommandRecord* FindCommandByTag(const std::string& tag) const;
  // Menu contents in order, as names: items by name, commands by tag.
  std::vector<std::string> MenuContents(const std::string& menuName) const;

 private:
  struct Menu {
    ObjectId id;
    std::string name;
    std::vector<MenuEntry> entries;
  };
  Menu* FindMenu(ObjectId id);
  const Menu* FindMenu(ObjectId id) const;
  ObjectId NewId(uint32_t kind) { return tolvane::MakeId(kind, ++serial_); }

  uint32_t serial_ = 0;
  std::vector<Menu> menus_;
  std::map<ObjectId, std::string> itemNames_;
  std::vector<CommandRecord> commands_;
};

}  // namespace tlhost
