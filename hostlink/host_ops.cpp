#include "hostlink/host_ops.h"

#include <memory>

#include "hostlink/host_link.h"
#include "platform/win/task_allocator.h"

namespace osprevan {
namespace {

using hostlink::Link;

// Runs one call on an interface: absent interface -> -1, a non-zero answer -> that number.
template <typename Interface, typename Call>
bool Invoke(int index, Call call) {
  auto* target = Link().At<Interface>(index);
  if (!target) {
    Link().lastHostError = tolvane::ERR_FAILED;
    return false;
  }
  const int32_t result = call(target);
  Link().lastHostError = result;
  return result == 0;
}

template <typename Call>
bool InvokeMain(Call call) {
  return Invoke<tolvane::ITolvaneApi>(tolvane::HOST_IF_MAIN, call);
}

// A block the host answered belongs to the client unless the host keeps returned memory.
void ReleaseHostBlock(void* block) {
  if (block && !Link().sharedMemory) CoTaskMemFree(block);
}

std::string TakeString(char* block) {
  std::string out = block ? std::string(block) : std::string();
  ReleaseHostBlock(block);
  return out;
}

HostValue TakeValue(tolvane::TValue* block) {
  HostValue out = block ? hostlink::CopyValue(*block) : HostValue{};
  ReleaseHostBlock(block);
  return out;
}

HostTextItems TakeItems(tolvane::TTextItems* block) {
  HostTextItems out = block ? hostlink::CopyTextItems(*block) : HostTextItems{};
  ReleaseHostBlock(block);
  return out;
}

HostPropList TakePropList(tolvane::TPropList* block) {
  HostPropList out = block ? hostlink::CopyPropList(*block) : HostPropList{};
  ReleaseHostBlock(block);
  return out;
}

// A property list passed to the host, kept alive for the call.
class OutgoingPropList {
 public:
  explicit OutgoingPropList(const HostPropList& props) {
    for (const HostValue& v : props) {
      values_.push_back(std::make_unique<hostlink::OutgoingValue>(v));
      records_.push_back(*values_.back()->get());
    }
    list_ = {static_cast<uint32_t>(records_.size()), records_.data()};
  }
  const tolvane::TPropList* get() const { return &list_; }

