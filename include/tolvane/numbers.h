// Every number of the Tolvane client interface: object kinds, value types, text item kinds,
// error numbers, notifications, dialog conventions and property numbers.
// docs/host-rules.md explains what each host setting means where it needs more than a line.
#pragma once

#include <cstdint>

namespace tolvane {

// ---------------------------------------------------------------------------------------------
// Object ids: unsigned 32 bits, 0 = none. The top 8 bits carry the kind, the low 24 a serial.
// Document 0 with object 0 addresses the host itself (the session).
// ---------------------------------------------------------------------------------------------
using ObjectId = uint32_t;

enum ObjectKind : uint32_t {
  KIND_SESSION = 1,
  KIND_BOOK = 2,
  KIND_BOOK_COMPONENT = 3,
  KIND_DOCUMENT = 4,
  KIND_BODY_PAGE = 5,
  KIND_MASTER_PAGE = 6,
  KIND_REFERENCE_PAGE = 7,
  KIND_HIDDEN_PAGE = 8,
  KIND_FLOW = 9,
  KIND_TEXT_FRAME = 10,
  KIND_PARAGRAPH = 11,
  KIND_TABLE = 13,
  KIND_TABLE_ROW = 14,
  KIND_FOOTNOTE = 16,
  KIND_MARKER = 17,
  KIND_MARKER_TYPE = 18,
  KIND_CONDITION = 19,
  KIND_COLOUR = 20,
  KIND_ANCHORED_FRAME = 21,
  KIND_ELEMENT_DEF = 22,
  KIND_XREF = 23,
  KIND_VARIABLE = 24,
  KIND_MENU = 30,
  KIND_MENU_ITEM = 31,
  KIND_COMMAND = 32,
  KIND_DIALOG = 33,
  KIND_DIALOG_ITEM = 34,
  KIND_TABLE_CELL = 39,  // an element bound to a cell leads to the cell's first paragraph
  KIND_ELEMENT = 42,
};

constexpr uint32_t KindOf(ObjectId id) {
  return id >> 24;
}
constexpr ObjectId MakeId(uint32_t kind, uint32_t serial) {
  return (kind << 24) | (serial & 0xFFFFFFu);
}

// Object types for the named-object operations (HostGetNamedObject, HostNewNamedObject) and for
// HostNewAnchoredObject and HostGetObjectByUniqueId. They are the kinds above.
enum ObjectType : int32_t {
  OBJ_MENU = KIND_MENU,
  OBJ_MENU_ITEM = KIND_MENU_ITEM,
  OBJ_COMMAND = KIND_COMMAND,
  OBJ_PARAGRAPH = KIND_PARAGRAPH,
  OBJ_FLOW = KIND_FLOW,
  OBJ_MARKER = KIND_MARKER,
  OBJ_MARKER_TYPE = KIND_MARKER_TYPE,
  OBJ_CONDITION = KIND_CONDITION,
  OBJ_COLOUR = KIND_COLOUR,
  OBJ_ELEMENT_DEF = KIND_ELEMENT_DEF,
  OBJ_ELEMENT = KIND_ELEMENT,
};

// ---------------------------------------------------------------------------------------------
// Typed values.
// ---------------------------------------------------------------------------------------------
enum ValueType : int32_t {
  VT_NONE = 0,
  VT_INT = 1,
  VT_ID = 2,
  VT_STRING = 3,
  VT_INTS = 4,
  VT_IDS = 5,
  VT_STRINGS = 6,
  VT_TEXT_LOC = 7,
  VT_TEXT_RANGE = 8,
  VT_LONG_INT = 9,
  VT_ATTRIBUTES = 10,
};

// ---------------------------------------------------------------------------------------------
// Text items. Each kind is one bit so that a set of kinds can be asked for at once. Every kind
// except TI_STRING and TI_TEXT_OBJECT occupies one character position in the text it stands in.
// ---------------------------------------------------------------------------------------------
enum TextItemKind : uint32_t {
  TI_STRING = 1u << 0,           // text; offset of its first character
  TI_TEXT_OBJECT = 1u << 1,      // the text that follows belongs to this paragraph (id)
  TI_MARKER_ANCHOR = 1u << 2,    // id of the marker
  TI_TABLE_ANCHOR = 1u << 3,     // id of the table
  TI_FOOTNOTE_ANCHOR = 1u << 4,  // id of the footnote
  TI_FRAME_ANCHOR = 1u << 5,     // id of the anchored frame
  TI_XREF_BEGIN = 1u << 6,
  TI_XREF_END = 1u << 7,
  TI_VAR_BEGIN = 1u << 8,
  TI_VAR_END = 1u << 9,
  TI_ELEMENT_BEGIN = 1u << 10,  // id of the structure element
  TI_ELEMENT_END = 1u << 11,
  TI_PARAGRAPH_END = 1u << 12,
  TI_HIDDEN_BEGIN = 1u << 13,  // text up to the matching end is not shown in the PDF
  TI_HIDDEN_END = 1u << 14,
  TI_SPECIAL_CHAR = 1u << 15,  // id field holds the special character's code (1 or 2)
  TI_ALL = 0xFFFFu,
};

// Second flags word of HostGetTextEx / HostGetTextInRangeEx.
enum TextItemOptions : uint32_t {
  TIO_NONE = 0,
  TIO_INCLUDE_HIDDEN_TEXT = 1u << 0,  // strings of hidden conditional text are reported too
};

// ---------------------------------------------------------------------------------------------
// Error numbers answered by host operations. 0 is success.
// ---------------------------------------------------------------------------------------------
enum HostError : int32_t {
  ERR_NONE = 0,
  ERR_FAILED = -1,  // set by the client when an interface is absent or a call fails outright
  ERR_BAD_DOCUMENT = -2,
  ERR_BAD_OBJECT = -3,
  ERR_BAD_PROPERTY = -4,
  ERR_BAD_TYPE = -5,
  ERR_BAD_VALUE = -6,
  ERR_NOT_FOUND = -7,
  ERR_BAD_NAME = -8,
  ERR_NAME_IN_USE = -9,
  ERR_READ_ONLY = -10,
  ERR_BAD_LOCATION = -11,
  ERR_FILE_OPEN = -12,
  ERR_FILE_FORMAT = -13,
  ERR_FILE_WRITE = -14,
  ERR_NOT_SUPPORTED = -15,
  ERR_CANCELLED = -16,
  ERR_BUSY = -88,
};

// ---------------------------------------------------------------------------------------------
// Notifications, initialisation kinds, alerts, dialogs, files.
// ---------------------------------------------------------------------------------------------
constexpr int32_t INIT_STARTUP = 1;  // the host's start-up initialisation
constexpr int32_t INIT_LATER = 2;    // a client loaded after start-up

constexpr int32_t NOTE_CLIENT_CALL =
    62;  // another client starts this one's command; text = its argument
constexpr int32_t NOTE_FIELD_LIST =
    75;  // a notification whose text is a list of fields split by 0x1E

enum AlertKind : int32_t {
  ALERT_MESSAGE = 1,  // OK button
  ALERT_YES_NO = 2,   // Yes and No; 0 = Yes
  ALERT_OK_ONLY = 3,  // OK button only
};

constexpr int32_t DIALOG_RESOURCE = 1;  // HostOpenDialogResource kind: a template from the client
constexpr int32_t DIALOG_ITEM_CLOSED = -1;    // pseudo-item: dialog closed through its window
constexpr int32_t DIALOG_ITEM_CONFIRM = -4;   // pseudo-item: confirmed other than by item 1
constexpr int32_t DIALOG_KEEP_OPEN = -10000;  // HostReturnValue that keeps a dialog open

constexpr int32_t CHOOSE_FILE_OPEN = 0;
constexpr int32_t CLOSE_DISCARD = 1;  // HostClose flag: close without asking about changes

constexpr int32_t RESOURCE_COMPANION = 500;  // resource type of a dialog's companion record

// ---------------------------------------------------------------------------------------------
// Property numbers. Grouped by the object that carries them; a number is unique overall.
// ---------------------------------------------------------------------------------------------
enum Property : int32_t {
  // Session (document 0, object 0).
  P_SESSION_PRODUCT_NAME = 1,      // string
  P_SESSION_VERSION_MAJOR = 2,     // int
  P_SESSION_VERSION_MINOR = 3,     // int
  P_SESSION_LANGUAGE = 4,          // int, LANG_* below
  P_SESSION_HOST_DIR = 5,          // string: host installation directory (ICU data, 2nd prefs dir)
  P_SESSION_USER_DIR = 6,          // string: the user's settings directory (1st prefs dir)
  P_SESSION_ACTIVE_DOC = 7,        // id
  P_SESSION_ACTIVE_BOOK = 8,       // id
  P_SESSION_FIRST_OPEN_DOC = 9,    // id; then P_DOC_NEXT_OPEN
  P_SESSION_FIRST_OPEN_BOOK = 10,  // id; then P_BOOK_NEXT_OPEN
  P_SESSION_CURRENT_VIEW = 11,     // string, e.g. "WYSIWYG View"
  P_SESSION_DISPLAYING = 12,       // int: display updates on (1) or off (0)
  P_SESSION_REFORMATTING = 13,     // int: automatic reformatting on (1) or off (0)
  P_SESSION_TRACK_DELETED_TEST = 14,  // int: text inside tracked deletions is protected (1)
  P_SESSION_STANDARD_MENUS = 15,      // int: full menu set (non-zero) or quick menus (0)
  P_SESSION_PDF_LIB_INIT = 16,        // string: the PDF library's initialisation data (decimal)
  P_SESSION_PDF_LIB_PATH = 17,        // string: where the PDF library lies ("" = beside the client)

