// tolvane: the stand-in host's command line.
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/cli/session_setup.h"
#include "host/dialogs/dialog_script.h"
#include "host/dialogs/native_dialog_driver.h"
#include "host/engine/show.h"
#include "host/export/export_command.h"
#include "host/link/client_connection.h"
#include "platform/win/native_dialog.h"

namespace {

using namespace tlhost;

constexpr const char* kUsage =
    "Usage: tolvane COMMAND [ARGUMENTS]\n"
    "\n"
    "Commands:\n"
    "  show FILE            print a document readably: paragraphs, tracked changes, conditions, "
    "markers\n"
    "  menus                load the plug-in and list the import menus with its command\n"
    "  run FILE [--dialogs SCRIPT]\n"
    "                       open FILE, make it active and run the import command from its menu;\n"
    "                       alerts and dialogs are answered by SCRIPT, else asked on the terminal\n"
    "  import FILE PDF      run the same import as a call from another client (no dialogs)\n"
    "  export-pdf FILE -o OUT.pdf [--creator TEXT] [--rotate PAGES=DEGREES]...\n"
    "                       write a tagged PDF of a document or book; --rotate turns page N\n"
    "                       or pages A-B (from 1) by 0, 90, 180 or 270 degrees (repeatable)\n"
    "\n"
    "Options:\n"
    "  --client PATH        the plug-in library (default: ../lib/libosprevan.so beside this "
    "program)\n"
    "  --help               show this text\n"
    "\n"
    "Exit status: 0 on success, 1 when the command failed or was refused, 2 for wrong usage.\n"
    "  run and import answer 0 when the import ran (the plug-in reported placing comments into\n"
    "  a document) and 1 when it was cancelled, refused or failed before that.\n";

int Usage(const std::string& problem) {
  std::cerr << "tolvane: " << problem << "\n\n" << kUsage;
  return 2;
}

void PrintRecord(const Recorder& recorder) {
  for (const UsageRecord& u : recorder.usage) {
    std::cout << "[usage] " << u.category << " / " << u.feature << " / " << u.event << "\n";
  }
  for (const AlertRecord& a : recorder.alerts) {
    std::cout << "[alert] " << a.text
              << (a.kind == tolvane::ALERT_YES_NO ? (a.answer == 0 ? " -> Yes" : " -> No") : "")
              << "\n";
  }
  for (const std::string& name : recorder.dialogsOpened) {
    std::cout << "[dialog] " << name << "\n";
  }
  for (const std::string& name : recorder.nativeDialogs) {
    std::cout << "[native dialog] " << name << "\n";
  }
  if (!recorder.console.empty()) std::cout << "[console]" << recorder.console << "\n";
}

// The exit status of run and import; a refusal the plug-in does not explain (a PDF that does
// not open, say) still gets a line on the error output.
int ImportStatus(const Recorder& recorder) {
  if (recorder.ImportRan()) return 0;
  std::cerr << "tolvane: the import did not run\n";
  return 1;
}

// Installs a driver for the native dialogs for as long as it lives.
class InstalledDialogDriver {
 public:
  explicit InstalledDialogDriver(win::DialogDriver* driver)
      : previous_(win::SetDialogDriver(driver)) {}
  ~InstalledDialogDriver() { win::SetDialogDriver(previous_); }
  InstalledDialogDriver(const InstalledDialogDriver&) = delete;
  InstalledDialogDriver& operator=(const InstalledDialogDriver&) = delete;

