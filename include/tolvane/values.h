// The plain records in which values pass between the host and a client: text locations and
// ranges, typed values, property lists and text items. A host hands such a record back as one
// block from the task allocator (pointers inside point into the same block), so one free
// releases it whole.
#pragma once

#include <cstdint>

#include "tolvane/numbers.h"

namespace tolvane {

struct TTextLoc {
  ObjectId object;  // a paragraph (or other text object)
  int32_t offset;   // characters from the start of its text
};

struct TTextRange {
  TTextLoc begin;
  TTextLoc end;
};

struct TInts {
  uint32_t len;
  int32_t* val;
};

struct TIds {
  uint32_t len;
  ObjectId* val;
};

struct TStrings {
  uint32_t len;
  char** val;
};

struct TAttribute {
  char* name;
  TStrings values;
};

struct TAttributes {
  uint32_t len;
  TAttribute* val;
};

struct TValue {
  int32_t property;
  int32_t type;  // ValueType
  union {
    int32_t ival;
    int64_t lval;
    ObjectId id;
    char* sval;
    TInts ints;
    TIds ids;
    TStrings strings;
    TTextLoc loc;
    TTextRange range;
    TAttributes attributes;
  } u;
};

struct TPropList {
  uint32_t len;
  TValue* val;
};

struct TTextItem {
  int32_t offset;  // characters from the start of the text object the item stands in
  uint32_t kind;   // TextItemKind
  union {
    char* sval;   // TI_STRING
    ObjectId id;  // every other kind
  } u;
};

struct TTextItems {
  uint32_t len;
  TTextItem* val;
};

// One entry of a client information list (identifier number, optional name, typed value).
struct TClientInfoEntry {
  int32_t number;
  char* name;
  TValue value;
};

struct TClientInfoList {
  uint32_t len;
  TClientInfoEntry* val;
};

// A resource block answered by the client's GetResource: size and a task-allocator pointer.
struct TResourceBlock {
  uint32_t size;
  void* data;
};

// The answer of CMSCommand: status, text and values.
struct TCmsResult {
  int32_t status;
  char* text;
  TPropList values;
};

// The fields of a notification whose text is a list (NOTE_CLIENT_CALL): the first six in fixed
// places, any further ones in the overflow list.
struct TNotifyFields {
  uint32_t count;
  char* field[6];
  TStrings overflow;
};

}  // namespace tolvane