 private:
  std::vector<std::unique_ptr<hostlink::OutgoingValue>> values_;
  std::vector<tolvane::TValue> records_;
  tolvane::TPropList list_{};
};

}  // namespace

int32_t LastHostError() {
  return Link().lastHostError;
}
void ClearLastHostError() {
  Link().lastHostError = 0;
}

int32_t HostGetInt(ObjectId doc, ObjectId obj, int32_t prop) {
  int32_t value = 0;
  if (!InvokeMain([&](auto* api) { return api->GetInt(doc, obj, prop, &value); })) return 0;
  return value;
}

ObjectId HostGetId(ObjectId doc, ObjectId obj, int32_t prop) {
  ObjectId value = 0;
  if (!InvokeMain([&](auto* api) { return api->GetId(doc, obj, prop, &value); })) return 0;
  return value;
}

std::string HostGetString(ObjectId doc, ObjectId obj, int32_t prop) {
  char* block = nullptr;
  const bool ok = InvokeMain([&](auto* api) { return api->GetString(doc, obj, prop, &block); });
  std::string out = TakeString(block);
  return ok ? out : std::string();
}

int64_t HostGetLongInt(ObjectId doc, ObjectId obj, int32_t prop) {
  int64_t value = 0;
  if (!InvokeMain([&](auto* api) { return api->GetLongInt(doc, obj, prop, &value); })) return 0;
  return value;
}

TTextRange HostGetTextRange(ObjectId doc, ObjectId obj, int32_t prop) {
  TTextRange value{{0, 0}, {0, 0}};
  if (!InvokeMain([&](auto* api) { return api->GetTextRange(doc, obj, prop, &value); })) {
    return TTextRange{{0, 0}, {0, 0}};
  }
  return value;
}

HostValue HostGetPropVal(ObjectId doc, ObjectId obj, int32_t prop) {
  tolvane::TValue* block = nullptr;
  const bool ok = InvokeMain([&](auto* api) { return api->GetPropVal(doc, obj, prop, &block); });
  HostValue out = TakeValue(block);
  return ok ? out : HostValue{};
}

HostValue HostGetList(ObjectId doc, ObjectId obj, int32_t prop) {
  tolvane::TValue* block = nullptr;
  const bool ok = InvokeMain([&](auto* api) { return api->GetList(doc, obj, prop, &block); });
  HostValue out = TakeValue(block);
  return ok ? out : HostValue{};
}

void HostSetInt(ObjectId doc, ObjectId obj, int32_t prop, int32_t value) {
  InvokeMain([&](auto* api) { return api->SetInt(doc, obj, prop, value); });
}

void HostSetId(ObjectId doc, ObjectId obj, int32_t prop, ObjectId value) {
  InvokeMain([&](auto* api) { return api->SetId(doc, obj, prop, value); });
}

void HostSetString(ObjectId doc, ObjectId obj, int32_t prop, const std::string& value) {
  InvokeMain([&](auto* api) { return api->SetString(doc, obj, prop, value.c_str()); });
}

void HostSetTextRange(ObjectId doc, ObjectId obj, int32_t prop, const TTextRange& value) {
  InvokeMain([&](auto* api) { return api->SetTextRange(doc, obj, prop, &value); });
}

void HostSetPropVal(ObjectId doc, ObjectId obj, const HostValue& value) {
  hostlink::OutgoingValue out(value);
  InvokeMain([&](auto* api) { return api->SetPropVal(doc, obj, out.get()); });
}

HostPropList HostGetProps(ObjectId doc, ObjectId obj) {
  tolvane::TPropList* block = nullptr;
  const bool ok = InvokeMain([&](auto* api) { return api->GetProps(doc, obj, &block); });
  HostPropList out = TakePropList(block);
  return ok ? out : HostPropList{};
}

ObjectId HostGetNamedObject(ObjectId doc, int32_t type, const std::string& name) {
  ObjectId id = 0;
  if (!InvokeMain([&](auto* api) { return api->GetNamedObject(doc, type, name.c_str(), &id); })) {
    return 0;
  }
  return id;
}

ObjectId HostNewNamedObject(ObjectId doc, int32_t type, const std::string& name) {
  ObjectId id = 0;
  if (!InvokeMain([&](auto* api) { return api->NewNamedObject(doc, type, name.c_str(), &id); })) {
    return 0;
  }
  return id;
}

ObjectId HostNewAnchoredObject(ObjectId doc, int32_t type, const TTextLoc& loc) {
  ObjectId id = 0;
  if (!InvokeMain([&](auto* api) { return api->NewAnchoredObject(doc, type, &loc, &id); })) {
    return 0;
  }
  return id;
}

ObjectId HostGetObjectByUniqueId(ObjectId doc, int32_t type, int32_t unique) {
  ObjectId id = 0;
  if (!InvokeMain([&](auto* api) { return api->GetObjectByUniqueId(doc, type, unique, &id); })) {
    return 0;
  }
  return id;
}

HostTextItems HostGetText(ObjectId doc, ObjectId obj, uint32_t flags) {
  tolvane::TTextItems* block = nullptr;
  const bool ok = InvokeMain([&](auto* api) { return api->GetText(doc, obj, flags, &block); });
  HostTextItems out = TakeItems(block);
  return ok ? out : HostTextItems{};
}

HostTextItems HostGetTextEx(ObjectId doc, ObjectId obj, uint32_t flags, uint32_t options) {
  tolvane::TTextItems* block = nullptr;
  const bool ok =
      InvokeMain([&](auto* api) { return api->GetTextEx(doc, obj, flags, options, &block); });
  HostTextItems out = TakeItems(block);
  return ok ? out : HostTextItems{};
}

HostTextItems HostGetTextInRange(ObjectId doc, const TTextRange& range, uint32_t flags) {
  tolvane::TTextItems* block = nullptr;
  const bool ok =
      InvokeMain([&](auto* api) { return api->GetTextInRange(doc, &range, flags, &block); });
  HostTextItems out = TakeItems(block);
  return ok ? out : HostTextItems{};
}

HostTextItems HostGetTextInRangeEx(ObjectId doc, const TTextRange& range, uint32_t flags,
                                   uint32_t options) {
  tolvane::TTextItems* block = nullptr;
  const bool ok = InvokeMain(
      [&](auto* api) { return api->GetTextInRangeEx(doc, &range, flags, options, &block); });
  HostTextItems out = TakeItems(block);
  return ok ? out : HostTextItems{};
}

TTextLoc HostAddText(ObjectId doc, const TTextLoc& loc, const std::string& text) {
  TTextLoc after = loc;
  if (!InvokeMain([&](auto* api) { return api->AddText(doc, &loc, text.c_str(), &after); })) {
    return loc;
  }
  return after;
}

HostValue HostGetTextPropVal(ObjectId doc, const TTextLoc& loc, int32_t prop) {
  tolvane::TValue* block = nullptr;
  const bool ok =
      InvokeMain([&](auto* api) { return api->GetTextPropVal(doc, &loc, prop, &block); });
  HostValue out = TakeValue(block);
  return ok ? out : HostValue{};
}

void HostSetTextPropVal(ObjectId doc, const TTextRange& range, const HostValue& value) {
  hostlink::OutgoingValue out(value);
  InvokeMain([&](auto* api) { return api->SetTextPropVal(doc, &range, out.get()); });
}

void HostSetTextProps(ObjectId doc, const TTextRange& range, const HostPropList& props) {
  OutgoingPropList out(props);
  InvokeMain([&](auto* api) { return api->SetTextProps(doc, &range, out.get()); });
}

std::pair<ObjectId, ObjectId> HostObjectAtTextLoc(ObjectId doc, const TTextLoc& loc) {
  ObjectId out[2] = {0, 0};
  if (!InvokeMain([&](auto* api) { return api->ObjectAtTextLoc(doc, &loc, out); })) return {0, 0};
  return {out[0], out[1]};
}

int32_t HostTestTextLocs(ObjectId doc, const TTextLoc& a, const TTextLoc& b) {
  int32_t out = 0;
  if (!Invoke<tolvane::ITolvaneTextLocTest>(tolvane::HOST_IF_TEXT_TEST, [&](auto* test) {
        return test->TestTextLocs(doc, &a, &b, &out);
      })) {
    return 0;
  }
  return out;
}

ObjectId HostOpenFile(const std::string& path, const HostPropList& params,
                      HostPropList* returnParams) {
  OutgoingPropList out(params);
  tolvane::TPropList* returned = nullptr;
  ObjectId id = 0;
  const bool ok =
      InvokeMain([&](auto* api) { return api->OpenFile(path.c_str(), out.get(), &returned, &id); });
  HostPropList answers = TakePropList(returned);
  if (returnParams) *returnParams = std::move(answers);
  return ok ? id : 0;
}

int32_t HostClose(ObjectId obj, int32_t flags) {
  InvokeMain([&](auto* api) { return api->Close(obj, flags); });
  return Link().lastHostError;
}

void HostRedisplay(ObjectId doc) {
  InvokeMain([&](auto* api) { return api->Redisplay(doc); });
}

void HostReformat(ObjectId doc) {
  InvokeMain([&](auto* api) { return api->Reformat(doc); });
}

ObjectId HostDefineCommand(int32_t command, const std::string& tag, const std::string& label,
                           const std::string& shortcut) {
  ObjectId id = 0;
  if (!InvokeMain([&](auto* api) {
        return api->DefineCommand(command, tag.c_str(), label.c_str(), shortcut.c_str(), &id);
      })) {
    return 0;
  }
  return id;
}

void HostAddCommandToMenu(ObjectId menu, ObjectId command) {
  InvokeMain([&](auto* api) { return api->AddCommandToMenu(menu, command); });
}

void HostRequestNotification(int32_t notification, int32_t on) {
  InvokeMain([&](auto* api) { return api->RequestNotification(notification, on); });
}

void HostEnableUnicode(int32_t on) {
  Invoke<tolvane::ITolvaneUnicode>(tolvane::HOST_IF_UNICODE,
                                   [&](auto* unicode) { return unicode->EnableUnicode(on); });
}

void HostReturnValue(int32_t value) {
  InvokeMain([&](auto* api) { return api->ReturnValue(value); });
}

std::string HostGetClientPath() {
  char* block = nullptr;
  const bool ok = InvokeMain([&](auto* api) { return api->GetClientPath(&block); });
  std::string out = TakeString(block);
  return ok ? out : std::string();
}

int32_t HostAlert(const std::string& text, int32_t kind) {
  int32_t answer = 1;
  if (!InvokeMain([&](auto* api) { return api->Alert(text.c_str(), kind, &answer); })) return 1;
  return answer;
}

void HostPrintConsole(const std::string& text) {
  InvokeMain([&](auto* api) { return api->PrintConsole(text.c_str()); });
}

ObjectId HostOpenDialogResource(int32_t kind, const std::string& name) {
  ObjectId id = 0;
  if (!InvokeMain([&](auto* api) { return api->OpenDialogResource(kind, name.c_str(), &id); })) {
    return 0;
  }
  return id;
}

ObjectId HostDialogItem(ObjectId dialog, int32_t item) {
  ObjectId id = 0;
  if (!InvokeMain([&](auto* api) { return api->DialogItem(dialog, item, &id); })) return 0;
  return id;
}

void HostModalDialog(int32_t dialogNumber, ObjectId dialog) {
  InvokeMain([&](auto* api) { return api->ModalDialog(dialogNumber, dialog); });
}

int32_t HostChooseFile(std::string& path, const std::string& title, const std::string& directory,
                       const std::string& defaultName, int32_t mode, const std::string& helpText,
                       const std::string& typeFilter) {
  char* block = nullptr;
  int32_t result = -1;
  const bool ok = Invoke<tolvane::ITolvaneFileChooser>(tolvane::HOST_IF_FILES, [&](auto* files) {
    return files->ChooseFile(&block, title.c_str(), directory.c_str(), defaultName.c_str(), mode,
                             helpText.c_str(), typeFilter.c_str(), &result);
  });
  std::string chosen = TakeString(block);
  if (!ok || result != 0) return -1;
  path = std::move(chosen);
  return 0;
}

void HostUsageEvent(const std::string& category, const std::string& feature,
                    const std::string& event) {
  Invoke<tolvane::ITolvaneUsage>(tolvane::HOST_IF_USAGE, [&](auto* usage) {
    return usage->UsageEvent(category.c_str(), feature.c_str(), event.c_str());
  });
}

}  // namespace osprevan
