#include "host/link/host_interfaces.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/link/block_packer.h"
#include "host/link/client_connection.h"

namespace tlhost {
namespace {

using namespace tolvane;

// Reference counting shared by the host's objects. Their lifetime is the connection's; the
// count only tells the tests what a client holds.
template <typename Interface>
class Counted : public Interface {
 public:
  Counted(ClientConnection& connection, int index) : connection_(connection), index_(index) {}
  virtual ~Counted() = default;

  HRESULT QueryInterface(const GUID& iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || (index_ >= 0 && iid == IID_HOST[index_])) {
      *out = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override {
    if (refs_ == 0) return 0;
    if (index_ >= 0) connection_.OnInterfaceReleased(index_);
    return --refs_;
  }

 protected:
  ClientConnection& connection_;
  Host& host() { return connection_.host(); }
  int32_t Fault(const char* operation) { return host().faults().Check(operation); }

 private:
  int index_;
  uint32_t refs_ = 0;
};

struct HeldInterface final : Counted<IUnknown> {
  using Counted::Counted;
};

class MainInterface final : public Counted<ITolvaneApi> {
 public:
  using Counted::Counted;

  int32_t RegisterClient(ITolvaneNotifications0* notifications, uint32_t version,
                         const TClientInfoList* info) override {
    if (int32_t e = Fault("RegisterClient")) return e;
    connection_.OnRegister(notifications, version, info);
    return 0;
  }

  int32_t GetInt(ObjectId doc, ObjectId obj, int32_t prop, int32_t* out) override {
    Value v;
    if (int32_t e = Get("GetInt", doc, obj, prop, VT_INT, v)) return e;
    *out = v.i;
    return 0;
  }
  int32_t GetId(ObjectId doc, ObjectId obj, int32_t prop, ObjectId* out) override {
    Value v;
    if (int32_t e = Get("GetId", doc, obj, prop, VT_ID, v)) return e;
    *out = v.id;
    return 0;
  }
  int32_t GetString(ObjectId doc, ObjectId obj, int32_t prop, char** out) override {
    Value v;
    if (int32_t e = Get("GetString", doc, obj, prop, VT_STRING, v)) return e;
    *out = connection_.Hand(PackString(v.s));
    return 0;
  }
  int32_t GetLongInt(ObjectId doc, ObjectId obj, int32_t prop, int64_t* out) override {
    Value v;
    if (int32_t e = Get("GetLongInt", doc, obj, prop, VT_NONE, v)) return e;
    if (v.type == VT_LONG_INT) {
      *out = v.l;
    } else if (v.type == VT_INT) {
      *out = v.i;
    } else {
      return ERR_BAD_TYPE;
    }
    return 0;
  }
  int32_t GetTextRange(ObjectId doc, ObjectId obj, int32_t prop, TTextRange* out) override {
    Value v;
    if (int32_t e = Get("GetTextRange", doc, obj, prop, VT_TEXT_RANGE, v)) return e;
    *out = v.range;
    return 0;
  }
  int32_t GetPropVal(ObjectId doc, ObjectId obj, int32_t prop, TValue** out) override {
    Value v;
    if (int32_t e = Get("GetPropVal", doc, obj, prop, VT_NONE, v)) return e;
    *out = connection_.Hand(PackValue(prop, v));
    return 0;
  }
  int32_t GetList(ObjectId doc, ObjectId obj, int32_t prop, TValue** out) override {
    Value v;
    if (int32_t e = Get("GetList", doc, obj, prop, VT_NONE, v)) return e;
    if (v.type != VT_INTS && v.type != VT_IDS && v.type != VT_STRINGS) return ERR_BAD_TYPE;
    *out = connection_.Hand(PackValue(prop, v));
    return 0;
  }
  int32_t SetInt(ObjectId doc, ObjectId obj, int32_t prop, int32_t value) override {
    return Set("SetInt", doc, obj, prop, Value::Int(value));
  }
  int32_t SetId(ObjectId doc, ObjectId obj, int32_t prop, ObjectId value) override {
    return Set("SetId", doc, obj, prop, Value::Id(value));
  }
  int32_t SetString(ObjectId doc, ObjectId obj, int32_t prop, const char* value) override {
    if (!value) return ERR_BAD_VALUE;
    return Set("SetString", doc, obj, prop, Value::String(value));
  }
  int32_t SetTextRange(ObjectId doc, ObjectId obj, int32_t prop, const TTextRange* value) override {
    if (!value) return ERR_BAD_VALUE;
    return Set("SetTextRange", doc, obj, prop, Value::Range(*value));
  }
  int32_t SetPropVal(ObjectId doc, ObjectId obj, const TValue* value) override {
    if (!value) return ERR_BAD_VALUE;
    return Set("SetPropVal", doc, obj, value->property, UnpackValue(*value));
  }
  int32_t GetProps(ObjectId doc, ObjectId obj, TPropList** out) override {
    if (int32_t e = Fault("GetProps")) return e;
    std::vector<PropValue> props;
    if (int32_t e = host().engine().GetProps(doc, obj, props)) return e;
    *out = connection_.Hand(PackPropList(props));
    return 0;
  }

