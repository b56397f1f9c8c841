// The host operations the plug-in uses, as thin wrappers over the host's interfaces. Every
// failing operation answers 0, an empty string or an empty list and sets lastHostError:
// -88 busy, -1 interface absent or call failed, otherwise the host's own number.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "hostlink/host_value.h"

namespace osprevan {

using hostlink::HostPropList;
using hostlink::HostTextItems;
using hostlink::HostValue;
using tolvane::ObjectId;
using tolvane::TTextLoc;
using tolvane::TTextRange;

int32_t LastHostError();
void ClearLastHostError();

int32_t HostGetInt(ObjectId doc, ObjectId obj, int32_t prop);
ObjectId HostGetId(ObjectId doc, ObjectId obj, int32_t prop);
std::string HostGetString(ObjectId doc, ObjectId obj, int32_t prop);
int64_t HostGetLongInt(ObjectId doc, ObjectId obj, int32_t prop);
TTextRange HostGetTextRange(ObjectId doc, ObjectId obj, int32_t prop);
HostValue HostGetPropVal(ObjectId doc, ObjectId obj, int32_t prop);
HostValue HostGetList(ObjectId doc, ObjectId obj, int32_t prop);
void HostSetInt(ObjectId doc, ObjectId obj, int32_t prop, int32_t value);
void HostSetId(ObjectId doc, ObjectId obj, int32_t prop, ObjectId value);
void HostSetString(ObjectId doc, ObjectId obj, int32_t prop, const std::string& value);
void HostSetTextRange(ObjectId doc, ObjectId obj, int32_t prop, const TTextRange& value);
void HostSetPropVal(ObjectId doc, ObjectId obj, const HostValue& value);
HostPropList HostGetProps(ObjectId doc, ObjectId obj);

ObjectId HostGetNamedObject(ObjectId doc, int32_t type, const std::string& name);
ObjectId HostNewNamedObject(ObjectId doc, int32_t type, const std::string& name);
ObjectId HostNewAnchoredObject(ObjectId doc, int32_t type, const TTextLoc& loc);
ObjectId HostGetObjectByUniqueId(ObjectId doc, int32_t type, int32_t unique);

HostTextItems HostGetText(ObjectId doc, ObjectId obj, uint32_t flags);
HostTextItems HostGetTextEx(ObjectId doc, ObjectId obj, uint32_t flags, uint32_t options);
HostTextItems HostGetTextInRange(ObjectId doc, const TTextRange& range, uint32_t flags);
HostTextItems HostGetTextInRangeEx(ObjectId doc, const TTextRange& range, uint32_t flags,
                                   uint32_t options);
// The location just after the new text; the given location when the call fails.
TTextLoc HostAddText(ObjectId doc, const TTextLoc& loc, const std::string& text);
HostValue HostGetTextPropVal(ObjectId doc, const TTextLoc& loc, int32_t prop);
void HostSetTextPropVal(ObjectId doc, const TTextRange& range, const HostValue& value);
void HostSetTextProps(ObjectId doc, const TTextRange& range, const HostPropList& props);
// First: the structure element at the location; second: the text object it lies in.
std::pair<ObjectId, ObjectId> HostObjectAtTextLoc(ObjectId doc, const TTextLoc& loc);
int32_t HostTestTextLocs(ObjectId doc, const TTextLoc& a, const TTextLoc& b);

ObjectId HostOpenFile(const std::string& path, const HostPropList& params,
                      HostPropList* returnParams);
int32_t HostClose(ObjectId obj, int32_t flags);
void HostRedisplay(ObjectId doc);
void HostReformat(ObjectId doc);

ObjectId HostDefineCommand(int32_t command, const std::string& tag, const std::string& label,
                           const std::string& shortcut);
void HostAddCommandToMenu(ObjectId menu, ObjectId command);
void HostRequestNotification(int32_t notification, int32_t on);
void HostEnableUnicode(int32_t on);
void HostReturnValue(int32_t value);
std::string HostGetClientPath();

// 0 for OK or Yes; non-zero for No or when the alert could not be shown.
int32_t HostAlert(const std::string& text, int32_t kind);
void HostPrintConsole(const std::string& text);
ObjectId HostOpenDialogResource(int32_t kind, const std::string& name);
ObjectId HostDialogItem(ObjectId dialog, int32_t item);
void HostModalDialog(int32_t dialogNumber, ObjectId dialog);
// 0 chosen (path set), -1 cancelled or failed.
int32_t HostChooseFile(std::string& path, const std::string& title, const std::string& directory,
                       const std::string& defaultName, int32_t mode, const std::string& helpText,
                       const std::string& typeFilter);
void HostUsageEvent(const std::string& category, const std::string& feature,
                    const std::string& event);

}  // namespace osprevan