 private:
  win::DialogDriver* previous_;
};

// Loads the plug-in and initialises it as the host does at start-up.
bool StartClient(Host& host, const SessionSettings& settings) {
  std::string error;
  const int index = host.LoadClient(settings.clientPath, error);
  if (index < 0) {
    std::cerr << "tolvane: " << error << "\n";
    return false;
  }
  ClientConnection& client = host.client(index);
  if (client.initResult() != 0) {
    std::cerr << "tolvane: the client refused the handshake (" << client.initResult() << ")\n";
    return false;
  }
  client.Initialize(tolvane::INIT_STARTUP);
  return true;
}

bool OpenActive(Host& host, const std::string& path, tolvane::ObjectId& id) {
  std::vector<PropValue> returned;
  const int32_t error = host.engine().OpenFile(path, {}, id, returned);
  if (error != 0 || id == 0) {
    std::cerr << "tolvane: cannot open " << path << " (error " << error << ")\n";
    return false;
  }
  const int32_t property = tolvane::KindOf(id) == tolvane::KIND_BOOK
                               ? tolvane::P_SESSION_ACTIVE_BOOK
                               : tolvane::P_SESSION_ACTIVE_DOC;
  host.engine().SetProp(0, 0, property, Value::Id(id));
  return true;
}

int Menus(Host& host, const SessionSettings& settings) {
  if (!StartClient(host, settings)) return 1;
  for (const char* menu : {"ImportMenu", "BookImportMenu"}) {
    std::cout << menu << ":\n";
    for (const std::string& entry : host.ui().MenuContents(menu)) {
      const CommandRecord* command = host.ui().FindCommandByTag(entry);
      std::cout << "  " << entry;
      if (command) std::cout << "  \"" << command->label << "\"  " << command->shortcut;
      std::cout << "\n";
    }
  }
  return 0;
}

int Run(Host& host, const SessionSettings& settings, const std::string& file,
        const std::string& scriptPath) {
  DialogScript script;
  NativeDialogDriver nativeDialogs(host.recorder(), std::cerr);
  if (!scriptPath.empty()) {
    std::ifstream in(scriptPath);
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!in || !ParseDialogScript(text.str(), script, error)) {
      std::cerr << "tolvane: " << scriptPath << ": " << (in ? error : "cannot be read") << "\n";
      return 2;
    }
    for (const std::string& answer : script.alertAnswers) host.responder().QueueAlertAnswer(answer);
    for (const std::string& path : script.chosenFiles) host.responder().QueueChosenFile(path);
    host.dialogs().UseScript(&script);
    nativeDialogs.UseScript(&script);
  } else if (isatty(STDIN_FILENO)) {
    host.responder().UseTerminal(&std::cin, &std::cout);
    host.dialogs().UseTerminal(&std::cin, &std::cout);
    nativeDialogs.UseTerminal(&std::cin, &std::cout);
  }
  const InstalledDialogDriver installed(&nativeDialogs);
  if (!StartClient(host, settings)) return 1;
  tolvane::ObjectId id = 0;
  if (!OpenActive(host, file, id)) return 1;
  if (!host.RunCommand("Osprevan")) {
    std::cerr << "tolvane: no client defined the command \"Osprevan\"\n";
    return 1;
  }
  PrintRecord(host.recorder());
  return ImportStatus(host.recorder());
}

int Import(Host& host, const SessionSettings& settings, const std::string& file,
           const std::string& pdf) {
  if (!StartClient(host, settings)) return 1;
  tolvane::ObjectId id = 0;
  if (!OpenActive(host, file, id)) return 1;
  host.client(0).Notify(tolvane::NOTE_CLIENT_CALL, 0, pdf, 0);
  PrintRecord(host.recorder());
  return ImportStatus(host.recorder());
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args;
  SessionSettings settings = DefaultSettings(argv[0]);
  std::string dialogScript;
  std::optional<std::string> creator;
  std::vector<std::string> rotations;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--dialogs") {
      if (i + 1 >= argc) return Usage("--dialogs needs a script");
      dialogScript = argv[++i];
    } else if (arg == "--creator") {
      if (i + 1 >= argc) return Usage("--creator needs a text");
      creator = argv[++i];
    } else if (arg == "--rotate") {
      if (i + 1 >= argc) return Usage("--rotate needs PAGES=DEGREES");
      rotations.push_back(argv[++i]);
    } else if (arg == "--client") {
      if (i + 1 >= argc) return Usage("--client needs a path");
      settings.clientPath = argv[++i];
    } else if (arg.rfind("--", 0) == 0) {
      return Usage("unknown option " + arg);
    } else {
      args.push_back(arg);
    }
  }
  if (args.empty()) return Usage("no command given");
  const std::string command = args[0];
  if (command == "show") {
    if (args.size() != 2) return Usage("show needs one FILE");
    return ShowFile(args[1], std::cout, std::cerr);
  }
  if (command == "export-pdf") {
    return tlhost::pdfexport::RunExportPdf({args.begin() + 1, args.end()}, creator, std::cerr,
                                           rotations);
  }
  Host host;
  ApplySettings(host, settings);
  if (command == "menus" && args.size() == 1) return Menus(host, settings);
  if (command == "run" && args.size() == 2) return Run(host, settings, args[1], dialogScript);
  if (command == "import" && args.size() == 3) return Import(host, settings, args[1], args[2]);
  return Usage("wrong command or arguments: " + command);
}