  int32_t GetNamedObject(ObjectId doc, int32_t type, const char* name, ObjectId* out) override {
    if (int32_t e = Fault("GetNamedObject")) return e;
    if (!name || !out) return ERR_BAD_NAME;
    if (type == OBJ_MENU || type == OBJ_MENU_ITEM || type == OBJ_COMMAND) {
      return host().ui().GetNamedObject(doc, type, name, *out);
    }
    return host().engine().GetNamedObject(doc, type, name, *out);
  }
  int32_t NewNamedObject(ObjectId doc, int32_t type, const char* name, ObjectId* out) override {
    if (int32_t e = Fault("NewNamedObject")) return e;
    if (!name || !out) return ERR_BAD_NAME;
    return host().engine().NewNamedObject(doc, type, name, *out);
  }
  int32_t NewAnchoredObject(ObjectId doc, int32_t type, const TTextLoc* loc,
                            ObjectId* out) override {
    if (int32_t e = Fault("NewAnchoredObject")) return e;
    if (!loc || !out) return ERR_BAD_LOCATION;
    return host().engine().NewAnchoredObject(doc, type, *loc, *out);
  }
  int32_t GetObjectByUniqueId(ObjectId doc, int32_t type, int32_t unique, ObjectId* out) override {
    if (int32_t e = Fault("GetObjectByUniqueId")) return e;
    if (!out) return ERR_BAD_VALUE;
    return host().engine().GetObjectByUniqueId(doc, type, unique, *out);
  }

