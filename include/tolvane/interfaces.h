// The host's client interfaces and the notification interfaces a client implements.
// Every operation answers an int32: 0 for success, else a HostError (or an HRESULT where noted).
// Strings and records answered through out-pointers are blocks from the task allocator; the
// client frees them unless the host owns returned memory (interface 15).
#pragma once

#include "tolvane/com.h"
#include "tolvane/values.h"

namespace tolvane {

// The seventeen host interfaces, in the order a client asks for them.
constexpr GUID IID_HOST[17] = {
    {0x9EB9EBDE, 0xEF45, 0x4FAA, {0xBA, 0x83, 0x80, 0xC3, 0x7E, 0x74, 0x6D, 0xD7}},
    {0xF9EDAC1F, 0x75C2, 0x4544, {0xA6, 0x5E, 0x36, 0xE3, 0xC5, 0xA4, 0xDB, 0xA1}},
    {0x755FF112, 0x0DD6, 0x4947, {0xBD, 0xCC, 0xD3, 0x22, 0x28, 0x31, 0x39, 0xA7}},
    {0xCA913130, 0x7B0A, 0x11D0, {0x98, 0x5E, 0x00, 0x60, 0x97, 0x0B, 0xEC, 0x0B}},
    {0x5B0455F0, 0x0DB8, 0x11D1, {0x98, 0x6D, 0x00, 0x60, 0x97, 0x0B, 0xEC, 0x0B}},
    {0xEA34B890, 0x2289, 0x11D3, {0xBC, 0x05, 0x00, 0x80, 0x5F, 0xD9, 0x83, 0x89}},
    {0x895D2502, 0x96ED, 0x43E1, {0xA8, 0x8B, 0x45, 0x78, 0xA1, 0xAA, 0xA2, 0xB5}},
    {0xF8A1A179, 0xB5C9, 0x4AF8, {0x8E, 0x1A, 0xDA, 0x71, 0x43, 0x0E, 0xDB, 0xA1}},
    {0x02AC84A3, 0x499F, 0x4128, {0x93, 0x62, 0x0E, 0x38, 0xBB, 0x16, 0x20, 0xC9}},
    {0xB2159D69, 0xA7F0, 0x4978, {0xA8, 0x4B, 0x3C, 0xC2, 0xCA, 0x54, 0x98, 0xF9}},
    {0xA76BE1F8, 0xB073, 0x4F2D, {0x95, 0x53, 0x98, 0x54, 0x38, 0x54, 0xE0, 0xFB}},
    {0x9D1E44A4, 0x9CCC, 0x4AB5, {0xB5, 0x55, 0x6F, 0xFA, 0xE7, 0x78, 0x34, 0x2C}},
    {0xEC7B1498, 0xED2D, 0x4278, {0xAE, 0x91, 0x07, 0x48, 0x1B, 0xCB, 0xBF, 0xD0}},
    {0xB550535A, 0xBAA1, 0x4274, {0x9D, 0x2C, 0x41, 0xB6, 0x0F, 0x18, 0x35, 0xB8}},
    {0x04C8B860, 0xBC3B, 0x11D0, {0x8E, 0x04, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}},
    {0xF5AE87C2, 0x3FF6, 0x11D1, {0x94, 0x57, 0x00, 0x80, 0x5F, 0x29, 0x2B, 0x02}},
    {0xE1E9B610, 0x97D0, 0x11D3, {0xBC, 0x10, 0x00, 0x80, 0x5F, 0xD9, 0x83, 0x89}},
};

// Positions (0-based) in IID_HOST of the interfaces with operations of their own.
enum HostInterfaceIndex : int {
  HOST_IF_MAIN = 3,        // ITolvaneApi
  HOST_IF_UNICODE = 8,     // ITolvaneUnicode
  HOST_IF_FILES = 9,       // ITolvaneFileChooser
  HOST_IF_USAGE = 10,      // ITolvaneUsage
  HOST_IF_TEXT_TEST = 12,  // ITolvaneTextLocTest
  HOST_IF_MEMORY = 14,     // ITolvaneMemory
  HOST_IF_MODULE = 15,     // ITolvaneModule
  HOST_IF_COUNT = 17,
};

constexpr GUID IID_ITolvaneCMSNotifications0 = {
    0x7AA0C49A, 0x1141, 0x44EF, {0xA7, 0x84, 0x15, 0x55, 0x93, 0xF9, 0x50, 0x25}};
constexpr GUID IID_ITolvaneNotifications0 = {
    0xEB813990, 0xB81C, 0x11D0, {0x98, 0x5E, 0x00, 0x60, 0x97, 0x0B, 0xEC, 0x0B}};
constexpr GUID IID_ITolvaneNotifications1 = {
    0xA4B8972D, 0x5B3A, 0x4B57, {0x93, 0xC5, 0x3E, 0xB3, 0xD6, 0x2A, 0x4F, 0x1D}};

constexpr uint32_t CLIENT_INTERFACE_VERSION = 0x15000000u;

// ---------------------------------------------------------------------------------------------
// Notification interfaces (implemented by the client).
// ---------------------------------------------------------------------------------------------
struct ITolvaneCMSNotifications0 : IUnknown {
  virtual HRESULT CMSCommand(void* commandData, TCmsResult* result) = 0;