  // Documents.
  P_DOC_NAME = 100,                  // string: the file path
  P_DOC_MODIFIED = 101,              // int: unsaved changes
  P_DOC_READ_ONLY = 102,             // int
  P_DOC_TRACK_PREVIEW = 103,         // int: tracked-changes preview state 0, 1 or 2
  P_DOC_STATUS_BAR = 104,            // string
  P_DOC_TEXT_SELECTION = 105,        // text range; the host may normalise what is set
  P_DOC_SELECTED_TEXT_OBJECT = 106,  // id of the text object the host reports for the selection
  P_DOC_MAIN_FLOW = 107,             // id
  P_DOC_FIRST_FLOW = 108,            // id; then P_FLOW_NEXT
  P_DOC_FIRST_COLOUR = 109,          // id; then P_COLOUR_NEXT
  P_DOC_FIRST_BODY_PAGE = 110,       // id; then P_PAGE_NEXT
  P_DOC_NEXT_OPEN = 111,             // id of the next open document
  P_DOC_FIRST_CONDITION = 112,       // id; then P_CONDITION_NEXT
  P_DOC_FIRST_MARKER_TYPE = 113,     // id
  P_DOC_FIRST_ELEMENT_DEF = 114,     // id
  P_DOC_TYPE_FLAGS = 115,            // int: 1 document, 4 book, 128 structure map