  int32_t GetText(ObjectId doc, ObjectId obj, uint32_t flags, TTextItems** out) override {
    return GetTextEx(doc, obj, flags, TIO_NONE, out);
  }
  int32_t GetTextEx(ObjectId doc, ObjectId obj, uint32_t flags, uint32_t options,
                    TTextItems** out) override {
    if (int32_t e = Fault("GetText")) return e;
    std::vector<TextItem> items;
    if (int32_t e = host().engine().GetText(doc, obj, flags, options, items)) return e;
    *out = connection_.Hand(PackTextItems(items));
    return 0;
  }
  int32_t GetTextInRange(ObjectId doc, const TTextRange* range, uint32_t flags,
                         TTextItems** out) override {
    return GetTextInRangeEx(doc, range, flags, TIO_NONE, out);
  }
  int32_t GetTextInRangeEx(ObjectId doc, const TTextRange* range, uint32_t flags, uint32_t options,
                           TTextItems** out) override {
    if (int32_t e = Fault("GetTextInRange")) return e;
    if (!range) return ERR_BAD_LOCATION;
    std::vector<TextItem> items;
    if (int32_t e = host().engine().GetTextInRange(doc, *range, flags, options, items)) return e;
    *out = connection_.Hand(PackTextItems(items));
    return 0;
  }
  int32_t AddText(ObjectId doc, const TTextLoc* loc, const char* text, TTextLoc* after) override {
    if (int32_t e = Fault("AddText")) return e;
    if (!loc || !text || !after) return ERR_BAD_VALUE;
    return host().engine().AddText(doc, *loc, text, *after);
  }
  int32_t GetTextPropVal(ObjectId doc, const TTextLoc* loc, int32_t prop, TValue** out) override {
    if (int32_t e = Fault("GetTextPropVal")) return e;
    if (!loc) return ERR_BAD_LOCATION;
    Value v;
    if (int32_t e = host().engine().GetTextProp(doc, *loc, prop, v)) return e;
    *out = connection_.Hand(PackValue(prop, v));
    return 0;
  }
  int32_t SetTextPropVal(ObjectId doc, const TTextRange* range, const TValue* value) override {
    if (int32_t e = Fault("SetTextPropVal")) return e;
    if (!range || !value) return ERR_BAD_VALUE;
    return host().engine().SetTextProps(doc, *range, {{value->property, UnpackValue(*value)}});
  }
  int32_t SetTextProps(ObjectId doc, const TTextRange* range, const TPropList* props) override {
    if (int32_t e = Fault("SetTextProps")) return e;
    if (!range || !props) return ERR_BAD_VALUE;
    return host().engine().SetTextProps(doc, *range, UnpackPropList(props));
  }
  int32_t ObjectAtTextLoc(ObjectId doc, const TTextLoc* loc, ObjectId out[2]) override {
    if (int32_t e = Fault("ObjectAtTextLoc")) return e;
    if (!loc || !out) return ERR_BAD_LOCATION;
    return host().engine().ObjectAtTextLoc(doc, *loc, out[0], out[1]);
  }

  int32_t OpenFile(const char* path, const TPropList* params, TPropList** returnParams,
                   ObjectId* out) override {
    if (int32_t e = Fault("OpenFile")) return e;
    if (!path || !out) return ERR_BAD_NAME;
    std::vector<PropValue> returned;
    const int32_t e = host().engine().OpenFile(path, UnpackPropList(params), *out, returned);
    if (returnParams) *returnParams = connection_.Hand(PackPropList(returned));
    return e;
  }
  int32_t Close(ObjectId obj, int32_t flags) override {
    if (int32_t e = Fault("Close")) return e;
    if (DialogLayer::Owns(obj)) return host().dialogs().Close(obj);
    return host().engine().Close(obj, flags);
  }
  int32_t Redisplay(ObjectId doc) override {
    if (int32_t e = Fault("Redisplay")) return e;
    return host().engine().Redisplay(doc);
  }
  int32_t Reformat(ObjectId doc) override {
    if (int32_t e = Fault("Reformat")) return e;
    return host().engine().Reformat(doc);
  }

  int32_t DefineCommand(int32_t command, const char* tag, const char* label, const char* shortcut,
                        ObjectId* out) override {
    if (int32_t e = Fault("DefineCommand")) return e;
    if (!tag || !out) return ERR_BAD_NAME;
    return host().ui().DefineCommand(connection_.index(), command, tag, label ? label : "",
                                     shortcut ? shortcut : "", *out);
  }
  int32_t AddCommandToMenu(ObjectId menu, ObjectId command) override {
    if (int32_t e = Fault("AddCommandToMenu")) return e;
    return host().ui().AddCommandToMenu(menu, command);
  }
  int32_t RequestNotification(int32_t notification, int32_t on) override {
    if (int32_t e = Fault("RequestNotification")) return e;
    if (on) {
      notifications_.push_back(notification);
    } else {
      std::erase(notifications_, notification);
    }
    return 0;
  }
  int32_t ReturnValue(int32_t value) override {
    if (int32_t e = Fault("ReturnValue")) return e;
    connection_.SetReturnValue(value);
    return 0;
  }
  int32_t GetClientPath(char** out) override {
    if (int32_t e = Fault("GetClientPath")) return e;
    *out = connection_.Hand(PackString(connection_.path()));
    return 0;
  }

