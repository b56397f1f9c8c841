#include "client/commands.h"

#include <string>
#include <vector>

#include "client/handlers.h"
#include "client/link_init.h"
#include "hostlink/call_refusal.h"
#include "hostlink/dialog_events.h"
#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"
#include "hostlink/messages.h"
#include "pdf/pdf_library.h"
#include "platform/tlruntime/tl_runtime.h"
#include "session/import_request.h"
#include "session/import_session.h"
#include "session/preferences.h"
#include "support/message_ids.h"
#include "support/text_encoding.h"
#include "support/ui_strings.h"
#include "support/unicode_text.h"
#include "ui/first_use_warning.h"

namespace osprevan::client {
namespace {

using tolvane::ObjectId;

constexpr size_t kLabelCapacity = 1024;
constexpr int32_t kCommandAttribute1Value = 28;

const char* LanguageName(int32_t language) {
  switch (language) {
    case tolvane::LANG_JAPANESE:
      return "japanese";
    case tolvane::LANG_TRADITIONAL_CHINESE:
      return "traditionalchinese";
    case tolvane::LANG_SIMPLIFIED_CHINESE:
      return "simplifiedchinese";
    case tolvane::LANG_KOREAN:
      return "korean";
    case tolvane::LANG_GERMAN:
      return "german";
    case tolvane::LANG_FRENCH:
      return "french";
    default:
      return "english";
  }
}

void RegisterImportCommand(int32_t attribute2) {
  const ObjectId importMenu = HostGetNamedObject(0, tolvane::OBJ_MENU, "ImportMenu");
  const ObjectId separator = HostGetNamedObject(importMenu, tolvane::OBJ_MENU_ITEM, "Separator1");
  const std::string label = support::UiString(support::MSG_COMMAND_LABEL, kLabelCapacity);
  const ObjectId command = HostDefineCommand(kImportCommand, kCommandTag, label, kCommandShortcut);
  HostAddCommandToMenu(importMenu, command);
  HostSetInt(0, command, tolvane::P_CMD_ATTRIBUTE_1, kCommandAttribute1Value);
  HostSetId(importMenu, command, tolvane::P_MENU_POSITION, separator);
  HostSetInt(0, command, tolvane::P_CMD_ATTRIBUTE_2, attribute2);

  const ObjectId bookMenu = HostGetNamedObject(0, tolvane::OBJ_MENU, "BookImportMenu");
  HostAddCommandToMenu(bookMenu, command);
  HostSetId(bookMenu, command, tolvane::P_MENU_POSITION, separator);
  HostSetInt(0, command, tolvane::P_CMD_ATTRIBUTE_2, attribute2);

  HostRequestNotification(tolvane::NOTE_CLIENT_CALL, 1);

  const std::string product = HostGetString(0, 0, tolvane::P_SESSION_PRODUCT_NAME);
  support::SetEditionFlag(support::EqualIgnoringCase(product, "Tolvane Brevis") ? 1 : 0);
}

// Keeps the runtime's memory services started for exactly the duration of one command.
class MemoryServices {
 public:
  MemoryServices() { TlMemStartup(); }
  ~MemoryServices() { TlMemShutdown(); }
  MemoryServices(const MemoryServices&) = delete;
  MemoryServices& operator=(const MemoryServices&) = delete;
};

void RunImportCommand(session::ImportRequest request) {
  const hostlink::Caller& caller = request.caller;
  HostUsageEvent("TolvaneCore", "ReviewWorkflow", "Osprevan");
  ObjectId target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_DOC);
  if (!target) target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_BOOK);
  if (!target) {
    // The refusal is all a caller gets: nothing ran that could have failed further.
    (void)hostlink::Refuse(caller, support::MSG_NO_ACTIVE_DOCUMENT, hostlink::kRefusalNoDocument,
                           "no active document or book");
    return;
  }
  if (hostlink::IsDitaMap(target)) {
    (void)hostlink::Refuse(caller, support::MSG_DITA_MAP, hostlink::kRefusalMap,
                           "the active document is a map");
    return;
  }
  if (!pdf::PdfLibraryLoad().ok()) return;
  session::Preferences& preferences = request.preferences;
  // The warning is for a person at the host; another client's import goes on without it.
  bool proceed = true;
  if (!caller.isOtherClient && preferences.dontShowWarning == 0) {
    const int32_t before = preferences.dontShowWarning;
    proceed = ui::ShowFirstUseWarning(preferences.dontShowWarning) == hostlink::kAnswerContinue;
    if (proceed && preferences.dontShowWarning != before)
      // Not written, the warning only shows again at the next import.
      (void)session::WritePreferences(preferences);
  }
  if (proceed) {
    const bool fromClient = caller.isOtherClient;
    session::ImportSession importSession(std::move(request));
    const support::Status imported = session::RunImport(importSession);
    // The user was told at the step that failed; a calling client also gets the reason.
    if (!imported.ok() && fromClient)
      HostPrintConsole("\n" + support::UiString(support::MSG_IMPORT_STOPPED) + " " +
                       support::UiReason(imported));
  }
  pdf::PdfLibraryUnload();
}

