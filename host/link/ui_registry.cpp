#include "host/link/ui_registry.h"

#include <algorithm>

namespace tlhost {
namespace {

using namespace tolvane;

// The menus a new session has, with the items that clients place their commands by.
const std::vector<std::pair<std::string, std::vector<std::string>>>& StandardMenus() {
  static const std::vector<std::pair<std::string, std::vector<std::string>>> menus = {
      {"ImportMenu", {"ImportFile", "ImportFormats", "Separator1", "ImportElementDefinitions"}},
      {"BookImportMenu", {"ImportFormats", "Separator1", "ImportElementDefinitions"}},
  };
  return menus;
}

}  // namespace

UiRegistry::UiRegistry() {
  for (const auto& [name, items] : StandardMenus()) {
    Menu menu{NewId(KIND_MENU), name, {}};
    for (const std::string& item : items) {
      const ObjectId id = NewId(KIND_MENU_ITEM);
      itemNames_[id] = item;
      menu.entries.push_back({id, item});
    }
    menus_.push_back(std::move(menu));
  }
}

bool UiRegistry::Owns(ObjectId obj) {
  const uint32_t kind = KindOf(obj);
  return kind == KIND_MENU || kind == KIND_MENU_ITEM || kind == KIND_COMMAND;
}

UiRegistry::Menu* UiRegistry::FindMenu(ObjectId id) {
  for (Menu& m : menus_) {
    if (m.id == id) return &m;
  }
  return nullptr;
}

const UiRegistry::Menu* UiRegistry::FindMenu(ObjectId id) const {
  return const_cast<UiRegistry*>(this)->FindMenu(id);
}

const CommandRecord* UiRegistry::FindCommand(ObjectId id) const {
  for (const CommandRecord& c : commands_) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

const CommandRecord* UiRegistry::FindCommandByTag(const std::string& tag) const {
  for (const CommandRecord& c : commands_) {
    if (c.tag == tag) return &c;
  }
  return nullptr;
}

int32_t UiRegistry::GetNamedObject(ObjectId scope, int32_t type, const std::string& name,
                                   ObjectId& out) const {
  out = 0;
  if (type == OBJ_MENU) {
    for (const Menu& m : menus_) {
      if (m.name == name) out = m.id;
    }
  } else if (type == OBJ_MENU_ITEM) {
    const Menu* menu = FindMenu(scope);
    if (!menu) return ERR_BAD_OBJECT;
    for (const MenuEntry& e : menu->entries) {
      if (KindOf(e.id) == KIND_MENU_ITEM && e.name == name) out = e.id;
    }
  } else if (type == OBJ_COMMAND) {
    if (const CommandRecord* c = FindCommandByTag(name)) out = c->id;
  } else {
    return ERR_BAD_TYPE;
  }
  return out ? ERR_NONE : ERR_NOT_FOUND;
}

int32_t UiRegistry::DefineCommand(int client, int32_t number, const std::string& tag,
                                  const std::string& label, const std::string& shortcut,
                                  ObjectId& out) {
  if (tag.empty()) return ERR_BAD_NAME;
  if (FindCommandByTag(tag)) return ERR_NAME_IN_USE;
  CommandRecord command;
  command.id = NewId(KIND_COMMAND);
  command.number = number;
  command.tag = tag;
  command.label = label;
  command.shortcut = shortcut;
  command.client = client;
  commands_.push_back(command);
  out = command.id;
  return ERR_NONE;
}

int32_t UiRegistry::AddCommandToMenu(ObjectId menuId, ObjectId command) {
  Menu* menu = FindMenu(menuId);
  const CommandRecord* record = FindCommand(command);
  if (!menu || !record) return ERR_BAD_OBJECT;
  for (const MenuEntry& e : menu->entries) {
    if (e.id == command) return ERR_NONE;
  }
  menu->entries.push_back({command, record->tag});
  return ERR_NONE;
}

int32_t UiRegistry::GetProp(ObjectId scope, ObjectId obj, int32_t prop, Value& out) const {
  if (const CommandRecord* c = FindCommand(obj)) {
    switch (prop) {
      case P_CMD_ATTRIBUTE_1:
        out = Value::Int(c->attribute1);
        return ERR_NONE;
      case P_CMD_ATTRIBUTE_2:
        out = Value::Int(c->attribute2);
        return ERR_NONE;
      case P_LABEL:
        out = Value::String(c->label);
        return ERR_NONE;
      case P_NAME:
        out = Value::String(c->tag);
        return ERR_NONE;
      case P_CMD_SHORTCUT:
        out = Value::String(c->shortcut);
        return ERR_NONE;
      case P_CMD_NUMBER:
        out = Value::Int(c->number);
        return ERR_NONE;
      default:
        return ERR_BAD_PROPERTY;
    }
  }
  if (const Menu* m = FindMenu(obj)) {
    if (prop == P_NAME) {
      out = Value::String(m->name);
      return ERR_NONE;
    }
    if (prop == P_MENU_FIRST_ITEM) {
      out = Value::Id(m->entries.empty() ? 0 : m->entries.front().id);
      return ERR_NONE;
    }
    return ERR_BAD_PROPERTY;
  }
  auto item = itemNames_.find(obj);
  if (item != itemNames_.end() && prop == P_NAME) {
    out = Value::String(item->second);
    return ERR_NONE;
  }
  (void)scope;
  return item != itemNames_.end() ? ERR_BAD_PROPERTY : ERR_BAD_OBJECT;
}

int32_t UiRegistry::SetProp(ObjectId scope, ObjectId obj, int32_t prop, const Value& value) {
  if (prop == P_MENU_POSITION) {
    // Set on (menu, command): the command moves to just after the named item of that menu.
    Menu* menu = FindMenu(scope);
    if (!menu || value.type != VT_ID) return ERR_BAD_VALUE;
    auto command = std::find_if(menu->entries.begin(), menu->entries.end(),
                                [&](const MenuEntry& e) { return e.id == obj; });
    if (command == menu->entries.end()) return ERR_BAD_OBJECT;
    auto name = itemNames_.find(value.id);
    if (name == itemNames_.end()) return ERR_BAD_VALUE;
    MenuEntry moved = *command;
    menu->entries.erase(command);
    auto anchor = std::find_if(menu->entries.begin(), menu->entries.end(),
                               [&](const MenuEntry& e) { return e.name == name->second; });
    if (anchor == menu->entries.end()) {
      menu->entries.push_back(moved);
    } else {
      menu->entries.insert(anchor + 1, moved);
    }
    return ERR_NONE;
  }
  for (CommandRecord& c : commands_) {
    if (c.id != obj) continue;
    if (prop == P_CMD_ATTRIBUTE_1 && value.type == VT_INT) {
      c.attribute1 = value.i;
    } else if (prop == P_CMD_ATTRIBUTE_2 && value.type == VT_INT) {
      c.attribute2 = value.i;
    } else if (prop == P_LABEL && value.type == VT_STRING) {
      c.label = value.s;
    } else {
      return ERR_BAD_PROPERTY;
    }
    return ERR_NONE;
  }
  return ERR_BAD_OBJECT;
}

std::vector<std::string> UiRegistry::MenuContents(const std::string& menuName) const {
  std::vector<std::string> out;
  for (const Menu& m : menus_) {
    if (m.name != menuName) continue;
    for (const MenuEntry& e : m.entries) out.push_back(e.name);
  }
  return out;
}

}  // namespace tlhost
