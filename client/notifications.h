// The notification object the client registers with the host: the three notification
// interfaces on a small reference-counted base.
#pragma once

#include <cstdint>

#include "tolvane/interfaces.h"

namespace osprevan::client {

using tolvane::GUID;
using tolvane::HRESULT;

// Reference counting and interface lookup, in this slot order: QueryInterface, AddRef, Release,
// the identifier lookup, the may-delete test and the deleting destructor.
class ComUltraliteC {
 public:
  virtual HRESULT QueryInterface(const GUID& iid, void** out);
  virtual uint32_t AddRef();
  virtual uint32_t Release();
  virtual void* FindInterface(const GUID& iid) = 0;
  virtual int32_t MayDelete() { return 1; }
  virtual ~ComUltraliteC() = default;

  uint32_t RefCount() const { return refCount_; }

 private:
  uint32_t refCount_ = 1;
};

class TlApiInterfacesC : public ComUltraliteC,
                         public tolvane::ITolvaneCMSNotifications0,
                         public tolvane::ITolvaneNotifications0,
                         public tolvane::ITolvaneNotifications1 {
 public:
  HRESULT QueryInterface(const GUID& iid, void** out) override {
    return ComUltraliteC::QueryInterface(iid, out);
  }
  uint32_t AddRef() override { return ComUltraliteC::AddRef(); }
  uint32_t Release() override { return ComUltraliteC::Release(); }
  void* FindInterface(const GUID& iid) override;
};

class TolvaneNotificationsC final : public TlApiInterfacesC {
 public:
  ~TolvaneNotificationsC() override;

  HRESULT CMSCommand(void* commandData, tolvane::TCmsResult* result) override;
  HRESULT Initialize(int32_t initKind) override;
  HRESULT Quit() override;
  HRESULT Command(int32_t command) override;
  HRESULT Message(void* messageData) override;
  HRESULT DialogEvent(int32_t dialogNumber, int32_t item, int32_t modifiers) override;
  HRESULT Notify(int32_t notification, tolvane::ObjectId object, const char* text,
                 int32_t number) override;
  HRESULT GetResource(int32_t type, const char* name, tolvane::TResourceBlock* out) override;
  HRESULT HtmlDialogEventEx(void* eventData) override;
};

}  // namespace osprevan::client