 protected:
  ~ITolvaneCMSNotifications0() = default;
};

struct ITolvaneNotifications0 : IUnknown {
  virtual HRESULT Initialize(int32_t initKind) = 0;
  virtual HRESULT Quit() = 0;
  virtual HRESULT Command(int32_t command) = 0;
  virtual HRESULT Message(void* messageData) = 0;
  virtual HRESULT DialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers) = 0;
  virtual HRESULT Notify(int32_t notification, ObjectId object, const char* text,
                         int32_t number) = 0;
  virtual HRESULT GetResource(int32_t type, const char* name, TResourceBlock* out) = 0;

 protected:
  ~ITolvaneNotifications0() = default;
};

struct ITolvaneNotifications1 : IUnknown {
  virtual HRESULT HtmlDialogEventEx(void* eventData) = 0;

 protected:
  ~ITolvaneNotifications1() = default;
};

// ---------------------------------------------------------------------------------------------
// Host interfaces.
// ---------------------------------------------------------------------------------------------

// Interface 4: registration and the document, menu, dialog and console operations.
struct ITolvaneApi : IUnknown {
  virtual int32_t RegisterClient(ITolvaneNotifications0* notifications, uint32_t version,
                                 const TClientInfoList* info) = 0;

  virtual int32_t GetInt(ObjectId doc, ObjectId obj, int32_t prop, int32_t* out) = 0;
  virtual int32_t GetId(ObjectId doc, ObjectId obj, int32_t prop, ObjectId* out) = 0;
  virtual int32_t GetString(ObjectId doc, ObjectId obj, int32_t prop, char** out) = 0;
  virtual int32_t GetLongInt(ObjectId doc, ObjectId obj, int32_t prop, int64_t* out) = 0;
  virtual int32_t GetTextRange(ObjectId doc, ObjectId obj, int32_t prop, TTextRange* out) = 0;
  virtual int32_t GetPropVal(ObjectId doc, ObjectId obj, int32_t prop, TValue** out) = 0;
  virtual int32_t GetList(ObjectId doc, ObjectId obj, int32_t prop, TValue** out) = 0;
  virtual int32_t SetInt(ObjectId doc, ObjectId obj, int32_t prop, int32_t value) = 0;
  virtual int32_t SetId(ObjectId doc, ObjectId obj, int32_t prop, ObjectId value) = 0;
  virtual int32_t SetString(ObjectId doc, ObjectId obj, int32_t prop, const char* value) = 0;
  virtual int32_t SetTextRange(ObjectId doc, ObjectId obj, int32_t prop,
                               const TTextRange* value) = 0;
  virtual int32_t SetPropVal(ObjectId doc, ObjectId obj, const TValue* value) = 0;
  virtual int32_t GetProps(ObjectId doc, ObjectId obj, TPropList** out) = 0;

  virtual int32_t GetNamedObject(ObjectId doc, int32_t type, const char* name, ObjectId* out) = 0;
  virtual int32_t NewNamedObject(ObjectId doc, int32_t type, const char* name, ObjectId* out) = 0;
  virtual int32_t NewAnchoredObject(ObjectId doc, int32_t type, const TTextLoc* loc,
                                    ObjectId* out) = 0;
  virtual int32_t GetObjectByUniqueId(ObjectId doc, int32_t type, int32_t unique,
                                      ObjectId* out) = 0;

