// tolvane: the stand-in host's command line.
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/cli/error_text.h"
#include "host/cli/import_loop.h"
#include "host/cli/import_request.h"
#include "host/cli/session_setup.h"
#include "host/cli/summary_file.h"
#include "host/cli/usage.h"
#include "host/dialogs/dialog_script.h"
#include "host/dialogs/native_dialog_driver.h"
#include "host/engine/show.h"
#include "host/export/export_command.h"
#include "host/link/client_connection.h"
#include "platform/win/native_dialog.h"

namespace {

using namespace tlhost;

// A wrong use: the problem, then the command's usage line, or the whole help when there is no
// known command.
int WrongUse(const std::string& command, const std::string& problem) {
  std::cerr << "tolvane: " << problem << "\n";
  const std::string usage = CommandUsage(command);
  if (usage.empty()) {
    std::cerr << "\n" << HelpText();
  } else {
    std::cerr << usage << "\n";
  }
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

// Why a document or book did not open; a malformed file also gets the engine's line and fault.
std::string OpenProblem(const Engine& engine, const std::string& path, int32_t error) {
  std::string problem = ReadProblem(path, error);
  if (error != tolvane::ERR_FILE_FORMAT) return problem;
  std::string detail = engine.lastError();
  const std::string prefix = path + ": ";
  if (detail.rfind(prefix, 0) == 0) detail.erase(0, prefix.size());
  if (!detail.empty()) problem += ": " + detail;
  return problem;
}

bool OpenActive(Host& host, const std::string& path, tolvane::ObjectId& id) {
  std::vector<PropValue> returned;
  const int32_t error = host.engine().OpenFile(path, {}, id, returned);
  if (error != 0 || id == 0) {
    std::cerr << "tolvane: cannot open " << path << ": " << OpenProblem(host.engine(), path, error)
              << "\n";
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

// Rounds of the same import into fresh copies of the document; answers 0 when every round ran
// and left no block of the task allocator or the PDF library behind.
int RepeatedImport(Host& host, const SessionSettings& settings, const ImportRequest& request) {
  if (!StartClient(host, settings)) return 1;
  std::vector<ImportRound> rounds;
  const std::string library =
      (std::filesystem::path(settings.clientPath).parent_path() / "libOndrelkit.so").string();
  if (!RepeatImport(host, library, request, request.repeat, std::cout, rounds)) return 1;
  bool clean = true;
  for (const ImportRound& round : rounds) {
    clean =
        clean && round.ran && round.taskBlocks == rounds.front().taskBlocks && round.pdfBlocks == 0;
  }
  std::cout << "[repeat] " << rounds.size() << " rounds, first " << rounds.front().seconds
            << " s, last " << rounds.back().seconds << " s, last/first "
            << rounds.back().seconds / rounds.front().seconds << "\n";
  if (!clean) std::cerr << "tolvane: a round was refused or left blocks behind\n";
  return clean ? 0 : 1;
}

int Import(Host& host, const SessionSettings& settings, const ImportRequest& request) {
  if (request.repeat > 0) return RepeatedImport(host, settings, request);
  if (!StartClient(host, settings)) return 1;
  tolvane::ObjectId id = 0;
  if (!OpenActive(host, request.file, id)) return 1;
  std::error_code ignored;
  if (!request.out.empty() && std::filesystem::equivalent(request.out, request.pdf, ignored)) {
    return WrongUse("import", "-o would replace the PDF");
  }
  const FileWatch summary(SummaryFileName(request.pdf));
  const FileWatch report(ReportFileName(request.pdf));
  host.client(0).Notify(tolvane::NOTE_CLIENT_CALL, 0, request.pdf, 0);
  PrintRecord(host.recorder());
  summary.PrintLinesIfWritten(std::cout, "[summary] ");
  if (report.Written()) std::cout << "[report] " << report.path() << "\n";
  // A refused import changed nothing, so nothing is saved.
  const int status = ImportStatus(host.recorder());
  if (status != 0 || request.dryRun) return status;
  return SaveImported(host.engine(), id, request, std::cerr);
}

// The command line after the options common to all commands are taken out.
struct CommandLine {
  std::vector<std::string> words;  // the command and its arguments
  std::string dialogScript;
  std::optional<std::string> creator;
  std::vector<std::string> rotations;
  bool dryRun = false;
  std::string repeat;                       // the text after --repeat
  std::vector<std::string> commandOptions;  // the options given that belong to one command
  std::string problem;                      // the first wrong use found
};

// The command each command's own option belongs to.
std::string OptionOwner(const std::string& option) {
  if (option == "--dialogs") return "run";
  if (option == "--dry-run" || option == "--repeat") return "import";
  return "export-pdf";  // --creator, --rotate
}

int RunCommandLine(const CommandLine& line, const SessionSettings& settings) {
  if (line.words.empty()) {
    return WrongUse("", line.problem.empty() ? "no command given" : line.problem);
  }
  const std::string& command = line.words[0];
  if (CommandUsage(command).empty()) return WrongUse("", "unknown command " + command);
  if (!line.problem.empty()) return WrongUse(command, line.problem);
  for (const std::string& option : line.commandOptions) {
    if (OptionOwner(option) != command) {
      return WrongUse(command, option + " is not an option of " + command);
    }
  }
  const std::vector<std::string> rest(line.words.begin() + 1, line.words.end());
  if (command == "show") {
    if (rest.size() != 1) return WrongUse(command, "show needs one FILE");
    return ShowFile(rest[0], std::cout, std::cerr);
  }
  if (command == "export-pdf") {
    return tlhost::pdfexport::RunExportPdf(rest, line.creator, std::cerr, line.rotations);
  }
  ImportRequest request;
  if (command == "import") {
    std::string problem;
    if (!ParseImportRequest(rest, line.dryRun, request, problem)) return WrongUse(command, problem);
    if (!line.repeat.empty() && !ParseRepeat(line.repeat, request.repeat, problem))
      return WrongUse(command, problem);
  } else if (command == "menus" && !rest.empty()) {
    return WrongUse(command, "menus takes no arguments");
  } else if (command == "run" && rest.size() != 1) {
    return WrongUse(command, "run needs one FILE");
  }
  Host host;
  ApplySettings(host, settings);
  if (command == "menus") return Menus(host, settings);
  if (command == "run") return Run(host, settings, rest[0], line.dialogScript);
  return Import(host, settings, request);
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  SessionSettings settings = DefaultSettings(argv[0]);
  // Takes the value of option `argv[i]`, or notes the problem when there is none.
  auto value = [&](int& i, const char* needs) -> std::optional<std::string> {
    if (i + 1 < argc) return std::string(argv[++i]);
    if (line.problem.empty()) line.problem = std::string(argv[i]) + " needs " + needs;
    return std::nullopt;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << HelpText();
      return 0;
    }
    if (arg == "--client") {
      if (auto v = value(i, "a path")) settings.clientPath = *v;
    } else if (arg == "--dialogs" || arg == "--creator" || arg == "--rotate" ||
               arg == "--dry-run" || arg == "--repeat") {
      line.commandOptions.push_back(arg);
      if (arg == "--dry-run") {
        line.dryRun = true;
      } else if (arg == "--repeat") {
        if (auto v = value(i, "a number of rounds")) line.repeat = *v;
      } else if (arg == "--dialogs") {
        if (auto v = value(i, "a script")) line.dialogScript = *v;
      } else if (arg == "--creator") {
        if (auto v = value(i, "a text")) line.creator = *v;
      } else if (auto v = value(i, "PAGES=DEGREES")) {
        line.rotations.push_back(*v);
      }
    } else if (arg.rfind("--", 0) == 0) {
      if (line.problem.empty()) line.problem = "unknown option " + arg;
    } else {
      line.words.push_back(arg);
    }
  }
  return RunCommandLine(line, settings);
}
