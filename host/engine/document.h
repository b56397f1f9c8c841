// A document held by the engine: file data, view state, formats, pages and frames, flows of
// paragraphs, anchored objects and the element tree. All objects are kept by their ids.
#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/engine/anchored.h"
#include "host/engine/formats.h"
#include "host/engine/layout.h"
#include "host/engine/paragraph.h"
#include "host/engine/structure.h"

namespace tlhost {

struct Document {
  ObjectId id = 0;
  std::string path;
  bool modified = false;
  bool readOnly = false;
  int32_t trackPreview = 0;  // tracked-changes preview state 0, 1 or 2
  std::string statusBar;
  bool hasSelection = false;
  TTextRange selection{{0, 0}, {0, 0}};

  std::vector<ObjectId> colourOrder;
  std::map<ObjectId, Colour> colours;
  std::vector<ObjectId> conditionOrder;
  std::map<ObjectId, Condition> conditions;
  std::vector<ObjectId> markerTypeOrder;
  std::map<ObjectId, MarkerType> markerTypes;
  Structure structure;

  std::vector<ObjectId> pageOrder;
  std::map<ObjectId, Page> pages;
  std::map<ObjectId, TextFrame> frames;
  std::vector<ObjectId> flowOrder;  // every flow, those inside anchored frames included
  std::map<ObjectId, Flow> flows;
  ObjectId mainFlow = 0;
  std::map<ObjectId, Paragraph> paragraphs;
  CharPropsTable charProps;  // the properties the paragraphs' positions refer to
  std::map<ObjectId, Marker> markers;
  std::vector<ObjectId> tableOrder;
  std::map<ObjectId, Table> tables;
  std::map<ObjectId, TableRow> rows;
  std::map<ObjectId, TableCell> cells;
  std::vector<ObjectId> footnoteOrder;
  std::map<ObjectId, Footnote> footnotes;
  std::vector<ObjectId> anchoredFrameOrder;
  std::map<ObjectId, AnchoredFrame> anchoredFrames;
  std::map<ObjectId, ObjectId> xrefs;  // cross-reference and variable ids, to their paragraph
  // The unique number the next new paragraph gets. It never goes down, also not when the
  // paragraphs holding the highest numbers are deleted, and it is saved with the document:
  // identifiers made from unique numbers earlier must never name another paragraph.
  int32_t nextUnique = 1;

  template <typename T>
  static T* Find(std::map<ObjectId, T>& objects, ObjectId id) {
    auto found = objects.find(id);
    return found == objects.end() ? nullptr : &found->second;
  }
  template <typename T>
  static const T* Find(const std::map<ObjectId, T>& objects, ObjectId id) {
    auto found = objects.find(id);
    return found == objects.end() ? nullptr : &found->second;
  }

  // The ordered paragraph list that `owner` (flow, cell, footnote, table title) holds.
  const std::vector<ObjectId>* ParagraphList(ObjectId owner) const;
  std::vector<ObjectId>* ParagraphList(ObjectId owner);
  // Position of a paragraph in its list, -1 when it is in none.
  int IndexInList(ObjectId paragraph) const;
  // Location of the item that anchors `object` (marker, table, footnote, anchored frame).
  bool AnchorLocation(ObjectId object, TTextLoc& out) const;
  // Where an element's begin item stands and where its end item ends; false without items.
  bool ElementRange(ObjectId element, TTextRange& out) const;
  const Condition* FindCondition(const std::string& name) const;
  // The paragraph that holds a unique number; 0 for none.
  ObjectId ParagraphByUnique(int32_t unique) const;
  // True for a flow shown in a text frame of an anchored frame (it belongs to that frame).
  bool InAnchoredFrame(ObjectId flow) const;

 private:
  // Unique numbers to paragraphs, for ParagraphByUnique; see there.
  mutable std::unordered_map<int32_t, ObjectId> uniqueIndex_;
  mutable std::pair<size_t, int32_t> uniqueIndexOf_{0, 0};  // paragraph count, nextUnique
};

}  // namespace tlhost
