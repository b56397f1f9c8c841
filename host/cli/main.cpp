// tolvane: the stand-in host's command line.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/cli/client_call.h"
#include "host/cli/command_line.h"
#include "host/cli/error_text.h"
#include "host/cli/import_loop.h"
#include "host/cli/import_request.h"
#include "host/cli/outcome_line.h"
#include "host/cli/session_setup.h"
#include "host/cli/summary_file.h"
#include "host/cli/usage.h"
#include "host/dialogs/dialog_script.h"
#include "host/dialogs/native_dialog_driver.h"
#include "host/engine/file_access.h"
#include "host/engine/show.h"
#include "host/export/export_command.h"
#include "host/link/client_connection.h"
#include "platform/win/native_dialog.h"

namespace {

// Seconds from one lap to the next, on a monotonic clock.
class PhaseClock {
 public:
  double Lap() {
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - last_).count();
    last_ = now;
    return seconds;
  }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

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

// The exit status of run and import. A refusal gets a line on the error output, with its cause
// where the plug-in gave one.
int ImportStatus(const Recorder& recorder, const std::string& cause = "") {
  if (recorder.ImportRan()) return 0;
  std::cerr << "tolvane: the import did not run" << (cause.empty() ? "" : ": " + cause) << "\n";
  return 1;
}

// The cause of a refused call in words, with the file it is about: "review.pdf: not tagged".
std::string RefusalCause(int32_t answer, const ImportRequest& request) {
  const std::string words = RefusalWords(answer);
  if (words.empty()) return "";
  return (RefusalIsAboutPdf(answer) ? request.pdf : request.file) + ": " + words;
}

// A private folder under the system's temporary folder, removed with everything in it: a dry
// run has the plug-in write its summary there, to print it and leave nothing beside the PDF.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code none;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(none);
    if (none) return;
    std::string pattern = (temporary / "tolvane-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Empty when the folder could not be made.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

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

bool OpenOrSay(Engine& engine, const std::string& path, tolvane::ObjectId& id) {
  std::vector<PropValue> returned;
  const int32_t error = engine.OpenFile(path, {}, id, returned);
  if (error == 0 && id != 0) return true;
  std::cerr << "tolvane: cannot open " << path << ": " << OpenProblem(engine, path, error) << "\n";
  return false;
}

int Show(const std::string& path) {
  Engine engine;
  tolvane::ObjectId id = 0;
  if (!OpenOrSay(engine, path, id)) return 1;
  ShowOpen(engine, id, std::cout);
  return 0;
}

bool OpenActive(Host& host, const std::string& path, tolvane::ObjectId& id) {
  if (!OpenOrSay(host.engine(), path, id)) return false;
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

// Where the plug-in is asked to write: a dry run's summary into the scratch folder (nowhere
// without one), its report where --report asks, else into the scratch folder too, for the counts
// of the last line only; otherwise the report where --report asks, else both beside the PDF.
CallOutputs OutputsOf(const ImportRequest& request, const std::string& scratch) {
  CallOutputs outputs;
  if (request.dryRun) {
    outputs.summary = scratch.empty() ? "" : scratch + "/summary.smry";
    outputs.report =
        !request.report.empty() || scratch.empty() ? request.report : scratch + "/report.json";
  } else if (!request.report.empty()) {
    outputs.report = request.report;
  }
  return outputs;
}

// A report the user gets: not the one a dry run without --report writes into its scratch folder.
bool ReportIsTheUsers(const ImportRequest& request) {
  return !request.dryRun || !request.report.empty();
}

// What the last line of an import says, as far as it is known before the save: the counts from
// the report this run wrote, and a dry run saves nothing.
ImportEnd ImportEndOf(const ImportRequest& request, const FileWatch& report) {
  ImportEnd end;
  end.document = request.file;
  end.savedTo = request.out;
  if (request.dryRun) end.saving = ImportEnd::Saving::DryRun;
  if (report.Written()) {
    std::ifstream in(report.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    end.counts = CountOutcomes(text.str());
    if (ReportIsTheUsers(request)) end.report = report.path();
  }
  return end;
}

int Import(Host& host, const SessionSettings& settings, const ImportRequest& request) {
  if (request.repeat > 0) return RepeatedImport(host, settings, request);
  // Saved to another place, the document may come from a file the user may not write.
  host.engine().session().protectUnwritableFiles = request.out.empty();
  if (!StartClient(host, settings)) return 1;
  PhaseClock clock;
  tolvane::ObjectId id = 0;
  if (!OpenActive(host, request.file, id)) return 1;
  const double load = clock.Lap();
  std::error_code ignored;
  if (!request.out.empty() && std::filesystem::equivalent(request.out, request.pdf, ignored)) {
    return WrongUse("import", "-o would replace the PDF");
  }
  if (!request.report.empty()) {
    if (std::filesystem::equivalent(request.report, request.pdf, ignored))
      return WrongUse("import", "--report would replace the PDF");
    if (std::filesystem::equivalent(request.report, request.file, ignored))
      return WrongUse("import", "--report would replace FILE");
  }
  // A document's OUT that cannot be written is said before anything is imported.
  if (!request.out.empty() && !request.dryRun && tolvane::KindOf(id) != tolvane::KIND_BOOK) {
    const std::string cause = WriteCause(request.out);
    if (!cause.empty()) {
      std::cerr << "tolvane: cannot save " << request.out << ": " << cause << "\n";
      return 1;
    }
  }
  std::optional<ScratchFolder> scratch;
  if (request.dryRun) scratch.emplace();
  CallOutputs outputs = OutputsOf(request, scratch ? scratch->path() : "");
  outputs.phases = request.phases;
  const FileWatch summary(outputs.summary.value_or(SummaryFileName(request.pdf)));
  const FileWatch report(outputs.report.value_or(ReportFileName(request.pdf)));
  clock.Lap();
  host.client(0).Notify(tolvane::NOTE_CLIENT_CALL, 0, ImportCallText(request.pdf, outputs), 0);
  const double call = clock.Lap();
  const int32_t answer = host.client(0).returnValue();
  PrintRecord(host.recorder());
  summary.PrintLinesIfWritten(std::cout, "[summary] ");
  if (report.Written() && ReportIsTheUsers(request))
    std::cout << "[report] " << report.path() << "\n";
  ImportEnd end = ImportEndOf(request, report);
  // A refused import changed nothing, so nothing is saved.
  const std::string cause = RefusalCause(answer, request);
  const int status = ImportStatus(host.recorder(), cause);
  if (status != 0) {
    end.saving = ImportEnd::Saving::ImportRefused;
    end.refusal = cause;
    std::cout << OutcomeLine(settings.language, end) << "\n";
    return status;
  }
  const int saved = request.dryRun ? 0 : SaveImported(host.engine(), id, request, std::cerr);
  if (request.phases)
    std::cout << "[phases] load " << load << " call " << call << " save " << clock.Lap() << "\n";
  if (saved != 0) end.saving = ImportEnd::Saving::SaveFailed;
  std::cout << OutcomeLine(settings.language, end) << "\n";
  return saved;
}

int RunCommandLine(const CommandLine& line, SessionSettings settings) {
  if (line.version) {
    std::cout << VersionText();
    return 0;
  }
  if (line.help) {
    if (line.command.empty()) {
      std::cout << HelpText();
    } else if (const std::string help = CommandHelpText(line.command); !help.empty()) {
      std::cout << help;
    } else {
      return WrongUse("", "unknown command " + line.command);
    }
    return 0;
  }
  const std::string& command = line.command;
  if (command.empty())
    return WrongUse("", line.problem.empty() ? "no command given" : line.problem);
  if (!line.problem.empty()) return WrongUse(command, line.problem);
  if (line.client) settings.clientPath = *line.client;
  if (line.lang) {
    const std::optional<UiLanguage> language = LanguageFromOption(*line.lang);
    if (!language) return WrongUse(command, "--lang takes ja or en");
    settings.language = *language;
  }
  const std::vector<std::string>& rest = line.words;
  if (command == "show") {
    if (rest.size() != 1) return WrongUse(command, "show needs one FILE");
    return Show(rest[0]);
  }
  if (command == "export-pdf") {
    if (rest.size() != 1) {
      return WrongUse(command,
                      rest.empty() ? "export-pdf needs FILE" : "export-pdf takes one FILE");
    }
    if (!line.out) return WrongUse(command, "export-pdf needs -o OUT.pdf");
    return tlhost::pdfexport::RunExportPdf(rest[0], *line.out, line.creator, line.rotations,
                                           line.force, std::cerr);
  }
  ImportRequest request;
  if (command == "import") {
    std::string problem;
    if (!ParseImportRequest(rest, line.dryRun, request, problem)) return WrongUse(command, problem);
    request.out = line.out.value_or("");
    request.report = line.report.value_or("");
    if (line.repeat && !ParseRepeat(*line.repeat, request.repeat, problem))
      return WrongUse(command, problem);
    request.phases = line.phases;
  } else if (command == "menus" && !rest.empty()) {
    return WrongUse(command, "menus takes no arguments");
  } else if (command == "run" && rest.size() != 1) {
    return WrongUse(command, "run needs one FILE");
  } else if (command == "run" && line.dialogScript.empty() && !isatty(STDIN_FILENO)) {
    return WrongUse(command, "run needs a terminal to ask on, or --dialogs SCRIPT");
  }
  Host host;
  ApplySettings(host, settings);
  if (command == "menus") return Menus(host, settings);
  if (command == "run") return Run(host, settings, rest[0], line.dialogScript);
  return Import(host, settings, request);
}

}  // namespace

int main(int argc, char** argv) {
  return RunCommandLine(ParseCommandLine(argc, argv), DefaultSettings(argv[0]));
}
