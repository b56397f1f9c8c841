// What is wrong with a document or book file the reader refused: a code, the line, and the
// values the code speaks of (an attribute's name, an element's name, a number), never words.
// The command line words it in its user's language.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tlhost {

// Each code names in braces the values its fault carries.
enum class FormatFaultCode {
  None,
  // The text is not well-formed XML.
  XmlBadInstruction,
  XmlBadComment,
  XmlBadCdata,
  XmlBadDoctype,
  XmlBadText,
  XmlBadStartTag,
  XmlBadAttribute,
  XmlBadEndTag,
  XmlTagMismatch,
  XmlNoRoot,
  XmlAfterRoot,
  XmlUnreadable,
  // Text that editing could not have made.
  TextNotUtf8,
  ValueNotUtf8,
  AttributeNotUtf8,           // {attribute}
  TextControlCharacter,       // {code} as U+XXXX
  ValueControlCharacter,      // {code}
  AttributeControlCharacter,  // {attribute} {code}
  // Elements and attributes.
  UnknownAttribute,    // {attribute} {element}
  MissingAttribute,    // {element} {attribute}
  NotYesOrNo,          // {attribute} {value}
  NotANumber,          // {attribute} {value}
  UnknownValue,        // {attribute} {value}
  TextNotAllowed,      // {element}
  UnknownElement,      // {element} {parent}
  KeyUsedTwice,        // {key}
  KeyNamesNoTable,     // {key}
  KeyNamesNoCell,      // {key}
  KeyNamesNoFootnote,  // {key}
  KeyNamesNoFrame,     // {key}
  KeyNamesNoElement,   // {key}
  OutOfObjectIds,
  // Structure.
  DefinitionNeedsName,
  DefinitionTwice,  // {name}
  ValueHoldsTextOnly,
  OneRootElement,
  NoDefinitionNamed,  // {name}
  ElementTwice,
  // The document.
  NotADocument,  // {element}
  DocumentVersion,
  DocumentNeedsFlow,
  NoMainFlow,
  NextUniqueTooLow,  // {number} {highest}
  ColourNeedsName,
  ColourTwice,    // {name}
  NoColourNamed,  // {name}
  PageTwice,      // {name}
  MarkerTypeNeedsName,
  MarkerTypeTwice,    // {name}
  NoMarkerTypeNamed,  // {name}
  ConditionNeedsName,
  ConditionTwice,    // {name}
  NoConditionNamed,  // {name}
  FrameFlowIsMain,
  OneMainFlow,
  FrameFlowOnPage,
  NoPageNamed,  // {name}
  FlowOneStructure,
  FlowNeedsParagraph,
  NeedsParagraph,     // {element}
  UniqueNumberRange,  // {most}
  UniqueNumberTwice,  // {number}
  CharacterHoldsTextOnly,
  CharacterNeedsText,
  ElementIsEmpty,  // {element}
  AnchoredTwice,
  ElementHasOne,    // {element}
  EndWithoutBegin,  // {element}
  SpecialCharacterCode,
  ReferenceNotEnded,
  TableOneTitle,
  RowOrder,
  RowNeedsCell,
  NeverAnchored,            // {key}
  ElementOutsideStructure,  // {key}
  // The book.
  NotABook,  // {element}
  BookVersion,
  BookOneStructure,
  ComponentNeedsFile,
  OnlyContainerHoldsComponents,
  BookHoldsElementsOnly,  // {key}
  Count                   // not a fault: the number of codes
};

using FaultValues = std::vector<std::pair<std::string, std::string>>;

struct FormatFault {
  FormatFaultCode code = FormatFaultCode::None;
  int line = 0;  // from 1; 0 for a fault of the whole file
  FaultValues values;
};

// "line 4: fault 19 attribute=shade element=p": the fault for logs and tests, not for users.
std::string Diagnostic(const FormatFault& fault);

}  // namespace tlhost