// Runs the command as asked, with the preferences as they are now.
void RunCommand(int32_t command, session::ImportRequest request) {
  MemoryServices memory;
  // Without a preferences file the defaults stand.
  (void)session::ReadPreferences(request.preferences);
  if (command != kImportCommand) return;
  RunImportCommand(std::move(request));
}

}  // namespace

void TakeHostLanguage() {
  support::SetResourceLanguage("Kestrelan",
                               LanguageName(HostGetInt(0, 0, tolvane::P_SESSION_LANGUAGE)));
}

void OnInitialize(int32_t initKind) {
  InitializeLink();
  HostEnableUnicode(1);
  support::SelectEncoding("UTF-8");
  const int32_t attribute2 = HostGetInt(0, 0, tolvane::P_SESSION_STANDARD_MENUS) != 0 ? 1 : 3;
  TakeHostLanguage();
  if (HostGetInt(0, 0, tolvane::P_SESSION_VERSION_MAJOR) < 9) return;
  if (initKind != tolvane::INIT_STARTUP) return;
  RegisterImportCommand(attribute2);
}

void OnCommand(int32_t command) {
  RunCommand(command, session::ImportRequest{});
}

// The call's text: the PDF's path, then fields after the separator 0x1E that name where the
// summary file and the report go ("summary=PATH", "report=PATH"; an empty PATH for none), and
// "phases=yes" when the caller wants the time of each phase on the console.
// A field of another name is passed over, so that a caller may name more than this reads.
void TakeCallText(const char* text, session::ImportRequest& request) {
  const std::vector<std::string> fields = SplitNotifyFields(text);
  request.pdfPath = fields.front();
  for (size_t i = 1; i < fields.size(); ++i) {
    const std::string& field = fields[i];
    const size_t equals = field.find('=');
    const std::string name = field.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : field.substr(equals + 1);
    if (name == "summary") request.summaryPath = value;
    if (name == "report") request.reportPath = value;
    if (name == "phases") request.wantsPhases = value == "yes";
  }
}

void OnNotify(int32_t notification, ObjectId, const NotifyArgument& argument, int32_t) {
  if (notification != tolvane::NOTE_CLIENT_CALL) return;
  session::ImportRequest request;
  request.caller.isOtherClient = true;
  TakeCallText(argument.text, request);
  HostPrintConsole("\n" + support::UiString(support::MSG_CALLED_FROM_CLIENT));
  RunCommand(kImportCommand, std::move(request));
}

void InstallCommandHandlers() {
  Handlers& handlers = CallbackHandlers();
  handlers.initialize = OnInitialize;
  handlers.command = OnCommand;
  handlers.notify = OnNotify;
  handlers.dialogEvent = hostlink::DispatchDialogEvent;
}

}  // namespace osprevan::client
