#include "client/notifications.h"

#include <cstring>
#include <string>

#include "client/handlers.h"
#include "hostlink/host_link.h"
#include "platform/win/module.h"
#include "platform/win/resources.h"
#include "platform/win/task_allocator.h"
#include "support/ui_strings.h"

namespace osprevan::client {

HRESULT ComUltraliteC::QueryInterface(const GUID& iid, void** out) {
  if (!out) return tolvane::E_POINTER;
  *out = FindInterface(iid);
  if (!*out) return tolvane::E_NOINTERFACE;
  AddRef();
  return tolvane::S_OK;
}

uint32_t ComUltraliteC::AddRef() {
  return ++refCount_;
}

uint32_t ComUltraliteC::Release() {
  if (refCount_ == 0) return 0;  // a surplus release must not wrap the count
  if (--refCount_ != 0) return refCount_;
  // Guard the count while the may-delete test runs, so a nested AddRef/Release pair
  // inside it cannot destroy the object a second time.
  refCount_ += 100;
  if (MayDelete()) {
    delete this;
    return 0;
  }
  refCount_ -= 100;
  return 0;
}

void* TlApiInterfacesC::FindInterface(const GUID& iid) {
  if (iid == tolvane::IID_ITolvaneCMSNotifications0) {
    return static_cast<tolvane::ITolvaneCMSNotifications0*>(this);
  }
  if (iid == tolvane::IID_ITolvaneNotifications0 || iid == tolvane::IID_IUnknown) {
    return static_cast<tolvane::ITolvaneNotifications0*>(this);
  }
  if (iid == tolvane::IID_ITolvaneNotifications1) {
    return static_cast<tolvane::ITolvaneNotifications1*>(this);
  }
  return nullptr;
}

TolvaneNotificationsC::~TolvaneNotificationsC() {
  hostlink::HostLink& link = hostlink::Link();
  if (link.notifications == this) link.notifications = nullptr;
  for (tolvane::IUnknown*& slot : link.interfaces) {
    if (slot) slot->Release();
    slot = nullptr;
  }
  if (link.keepAlive) link.keepAlive->Release();
  link.keepAlive = nullptr;
}

HRESULT TolvaneNotificationsC::CMSCommand(void*, tolvane::TCmsResult* result) {
  if (result) *result = tolvane::TCmsResult{0, nullptr, {0, nullptr}};
  return tolvane::S_OK;
}

HRESULT TolvaneNotificationsC::Initialize(int32_t initKind) {
  if (auto handler = CallbackHandlers().initialize) handler(initKind);
  return tolvane::S_OK;
}

HRESULT TolvaneNotificationsC::Quit() {
  return tolvane::S_OK;
}

HRESULT TolvaneNotificationsC::Command(int32_t command) {
  if (auto handler = CallbackHandlers().command) handler(command);
  return tolvane::S_OK;
}

HRESULT TolvaneNotificationsC::Message(void*) {
  return tolvane::S_OK;
}

HRESULT TolvaneNotificationsC::DialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers) {
  if (auto handler = CallbackHandlers().dialogEvent) handler(dialogNumber, item, modifiers);
  return tolvane::S_OK;
}

HRESULT TolvaneNotificationsC::Notify(int32_t notification, tolvane::ObjectId object,
                                      const char* text, int32_t number) {
  auto handler = CallbackHandlers().notify;
  if (!handler) return tolvane::S_OK;
  NotifyArgument argument;
  if (notification == tolvane::NOTE_FIELD_LIST) {
    const std::vector<std::string> fields = SplitNotifyFields(text);
    argument.fields = &fields;
    handler(notification, object, argument, number);
  } else {
    argument.text = text;
    handler(notification, object, argument, number);
  }
  return tolvane::S_OK;
}

HRESULT TolvaneNotificationsC::GetResource(int32_t type, const char* name,
                                           tolvane::TResourceBlock* out) {
  if (!out) return tolvane::E_POINTER;
  const void* bytes = nullptr;
  uint32_t size = 0;
  std::string path;
  if (type != 0) {
    win::ResourceData data;
    if (!name ||
        !win::FindResourceForLanguage(hostlink::Link().module, static_cast<uint16_t>(type),
                                      std::string(name), support::ResourceLanguage(), data)) {
      return tolvane::E_FAIL;
    }
    bytes = data.bytes;
    size = data.size;
  } else {
    if (!win::GetModuleFileName(hostlink::Link().module, path) || path.empty())
      return tolvane::E_FAIL;
    bytes = path.c_str();
    size = static_cast<uint32_t>(path.size() + 1);  // the terminating zero is counted
  }
  void* block = CoTaskMemAlloc(size);
  if (!block) return tolvane::E_FAIL;
  std::memcpy(block, bytes, size);
  out->size = size;
  out->data = block;
  return tolvane::S_OK;
}

HRESULT TolvaneNotificationsC::HtmlDialogEventEx(void*) {
  return tolvane::S_OK;
}

}  // namespace osprevan::client