  int32_t Alert(const char* text, int32_t kind, int32_t* answer) override {
    if (int32_t e = Fault("Alert")) return e;
    const std::string shown = text ? text : "";
    const int32_t given = host().responder().AnswerAlert(shown, kind);
    host().recorder().alerts.push_back({shown, kind, given});
    if (answer) *answer = given;
    return 0;
  }
  int32_t PrintConsole(const char* text) override {
    if (int32_t e = Fault("PrintConsole")) return e;
    host().recorder().console += text ? text : "";
    return 0;
  }
  int32_t OpenDialogResource(int32_t kind, const char* name, ObjectId* out) override {
    if (int32_t e = Fault("OpenDialogResource")) return e;
    if (!name || !out) return ERR_BAD_NAME;
    host().recorder().dialogsOpened.push_back(name);
    if (kind != DIALOG_RESOURCE) return ERR_BAD_VALUE;
    return host().dialogs().Open(connection_, name, *out);
  }
  int32_t DialogItem(ObjectId dialog, int32_t item, ObjectId* out) override {
    if (int32_t e = Fault("DialogItem")) return e;
    if (!out) return ERR_BAD_VALUE;
    return host().dialogs().Item(dialog, item, *out);
  }
  int32_t ModalDialog(int32_t dialogNumber, ObjectId dialog) override {
    if (int32_t e = Fault("ModalDialog")) return e;
    return host().dialogs().Run(connection_, dialogNumber, dialog);
  }

  bool Requested(int32_t notification) const {
    return std::find(notifications_.begin(), notifications_.end(), notification) !=
           notifications_.end();
  }

 private:
  bool IsUi(ObjectId doc, ObjectId obj, int32_t prop) const {
    return UiRegistry::Owns(obj) || (prop == P_MENU_POSITION && UiRegistry::Owns(doc));
  }
  int32_t Get(const char* operation, ObjectId doc, ObjectId obj, int32_t prop, int32_t type,
              Value& out) {
    if (int32_t e = Fault(operation)) return e;
    const int32_t e = DialogLayer::Owns(obj) ? host().dialogs().GetProp(obj, prop, out)
                      : IsUi(doc, obj, prop) ? host().ui().GetProp(doc, obj, prop, out)
                                             : host().engine().GetProp(doc, obj, prop, out);
    if (e) return e;
    if (type != VT_NONE && out.type != type) return ERR_BAD_TYPE;
    return 0;
  }
  int32_t Set(const char* operation, ObjectId doc, ObjectId obj, int32_t prop, const Value& value) {
    if (int32_t e = Fault(operation)) return e;
    if (DialogLayer::Owns(obj)) return host().dialogs().SetProp(obj, prop, value);
    return IsUi(doc, obj, prop) ? host().ui().SetProp(doc, obj, prop, value)
                                : host().engine().SetProp(doc, obj, prop, value);
  }