  virtual int32_t GetText(ObjectId doc, ObjectId obj, uint32_t flags, TTextItems** out) = 0;
  virtual int32_t GetTextEx(ObjectId doc, ObjectId obj, uint32_t flags, uint32_t options,
                            TTextItems** out) = 0;
  virtual int32_t GetTextInRange(ObjectId doc, const TTextRange* range, uint32_t flags,
                                 TTextItems** out) = 0;
  virtual int32_t GetTextInRangeEx(ObjectId doc, const TTextRange* range, uint32_t flags,
                                   uint32_t options, TTextItems** out) = 0;
  virtual int32_t AddText(ObjectId doc, const TTextLoc* loc, const char* text, TTextLoc* after) = 0;
  virtual int32_t GetTextPropVal(ObjectId doc, const TTextLoc* loc, int32_t prop, TValue** out) = 0;
  virtual int32_t SetTextPropVal(ObjectId doc, const TTextRange* range, const TValue* value) = 0;
  virtual int32_t SetTextProps(ObjectId doc, const TTextRange* range, const TPropList* props) = 0;
  // Answers the structure element at the location and the text object it lies in.
  virtual int32_t ObjectAtTextLoc(ObjectId doc, const TTextLoc* loc, ObjectId out[2]) = 0;

  virtual int32_t OpenFile(const char* path, const TPropList* params, TPropList** returnParams,
                           ObjectId* out) = 0;
  virtual int32_t Close(ObjectId obj, int32_t flags) = 0;
  virtual int32_t Redisplay(ObjectId doc) = 0;
  virtual int32_t Reformat(ObjectId doc) = 0;

  virtual int32_t DefineCommand(int32_t command, const char* tag, const char* label,
                                const char* shortcut, ObjectId* out) = 0;
  virtual int32_t AddCommandToMenu(ObjectId menu, ObjectId command) = 0;
  virtual int32_t RequestNotification(int32_t notification, int32_t on) = 0;
  virtual int32_t ReturnValue(int32_t value) = 0;
  virtual int32_t GetClientPath(char** out) = 0;

  // answer: 0 for OK or Yes, 1 for No.
  virtual int32_t Alert(const char* text, int32_t kind, int32_t* answer) = 0;
  virtual int32_t PrintConsole(const char* text) = 0;
  virtual int32_t OpenDialogResource(int32_t kind, const char* name, ObjectId* out) = 0;
  virtual int32_t DialogItem(ObjectId dialog, int32_t item, ObjectId* out) = 0;
  virtual int32_t ModalDialog(int32_t dialogNumber, ObjectId dialog) = 0;

 protected:
  ~ITolvaneApi() = default;
};

// Interface 9.
struct ITolvaneUnicode : IUnknown {
  virtual int32_t EnableUnicode(int32_t on) = 0;

 protected:
  ~ITolvaneUnicode() = default;
};

// Interface 10. result: 0 chosen, -1 cancelled.
struct ITolvaneFileChooser : IUnknown {
  virtual int32_t ChooseFile(char** outPath, const char* title, const char* directory,
                             const char* defaultName, int32_t mode, const char* helpText,
                             const char* typeFilter, int32_t* result) = 0;

 protected:
  ~ITolvaneFileChooser() = default;
};

// Interface 11.
struct ITolvaneUsage : IUnknown {
  virtual int32_t UsageEvent(const char* category, const char* feature, const char* event) = 0;

 protected:
  ~ITolvaneUsage() = default;
};

// Interface 13: non-zero where the range between the two locations is no valid selection.
struct ITolvaneTextLocTest : IUnknown {
  virtual int32_t TestTextLocs(ObjectId doc, const TTextLoc* a, const TTextLoc* b,
                               int32_t* out) = 0;

 protected:
  ~ITolvaneTextLocTest() = default;
};

// Interface 15: S_OK when memory blocks of the given class returned by the host belong to it.
struct ITolvaneMemory : IUnknown {
  virtual HRESULT HostOwnsMemory(int32_t which) = 0;

 protected:
  ~ITolvaneMemory() = default;
};

// Interface 16: receives the client library's module handle.
struct ITolvaneModule : IUnknown {
  virtual HRESULT SetClientModule(void* module) = 0;

 protected:
  ~ITolvaneModule() = default;
};

// The entry point every client library exports.
using ClientInitFunction = int32_t (*)(void* module, IUnknown* provider, IUnknown* keepAlive,
                                       const TClientInfoList* info);
constexpr const char* CLIENT_INIT_SYMBOL = "T_ApiClientInit";

}  // namespace tolvane
