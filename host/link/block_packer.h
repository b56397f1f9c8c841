// Packs host values into single task-allocator blocks, the form in which the host hands
// strings, typed values, property lists and text items to a client: pointers inside a block
// point into the same block, so one free releases everything.
#pragma once

#include <vector>

#include "host/engine/value.h"
#include "tolvane/values.h"

namespace tlhost {

char* PackString(const std::string& text);
tolvane::TValue* PackValue(int32_t property, const Value& value);
tolvane::TPropList* PackPropList(const std::vector<PropValue>& props);
tolvane::TTextItems* PackTextItems(const std::vector<TextItem>& items);

// Reads an interface record into a host value (the client's memory is not kept).
Value UnpackValue(const tolvane::TValue& value);
std::vector<PropValue> UnpackPropList(const tolvane::TPropList* list);

}  // namespace tlhost