  // Flows.
  P_FLOW_NAME = 200,              // string: the flow's tag
  P_FLOW_NEXT = 201,              // id
  P_FLOW_FIRST_TEXT_FRAME = 202,  // id
  P_FLOW_FIRST_PARAGRAPH = 203,   // id
  P_FLOW_HIGHEST_ELEMENT = 204,   // id of the root structure element, 0 when unstructured
  P_FLOW_LAST_PARAGRAPH = 205,    // id

  // Text frames and pages.
  P_FRAME_PAGE = 250,       // id of the page the frame lies on
  P_FRAME_FLOW = 251,       // id
  P_FRAME_PARENT = 252,     // id: the anchored frame or page that holds it
  P_PAGE_NEXT = 260,        // id
  P_OBJECT_PARENT = 261,    // id: first parent link used by the component kind test
  P_OBJECT_PARENT_2 = 262,  // id: second parent link

  // Paragraphs.
  P_PGF_UNIQUE = 300,                 // int: unique number, stable and saved
  P_PGF_FORMAT = 301,                 // string: format tag
  P_PGF_AUTONUMBER = 302,             // string: the number string shown before the text
  P_PGF_AUTONUMBER_NOT_IN_PDF = 303,  // int: the number string is left out of the PDF
  P_PGF_NEXT = 304,                   // id: next paragraph in the flow (or cell / footnote)
  P_PGF_PREV = 305,                   // id
  P_PGF_FLOW = 306,                   // id: the flow that holds it (0 inside cells and footnotes)
  P_PGF_CELL = 307,                   // id: the table cell that holds it, 0 elsewhere
  P_PGF_FOOTNOTE = 308,               // id: the footnote that holds it, 0 elsewhere
  P_PGF_TEXT_LENGTH = 309,            // int: characters, counting one per occupying item
  P_PGF_TABLE_TITLE = 310,            // id: the table whose title holds it, 0 elsewhere

