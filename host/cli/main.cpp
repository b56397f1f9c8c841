// tolvane: the stand-in host's command line.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/cli/cli_texts.h"
#include "host/cli/client_call.h"
#include "host/cli/command_line.h"
#include "host/cli/dialog_text.h"
#include "host/cli/error_text.h"
#include "host/cli/export_pdf_command.h"
#include "host/cli/file_cause_text.h"
#include "host/cli/import_loop.h"
#include "host/cli/import_outputs.h"
#include "host/cli/import_request.h"
#include "host/cli/load_fault_text.h"
#include "host/cli/outcome_line.h"
#include "host/cli/scratch_folder.h"
#include "host/cli/script_fault_text.h"
#include "host/cli/session_setup.h"
#include "host/cli/summary_file.h"
#include "host/cli/usage.h"
#include "host/dialogs/dialog_script.h"
#include "host/dialogs/native_dialog_driver.h"
#include "host/engine/file_access.h"
#include "host/engine/file_replace.h"
#include "host/engine/show.h"
#include "host/link/client_connection.h"
#include "platform/win/native_dialog.h"
#include "tools/review_page/review_page.h"

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

// Imported and saved, but the report or the summary file could not be written.
constexpr int kExitOutputsNotWritten = 3;

// A wrong use: the problem, then the command's usage line, or the whole help when there is no
// known command.
int WrongUse(UiLanguage language, const std::string& command, const std::string& problem) {
  std::cerr << "tolvane: " << problem << "\n";
  const std::string usage = CommandUsage(language, command);
  if (usage.empty()) {
    std::cerr << "\n" << HelpText(language);
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
int ImportStatus(UiLanguage language, const Recorder& recorder, const std::string& cause = "") {
  if (recorder.ImportRan()) return 0;
  std::cerr << (cause.empty() ? Said(language, CliText::ImportDidNotRun)
                              : Said(language, CliText::ImportDidNotRunBecause, {{"why", cause}}))
            << "\n";
  return 1;
}

// The cause of a refused call in words, with the file it is about: "review.pdf: not tagged".
std::string RefusalCause(UiLanguage language, int32_t answer, const ImportRequest& request) {
  const std::string words = RefusalWords(language, answer);
  if (words.empty()) return "";
  return (RefusalIsAboutPdf(answer) ? request.pdf : request.file) + ": " + words;
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
  LoadFault fault;
  const int index = host.LoadClient(settings.clientPath, fault);
  if (index < 0) {
    std::cerr << LoadFaultText(settings.language, fault) << "\n";
    return false;
  }
  ClientConnection& client = host.client(index);
  if (client.initResult() != 0) {
    std::cerr << Said(settings.language, CliText::HandshakeRefused,
                      {{"code", std::to_string(client.initResult())}})
              << "\n";
    return false;
  }
  client.Initialize(tolvane::INIT_STARTUP);
  return true;
}

bool OpenOrSay(UiLanguage language, Engine& engine, const std::string& path,
               tolvane::ObjectId& id) {
  std::vector<PropValue> returned;
  const int32_t error = engine.OpenFile(path, {}, id, returned);
  if (error == 0 && id != 0) return true;
  std::cerr << Said(language, CliText::CannotOpen,
                    {{"path", path}, {"why", OpenProblem(language, engine, path, error)}})
            << "\n";
  return false;
}

int Show(UiLanguage language, const std::string& path) {
  Engine engine;
  tolvane::ObjectId id = 0;
  if (!OpenOrSay(language, engine, path, id)) return 1;
  ShowOpen(engine, id, std::cout);
  return 0;
}

bool OpenActive(UiLanguage language, Host& host, const std::string& path, tolvane::ObjectId& id) {
  if (!OpenOrSay(language, host.engine(), path, id)) return false;
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

// Locks each document the import opens, waiting at most `seconds` for another import.
void LockOpenedFiles(UiLanguage language, Host& host, const std::string& file, double seconds) {
  host.engine().session().lockFiles =
      LockWait{seconds, [language, file, seconds](pid_t holder) {
                 std::cerr << WaitingText(language, file, holder, seconds) << std::endl;
               }};
}

int Run(Host& host, const SessionSettings& settings, const std::string& file,
        const std::string& scriptPath, double waitSeconds) {
  LockOpenedFiles(settings.language, host, file, waitSeconds);
  DialogScript script;
  const DialogWords dialogWords(settings.language);
  NativeDialogDriver nativeDialogs(host.recorder(), std::cerr, dialogWords);
  if (!scriptPath.empty()) {
    std::ifstream in(scriptPath);
    std::stringstream text;
    text << in.rdbuf();
    ScriptFault fault;
    if (!in || !ParseDialogScript(text.str(), script, fault)) {
      const std::string cause = CauseText(settings.language, ReadCause(scriptPath));
      std::cerr << "tolvane: " << scriptPath << ": "
                << (in              ? ScriptFaultText(settings.language, fault)
                    : cause.empty() ? Said(settings.language, CliText::CannotBeRead)
                                    : cause)
                << "\n";
      return 2;
    }
    for (const std::string& answer : script.alertAnswers) host.responder().QueueAlertAnswer(answer);
    for (const std::string& path : script.chosenFiles) host.responder().QueueChosenFile(path);
    host.dialogs().UseScript(&script);
    nativeDialogs.UseScript(&script);
  } else if (isatty(STDIN_FILENO)) {
    host.responder().UseTerminal(&std::cin, &std::cout, ResponderWords(settings.language));
    host.dialogs().UseTerminal(&std::cin, &std::cout, dialogWords);
    nativeDialogs.UseTerminal(&std::cin, &std::cout);
  }
  const InstalledDialogDriver installed(&nativeDialogs);
  if (!StartClient(host, settings)) return 1;
  tolvane::ObjectId id = 0;
  if (!OpenActive(settings.language, host, file, id)) return 1;
  if (!host.RunCommand("Osprevan")) {
    std::cerr << Said(settings.language, CliText::NoImportCommand, {{"command", "Osprevan"}})
              << "\n";
    return 1;
  }
  PrintRecord(host.recorder());
  return ImportStatus(settings.language, host.recorder());
}

// Seconds as the per-round lines print them: fixed, four places.
std::string Figure(double seconds) {
  std::ostringstream out;
  out << std::fixed << std::setprecision(4) << seconds;
  return out.str();
}

// Rounds of the same import into fresh copies of the document; answers 0 when every round ran
// and left no block of the task allocator or the PDF library behind.
int RepeatedImport(Host& host, const SessionSettings& settings, const ImportRequest& request) {
  if (!StartClient(host, settings)) return 1;
  std::vector<ImportRound> rounds;
  const std::string library =
      (std::filesystem::path(settings.clientPath).parent_path() / "libOndrelkit.so").string();
  if (!RepeatImport(settings.language, host, library, request, request.repeat, std::cout, rounds))
    return 1;
  bool clean = true;
  for (const ImportRound& round : rounds) {
    clean =
        clean && round.ran && round.taskBlocks == rounds.front().taskBlocks && round.pdfBlocks == 0;
  }
  std::cout << Said(settings.language, CliText::RepeatSummary,
                    {{"rounds", std::to_string(rounds.size())},
                     {"first", Figure(rounds.front().seconds)},
                     {"last", Figure(rounds.back().seconds)},
                     {"ratio", Figure(rounds.back().seconds / rounds.front().seconds)}})
            << "\n";
  if (!clean) std::cerr << Said(settings.language, CliText::RoundRefused) << "\n";
  return clean ? 0 : 1;
}

// The files the command reads: the document or book, each component of a book, and the PDF.
std::vector<std::string> ImportInputs(const Engine& engine, tolvane::ObjectId id,
                                      const ImportRequest& request) {
  std::vector<std::string> inputs = {request.file, request.pdf};
  if (const Book* book = engine.book(id)) {
    for (const auto& [componentId, component] : book->componentsById) {
      inputs.push_back(book->ComponentPath(component));
    }
  }
  return inputs;
}

// The final places of the summary and the report; empty: not written. A dry run writes no
// summary (it prints it) and its report only to --report PATH.
struct ImportDestinations {
  std::string summary;
  std::string report;
};

ImportDestinations DestinationsOf(const ImportRequest& request) {
  if (request.dryRun) return {"", request.report};
  return {SummaryFileName(request.pdf),
          request.report.empty() ? ReportFileName(request.pdf) : request.report};
}

// Refuses, before anything is read from the PDF, every output that would destroy an input or
// something that is not a regular file; answers the exit status, or -1 when all may be written.
int RefuseDestructiveOutputs(UiLanguage language, const Engine& engine, tolvane::ObjectId id,
                             const ImportRequest& request, const ImportDestinations& to) {
  const std::vector<std::string> inputs = ImportInputs(engine, id, request);
  const struct {
    std::string option;
    std::string path;
  } outputs[] = {{"-o", tolvane::KindOf(id) == tolvane::KIND_BOOK ? "" : request.out},
                 {"--report", to.report},
                 {Said(language, CliText::TheSummaryFile), to.summary},
                 {"--review-page", request.reviewPage}};
  for (const auto& output : outputs) {
    if (output.path.empty()) continue;
    std::string problem = OutputProblem(language, output.path, inputs);
    // Two outputs in one file would leave only the one written last.
    for (const auto& other : outputs) {
      if (problem.empty() && &other < &output && !other.path.empty() &&
          SameOutput(output.path, other.path))
        problem = Said(language, CliText::IsAlso, {{"option", other.option}});
    }
    if (problem.empty()) continue;
    std::cerr << Said(language, CliText::CannotWriteOutput,
                      {{"path", output.path}, {"option", output.option}, {"why", problem}})
              << "\n";
    return 1;
  }
  return -1;
}

// Copies what the plug-in wrote at `written` to `to`, changed by `edit`, as a whole file; false
// with a line on the error output when it could not be written.
template <typename Edit>
bool Publish(UiLanguage language, const std::string& written, const std::string& to, Edit edit) {
  std::ifstream in(written, std::ios::binary);
  if (!in) return true;  // the plug-in wrote nothing there
  std::stringstream text;
  text << in.rdbuf();
  FileProblem problem;
  if (WriteFileReplacing(to, edit(text.str()), problem) == 0) return true;
  std::cerr << Said(language, CliText::CannotWrite,
                    {{"path", to}, {"why", EngineProblem(language, problem, to, 0)}})
            << "\n";
  return false;
}

// What the last line of an import says: the counts from the report this run wrote (also a dry
// run's, which only it reads), where the user's report is, and whether the document was saved.
ImportEnd ImportEndOf(const ImportRequest& request, const std::string& written,
                      const std::string& report, int status, int saveStatus,
                      const std::string& refusal) {
  ImportEnd end;
  end.document = request.file;
  end.savedTo = request.out;
  if (std::ifstream in(written, std::ios::binary); in) {
    std::stringstream text;
    text << in.rdbuf();
    end.counts = CountOutcomes(text.str());
  }
  std::error_code ignored;
  if (!report.empty() && std::filesystem::exists(report, ignored)) end.report = report;
  if (status != 0) {
    end.saving = ImportEnd::Saving::ImportRefused;
    end.refusal = refusal;
  } else if (request.dryRun) {
    end.saving = ImportEnd::Saving::DryRun;
  } else if (saveStatus != 0) {
    end.saving = ImportEnd::Saving::SaveFailed;
  }
  return end;
}

int Import(Host& host, const SessionSettings& settings, const ImportRequest& request) {
  if (request.repeat > 0) return RepeatedImport(host, settings, request);
  // Saved to another place, the document may come from a file the user may not write.
  host.engine().session().protectUnwritableFiles = request.out.empty();
  // Saved in place, each document is locked before it is read, until it is saved.
  if (request.out.empty() && !request.dryRun)
    LockOpenedFiles(settings.language, host, request.file, request.waitSeconds);
  if (!StartClient(host, settings)) return 1;
  PhaseClock clock;
  tolvane::ObjectId id = 0;
  if (!OpenActive(settings.language, host, request.file, id)) return 1;
  const double load = clock.Lap();
  std::error_code ignored;
  // A document's OUT that cannot be written is said before anything is imported.
  if (!request.out.empty() && !request.dryRun && tolvane::KindOf(id) != tolvane::KIND_BOOK) {
    const std::string cause = CauseText(settings.language, WriteCause(request.out));
    if (!cause.empty()) {
      std::cerr << Said(settings.language, CliText::CannotSave,
                        {{"path", request.out}, {"why", cause}})
                << "\n";
      return 1;
    }
  }
  const ImportDestinations to = DestinationsOf(request);
  if (const int refused =
          RefuseDestructiveOutputs(settings.language, host.engine(), id, request, to);
      refused >= 0)
    return refused;
  // The plug-in writes into a private folder; the files go to their places after the save, so
  // that they can say whether it was done.
  ScratchFolder scratch;
  CallOutputs outputs;
  outputs.summary = scratch.path().empty() ? "" : scratch.path() + "/summary.smry";
  // A dry run without --report writes its report there too, for the counts of the last line.
  outputs.report = scratch.path().empty() ? "" : scratch.path() + "/report.json";
  outputs.phases = request.phases;
  const FileWatch summaryShown(to.summary.empty() ? outputs.summary.value_or("") : to.summary);
  clock.Lap();
  host.client(0).Notify(tolvane::NOTE_CLIENT_CALL, 0, ImportCallText(request.pdf, outputs), 0);
  const double call = clock.Lap();
  const int32_t answer = host.client(0).returnValue();
  PrintRecord(host.recorder());
  // A refused import changed nothing, so nothing is saved.
  const int status = ImportStatus(settings.language, host.recorder(),
                                  RefusalCause(settings.language, answer, request));
  std::vector<SavedFile> files;
  const int saveStatus =
      status != 0 || request.dryRun
          ? status
          : SaveImported(settings.language, host.engine(), id, request, std::cerr, files);
  const bool saved = status == 0 && saveStatus == 0 && !request.dryRun;
  // Why nothing was saved: for the report, which programs read, in English; for the user, a
  // refusal's cause in their language.
  const std::string refusal = RefusalCause(settings.language, answer, request);
  std::string reason =
      request.dryRun ? kDryRunReason : RefusalCause(UiLanguage::English, answer, request);
  std::string shownReason = request.dryRun ? kDryRunReason : refusal;
  for (const SavedFile& file : files) {
    if (!file.saved && (reason.empty() || file.path == request.file))
      reason = shownReason = file.reason;
  }
  if (reason.empty() && !saved) {
    reason = "the import did not run";
    shownReason = Said(settings.language, CliText::NotRun);
  }
  if (request.phases)
    std::cout << "[phases] load " << load << " call " << call << " save " << clock.Lap() << "\n";
  const std::vector<SavedFile> components =
      tolvane::KindOf(id) == tolvane::KIND_BOOK ? files : std::vector<SavedFile>{};
  // A book's components may be saved in part; then the line says so instead.
  const bool someSaved =
      std::any_of(files.begin(), files.end(), [](const SavedFile& file) { return file.saved; });
  const std::string notSaved = saved || request.dryRun ? ""
                               : someSaved ? PartlySavedText(settings.language, shownReason)
                                           : NothingSavedText(settings.language, shownReason);
  bool reportWritten = true;
  if (!to.report.empty() && outputs.report && !outputs.report->empty()) {
    reportWritten =
        Publish(settings.language, *outputs.report, to.report, [&](const std::string& text) {
          return ReportWithSaveOutcome(text, saved, reason, components);
        });
  }
  bool summaryWritten = true;
  if (!to.summary.empty() && outputs.summary && !outputs.summary->empty()) {
    summaryWritten =
        Publish(settings.language, *outputs.summary, to.summary, [&](const std::string& text) {
          return notSaved.empty() ? text : SummaryWithFirstLine(text, notSaved);
        });
  }
  summaryShown.PrintLinesIfWritten(std::cout, "[summary] ");
  if (!to.report.empty() && std::filesystem::exists(to.report, ignored) && reportWritten)
    std::cout << "[report] " << to.report << "\n";
  if (!notSaved.empty()) std::cout << notSaved << "\n";
  std::cout << OutcomeLine(settings.language,
                           ImportEndOf(request, outputs.report.value_or(""),
                                       reportWritten ? to.report : "", status, saveStatus, refusal))
            << "\n";
  bool pageWritten = true;
  if (saved && !request.reviewPage.empty()) {
    std::string problem = reportWritten && !to.report.empty()
                              ? ""
                              : Said(settings.language, CliText::NoReportWritten);
    if (problem.empty())
      osprevan::review::WriteReviewPageOf(host.engine(), id, to.report, request.pdf, request.out,
                                          request.reviewPage, settings.language, problem);
    pageWritten = problem.empty();
    if (pageWritten)
      std::cout << "[review page] " << request.reviewPage << "\n";
    else
      std::cerr << Said(settings.language, CliText::NoReviewPage, {{"why", problem}}) << "\n";
  }
  const bool written = reportWritten && summaryWritten && pageWritten;
  if (status != 0 || saveStatus != 0) return 1;
  return written ? 0 : kExitOutputsNotWritten;
}

int RunCommandLine(const CommandLine& line, SessionSettings settings) {
  const std::string& command = line.command;
  if (line.lang) {
    const std::optional<UiLanguage> language = LanguageFromOption(*line.lang);
    if (!language)
      return WrongUse(settings.language, command, Said(settings.language, CliText::LangTakes));
    settings.language = *language;
  }
  const UiLanguage language = settings.language;
  if (line.version) {
    std::cout << VersionText(language);
    return 0;
  }
  if (line.help) {
    if (command.empty()) {
      std::cout << HelpText(language);
    } else if (const std::string help = CommandHelpText(language, command); !help.empty()) {
      std::cout << help;
    } else {
      return WrongUse(language, "", UnknownCommandText(language, command));
    }
    return 0;
  }
  if (command.empty())
    return WrongUse(language, "",
                    line.problem.empty() ? Said(language, CliText::NoCommandGiven) : line.problem);
  if (!line.problem.empty()) return WrongUse(language, command, line.problem);
  if (line.client) settings.clientPath = *line.client;
  const std::vector<std::string>& rest = line.words;
  if (command == "show") {
    if (rest.size() != 1)
      return WrongUse(language, command, Said(language, CliText::ShowNeedsOneFile));
    return Show(language, rest[0]);
  }
  if (command == "export-pdf") {
    if (rest.size() != 1) {
      return WrongUse(
          language, command,
          Said(language, rest.empty() ? CliText::ExportNeedsFile : CliText::ExportTakesOneFile));
    }
    if (!line.out) return WrongUse(language, command, Said(language, CliText::ExportNeedsOut));
    return RunExportPdf(language, rest[0], *line.out, line.creator, line.rotations, line.force,
                        std::cerr);
  }
  ImportRequest request;
  if (command == "import") {
    std::string problem;
    if (!ParseImportRequest(rest, line.dryRun, request, problem, language))
      return WrongUse(language, command, problem);
    request.out = line.out.value_or("");
    request.report = line.report.value_or("");
    request.reviewPage = line.reviewPage.value_or("");
    if (line.repeat && !ParseRepeat(*line.repeat, request.repeat, problem, language))
      return WrongUse(language, command, problem);
    request.phases = line.phases;
    if (line.wait && !ParseWait(*line.wait, request.waitSeconds, problem, language))
      return WrongUse(language, command, problem);
  } else if (command == "menus" && !rest.empty()) {
    return WrongUse(language, command, Said(language, CliText::MenusTakesNoArguments));
  } else if (command == "run" && rest.size() != 1) {
    return WrongUse(language, command, Said(language, CliText::RunNeedsOneFile));
  } else if (command == "run" && line.dialogScript.empty() && !isatty(STDIN_FILENO)) {
    return WrongUse(language, command, Said(language, CliText::RunNeedsTerminal));
  }
  Host host;
  ApplySettings(host, settings);
  if (command == "menus") return Menus(host, settings);
  if (command == "run") {
    double seconds = ImportRequest{}.waitSeconds;
    std::string problem;
    if (line.wait && !ParseWait(*line.wait, seconds, problem, language))
      return WrongUse(language, command, problem);
    return Run(host, settings, rest[0], line.dialogScript, seconds);
  }
  return Import(host, settings, request);
}

}  // namespace

int main(int argc, char** argv) {
  const SessionSettings settings = DefaultSettings(argv[0]);
  CommandLine line = ParseCommandLine(argc, argv, settings.language);
  // A wrong use is said in the language --lang names, once the line says which.
  if (line.lang)
    if (const std::optional<UiLanguage> chosen = LanguageFromOption(*line.lang))
      line = ParseCommandLine(argc, argv, *chosen);
  return RunCommandLine(line, settings);
}
