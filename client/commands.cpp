#include "client/commands.h"

#include <string>
#include <vector>

#include "client/handlers.h"
#include "client/link_init.h"
#include "hostlink/call_refusal.h"
#include "hostlink/command_state.h"
#include "hostlink/dialog_events.h"
#include "hostlink/document_structure.h"
#include "hostlink/host_ops.h"
#include "hostlink/messages.h"
#include "pdf/pdf_library.h"
#include "platform/tlruntime/tl_runtime.h"
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

void RunImportCommand() {
  HostUsageEvent("TolvaneCore", "ReviewWorkflow", "Osprevan");
  ObjectId target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_DOC);
  if (!target) target = HostGetId(0, 0, tolvane::P_SESSION_ACTIVE_BOOK);
  if (!target) {
    hostlink::ShowMessage(support::MSG_NO_ACTIVE_DOCUMENT);
    hostlink::AnswerRefusal(hostlink::kRefusalNoDocument);
    return;
  }
  if (hostlink::IsDitaMap(target)) {
    hostlink::ShowMessage(support::MSG_DITA_MAP);
    hostlink::AnswerRefusal(hostlink::kRefusalMap);
    return;
  }
  if (!pdf::PdfLibraryLoad().ok()) return;
  hostlink::CommandState& state = hostlink::Command();
  bool proceed = true;
  if (state.dontShowWarning == 0) {
    const int32_t before = state.dontShowWarning;
    proceed = ui::ShowFirstUseWarning(state.dontShowWarning) == hostlink::kAnswerContinue;
    if (proceed && state.dontShowWarning != before)
      // Not written, the warning only shows again at the next import.
      (void)session::WritePreferences({state.dontShowWarning, state.writeReport});
  }
  if (proceed) {
    session::ImportSession importSession;
    const support::Status imported = session::RunImport(importSession);
    // The user was told at the step that failed; a calling client also gets the reason.
    if (!imported.ok() && state.calledFromClient)
      HostPrintConsole("\n" + support::UiString(support::MSG_IMPORT_STOPPED) + " " +
                       support::UiReason(imported));
  }
  pdf::PdfLibraryUnload();
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
  MemoryServices memory;
  session::Preferences preferences;
  // Without a preferences file the defaults stand.
  (void)session::ReadPreferences(preferences);
  hostlink::Command().dontShowWarning = preferences.dontShowWarning;
  hostlink::Command().writeReport = preferences.writeReport;
  if (command != kImportCommand) return;
  RunImportCommand();
}

// The call's text: the PDF's path, then fields after the separator 0x1E that name where the
// summary file and the report go ("summary=PATH", "report=PATH"; an empty PATH for none), and
// "phases=yes" when the caller wants the time of each phase on the console.
// A field of another name is passed over, so that a caller may name more than this reads.
void TakeCallText(const char* text, hostlink::CommandState& state) {
  const std::vector<std::string> fields = SplitNotifyFields(text);
  state.callerPdfPath = fields.front();
  for (size_t i = 1; i < fields.size(); ++i) {
    const std::string& field = fields[i];
    const size_t equals = field.find('=');
    const std::string name = field.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : field.substr(equals + 1);
    if (name == "summary") state.callerSummaryPath = value;
    if (name == "report") state.callerReportPath = value;
    if (name == "phases") state.callerWantsPhases = value == "yes";
  }
}

void OnNotify(int32_t notification, ObjectId, const NotifyArgument& argument, int32_t) {
  if (notification != tolvane::NOTE_CLIENT_CALL) return;
  hostlink::CommandState& state = hostlink::Command();
  state.calledFromClient = true;
  TakeCallText(argument.text, state);
  HostPrintConsole("\n" + support::UiString(support::MSG_CALLED_FROM_CLIENT));
  OnCommand(kImportCommand);
  state.calledFromClient = false;
  state.callerPdfPath.clear();
  state.callerSummaryPath.reset();
  state.callerReportPath.reset();
  state.callerWantsPhases = false;
}

void InstallCommandHandlers() {
  Handlers& handlers = CallbackHandlers();
  handlers.initialize = OnInitialize;
  handlers.command = OnCommand;
  handlers.notify = OnNotify;
  handlers.dialogEvent = hostlink::DispatchDialogEvent;
}

}  // namespace osprevan::client