  // Text properties (HostGetTextPropVal / HostSetTextPropVal at a location or on a range).
  P_TEXT_CONDITIONS = 400,     // ids: conditions in effect on the character
  P_TEXT_CHANGE_AUTHOR = 401,  // string
  P_TEXT_CHANGE_TIME = 402,    // int: seconds since 1970

  // Condition formats.
  P_COND_NAME = 500,               // string
  P_COND_SHOWN = 501,              // int
  P_COND_COLOUR_OVERRIDE = 502,    // int
  P_COND_OVERRIDE_COLOUR = 503,    // id
  P_COND_STYLE_OVERRIDE = 504,     // int: STYLE_* below
  P_COND_BACKGROUND_ON = 505,      // int
  P_COND_BACKGROUND_COLOUR = 506,  // id
  P_COND_NEXT = 507,               // id

  // Colours.
  P_COLOUR_NAME = 550,      // string
  P_COLOUR_RESERVED = 551,  // int: reserved-colour code, 0 for none
  P_COLOUR_NEXT = 552,      // id

  // Markers and marker types.
  P_MARKER_TYPE = 600,       // id of the marker type
  P_MARKER_TEXT = 601,       // string
  P_MARKER_LOCATION = 602,   // text location of the anchor
  P_MARKER_TYPE_NAME = 603,  // string

  // Tables.
  P_TABLE_FIRST_TITLE_PGF = 650,  // id
  P_TABLE_FIRST_ROW = 651,        // id: first row of all, heading rows first
  P_TABLE_ANCHOR_PGF = 652,       // id: the paragraph that anchors it
  P_TABLE_TITLE_ON = 653,         // int
  P_ROW_KIND = 660,               // int: ROW_* below
  P_ROW_NEXT = 661,               // id
  P_ROW_FIRST_CELL = 662,         // id
  P_ROW_TABLE = 663,              // id
  P_CELL_NEXT = 670,              // id
  P_CELL_FIRST_PGF = 671,         // id
  P_CELL_STRADDLED = 672,         // int: hidden under a straddle; not counted
  P_CELL_ROW = 673,               // id

  // Footnotes.
  P_FN_NUMBER = 700,      // string: the number string shown in the text
  P_FN_FIRST_PGF = 701,   // id
  P_FN_ANCHOR_PGF = 702,  // id
  P_FN_NEXT = 703,        // id: next footnote of the flow

  // Anchored frames.
  P_AFRAME_FIRST_TEXT_FRAME = 750,  // id
  P_AFRAME_ANCHOR_PGF = 751,        // id

  // Structure elements and their definitions.
  P_ELEM_DEF = 800,               // id of the element definition
  P_ELEM_ATTRIBUTES = 801,        // attributes: name to values
  P_ELEM_UNIQUE_ID = 802,         // string: the element's unique-identifier property
  P_ELEM_PARENT = 803,            // id
  P_ELEM_FIRST_CHILD = 804,       // id
  P_ELEM_NEXT_SIBLING = 805,      // id
  P_ELEM_TEXT_RANGE = 806,        // text range the element covers
  P_ELEM_BOUND_OBJECT = 807,      // id of the host object the element is bound to
  P_ELEM_FILE_REF_MARK = 808,     // int: the element refers to a file
  P_ELEM_FILE_REF = 809,          // string: the referenced file
  P_ELEMDEF_NAME = 820,           // string
  P_ELEMDEF_ATTR_DEFAULTS = 821,  // attributes: attribute definitions with default values
  P_BOUND_FIRST_PGF = 830,        // id: the paragraph a bound object (kind 39) leads to