  std::vector<int32_t> notifications_;
};

class UnicodeInterface final : public Counted<ITolvaneUnicode> {
 public:
  using Counted::Counted;
  int32_t EnableUnicode(int32_t on) override {
    if (int32_t e = Fault("EnableUnicode")) return e;
    enabled = on != 0;
    return 0;
  }
  bool enabled = false;
};

class FileChooserInterface final : public Counted<ITolvaneFileChooser> {
 public:
  using Counted::Counted;
  int32_t ChooseFile(char** outPath, const char* title, const char* directory,
                     const char* defaultName, int32_t, const char*, const char*,
                     int32_t* result) override {
    if (int32_t e = Fault("ChooseFile")) return e;
    auto chosen = host().responder().ChooseFile(title ? title : "", directory ? directory : "",
                                                defaultName ? defaultName : "");
    if (result) *result = chosen ? 0 : -1;
    if (chosen && outPath) *outPath = connection_.Hand(PackString(*chosen));
    return 0;
  }
};

class UsageInterface final : public Counted<ITolvaneUsage> {
 public:
  using Counted::Counted;
  int32_t UsageEvent(const char* category, const char* feature, const char* event) override {
    if (int32_t e = Fault("UsageEvent")) return e;
    host().recorder().usage.push_back(
        {category ? category : "", feature ? feature : "", event ? event : ""});
    return 0;
  }
};

class TextTestInterface final : public Counted<ITolvaneTextLocTest> {
 public:
  using Counted::Counted;
  int32_t TestTextLocs(ObjectId doc, const TTextLoc* a, const TTextLoc* b, int32_t* out) override {
    if (int32_t e = Fault("TestTextLocs")) return e;
    if (!a || !b || !out) return ERR_BAD_LOCATION;
    return host().engine().TestTextLocs(doc, *a, *b, *out);
  }
};

class MemoryInterface final : public Counted<ITolvaneMemory> {
 public:
  using Counted::Counted;
  HRESULT HostOwnsMemory(int32_t which) override {
    return which == 1 && host().handshake().hostOwnsMemory ? S_OK : S_FALSE;
  }
};

class ModuleInterface final : public Counted<ITolvaneModule> {
 public:
  using Counted::Counted;
  HRESULT SetClientModule(void* module) override {
    connection_.OnClientModule(module);
    return S_OK;
  }
};

class Provider final : public Counted<IUnknown> {
 public:
  Provider(ClientConnection& connection, IUnknown* const* interfaces)
      : Counted(connection, -1), interfaces_(interfaces) {}
  HRESULT QueryInterface(const GUID& iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (int i = 0; i < HOST_IF_COUNT; ++i) {
      if (iid == IID_HOST[i] && host().handshake().supplied.test(static_cast<size_t>(i))) {
        return interfaces_[i]->QueryInterface(iid, out);
      }
    }
    return E_NOINTERFACE;
  }

 private:
  IUnknown* const* interfaces_;
};

class KeepAlive final : public Counted<IUnknown> {
 public:
  explicit KeepAlive(ClientConnection& connection) : Counted(connection, -1) {}
  uint32_t AddRef() override {
    connection_.OnKeepAlive(1);
    return Counted::AddRef();
  }
  uint32_t Release() override {
    connection_.OnKeepAlive(-1);
    return Counted::Release();
  }
};

}  // namespace

struct HostInterfaceSet::Objects {
  explicit Objects(ClientConnection& c)
      : main(c, HOST_IF_MAIN),
        unicode(c, HOST_IF_UNICODE),
        files(c, HOST_IF_FILES),
        usage(c, HOST_IF_USAGE),
        textTest(c, HOST_IF_TEXT_TEST),
        memory(c, HOST_IF_MEMORY),
        module(c, HOST_IF_MODULE),
        provider(c, table),
        keepAlive(c) {
    for (int i = 0; i < HOST_IF_COUNT; ++i) held.push_back(std::make_unique<HeldInterface>(c, i));
    for (int i = 0; i < HOST_IF_COUNT; ++i) table[i] = held[static_cast<size_t>(i)].get();
    table[HOST_IF_MAIN] = &main;
    table[HOST_IF_UNICODE] = &unicode;
    table[HOST_IF_FILES] = &files;
    table[HOST_IF_USAGE] = &usage;
    table[HOST_IF_TEXT_TEST] = &textTest;
    table[HOST_IF_MEMORY] = &memory;
    table[HOST_IF_MODULE] = &module;
  }

  IUnknown* table[HOST_IF_COUNT] = {};
  std::vector<std::unique_ptr<HeldInterface>> held;
  MainInterface main;
  UnicodeInterface unicode;
  FileChooserInterface files;
  UsageInterface usage;
  TextTestInterface textTest;
  MemoryInterface memory;
  ModuleInterface module;
  Provider provider;
  KeepAlive keepAlive;
};

HostInterfaceSet::HostInterfaceSet(ClientConnection& connection)
    : objects_(std::make_unique<Objects>(connection)) {}

HostInterfaceSet::~HostInterfaceSet() = default;

IUnknown* HostInterfaceSet::provider() {
  return &objects_->provider;
}
IUnknown* HostInterfaceSet::keepAlive() {
  return &objects_->keepAlive;
}

bool HostInterfaceSet::NotificationRequested(int32_t notification) const {
  return objects_->main.Requested(notification);
}

bool HostInterfaceSet::UnicodeEnabled() const {
  return objects_->unicode.enabled;
}

}  // namespace tlhost