  // Books and their components.
  P_BOOK_NAME = 900,             // string: the file path
  P_BOOK_MODIFIED = 901,         // int
  P_BOOK_FIRST_COMPONENT = 902,  // id
  P_BOOK_NEXT_OPEN = 903,        // id
  P_BOOK_HIGHEST_ELEMENT = 904,  // id of the book's root structure element, 0 when unstructured
  P_COMP_FILE_NAME = 910,        // string: the component's file path
  P_COMP_SECOND_NAME = 911,      // string
  P_COMP_NAME = 912,             // string: the component's name (its file name without folder)
  P_COMP_EXCLUDE = 913,          // int: excluded from the book
  P_COMP_EXCLUDE_NESTED = 914,   // int: excluded when the book is nested in another
  P_COMP_IS_CONTAINER = 915,     // int: a folder-like container of further components
  P_COMP_TYPE = 916,             // int: COMP_TYPE_* below
  P_COMP_NEXT = 917,             // id
  P_COMP_FIRST_CHILD = 918,      // id: first component inside a container
  P_COMP_OBJECT = 919,           // id: an object of the component's document used by the kind test

  // Menus, commands, dialogs.
  P_CMD_ATTRIBUTE_1 = 1000,  // int: the command's first attribute
  P_CMD_ATTRIBUTE_2 = 1001,  // int: the command's second attribute
  P_MENU_POSITION = 1002,    // id (set on the menu for a command): place before this item
  P_LABEL = 1003,            // string: the label of a menu, command or dialog item
  P_ITEM_STATE = 1004,       // int: check box or radio button state
  P_ITEM_TEXT = 1005,        // string: text box contents
  P_MENU_FIRST_ITEM = 1006,  // id
  P_MENU_ITEM_NEXT = 1007,   // id
  P_NAME = 1008,             // string: the name of a menu, menu item or command
  P_CMD_SHORTCUT = 1009,     // string
  P_CMD_NUMBER = 1010,       // int
};

enum Language : int32_t {
  LANG_ENGLISH = 1,
  LANG_JAPANESE = 2,
  LANG_TRADITIONAL_CHINESE = 3,
  LANG_SIMPLIFIED_CHINESE = 4,
  LANG_KOREAN = 5,
  LANG_GERMAN = 6,
  LANG_FRENCH = 7,
};

enum StyleOverride : int32_t {
  STYLE_NONE = 0,
  STYLE_SINGLE_UNDERLINE = 1,
  STYLE_DOUBLE_UNDERLINE = 2
};

enum RowKind : int32_t { ROW_HEADING = 1, ROW_BODY = 2, ROW_FOOTING = 3 };

enum ComponentType : int32_t {
  COMP_TYPE_DOCUMENT = 1,
  COMP_TYPE_GENERATED_LIST = 2,
  COMP_TYPE_BOOK = 4,
  COMP_TYPE_FOLDER = 8,
  COMP_TYPE_GROUP = 16,
  COMP_TYPE_GENERATED_INDEX = 64,
  COMP_TYPE_STRUCTURE_MAP = 128,
  COMP_TYPE_NESTED_MAP = 256,
};

// HostOpenFile parameters (property list entries) and answers.
enum OpenParam : int32_t {
  OPEN_ALERT_ANSWERS_PRESET = 1,  // int: answer every opening question with its default
  OPEN_SECOND_NAME = 2,           // string: the component's second name
  OPEN_MAKE_VISIBLE = 3,          // int
  OPEN_RETURN_ALREADY_OPEN = 4,   // return parameter, int: the file was already open
  OPEN_RETURN_ERROR = 5,          // return parameter, int: why it failed
};

}  // namespace tolvane
