#include "host/cli/import_request.h"

#include "host/cli/cli_texts.h"

#include <cstdlib>
#include <filesystem>
#include <set>

#include "host/cli/error_text.h"

namespace tlhost {
namespace {

// The path a document or book is saved under in place.
std::string OpenPath(const Engine& engine, ObjectId id) {
  if (const Document* d = engine.document(id)) return d->path;
  if (const Book* b = engine.book(id)) return b->path;
  return "";
}

bool Modified(const Engine& engine, ObjectId id) {
  if (const Document* d = engine.document(id)) return d->modified;
  if (const Book* b = engine.book(id)) return b->modified;
  return false;
}

bool Save(UiLanguage language, Engine& engine, ObjectId id, const std::string& path,
          std::ostream& err, std::vector<SavedFile>& files) {
  const int32_t error = engine.Save(id, path);
  if (error == 0) {
    files.push_back({path, true, ""});
    return true;
  }
  // The reason also goes into the report, which programs read: in English.
  const std::string reason = EngineProblem(UiLanguage::English, engine.lastProblem(), path, error);
  err << Said(language, CliText::CannotSave,
              {{"path", path}, {"why", EngineProblem(language, engine.lastProblem(), path, error)}})
      << "\n";
  files.push_back({path, false, reason});
  return false;
}

// The documents a book import changed, each under its own file name in `directory`; the book
// itself stays as it is. Two changed components of the same file name would overwrite each
// other there, so the second is refused.
int SaveComponentsTo(UiLanguage language, Engine& engine, const std::string& directory,
                     std::ostream& err, std::vector<SavedFile>& files) {
  namespace fs = std::filesystem;
  std::error_code ignored;
  fs::create_directories(directory, ignored);
  if (!fs::is_directory(directory)) {
    err << Said(language, CliText::CannotSaveInto, {{"folder", directory}}) << "\n";
    return 1;
  }
  bool saved = true;
  std::set<std::string> names;
  for (ObjectId id : engine.openDocuments()) {
    if (!Modified(engine, id)) continue;
    const std::string name = fs::path(OpenPath(engine, id)).filename().string();
    if (!names.insert(name).second) {
      err << Said(language, CliText::CannotSaveComponent,
                  {{"path", OpenPath(engine, id)}, {"folder", directory}})
          << "\n";
      files.push_back({OpenPath(engine, id), false, "another component of that name"});
      saved = false;
      continue;
    }
    saved = Save(language, engine, id, (fs::path(directory) / name).string(), err, files) && saved;
  }
  return saved ? 0 : 1;
}

}  // namespace

bool ParseImportRequest(const std::vector<std::string>& words, bool dryRun, ImportRequest& request,
                        std::string& problem, UiLanguage language) {
  request = ImportRequest{};
  request.dryRun = dryRun;
  if (words.size() != 2) {
    problem =
        Said(language, words.size() < 2 ? CliText::ImportNeedsFiles : CliText::ImportTakesOneEach);
    return false;
  }
  request.file = words[0];
  request.pdf = words[1];
  return true;
}

bool ParseRepeat(const std::string& text, int& rounds, std::string& problem, UiLanguage language) {
  constexpr int kMostRounds = 100000;
  rounds = 0;
  bool digits = !text.empty() && text.size() <= 6;
  for (char c : text) digits = digits && c >= '0' && c <= '9';
  if (digits) rounds = std::stoi(text);
  if (rounds < 1 || rounds > kMostRounds) {
    rounds = 0;
    problem = Said(language, CliText::RepeatNeeds, {{"most", std::to_string(kMostRounds)}});
    return false;
  }
  return true;
}

bool ParseWait(const std::string& text, double& seconds, std::string& problem,
               UiLanguage language) {
  constexpr double kLongest = 24 * 60 * 60;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value >= 0 && value <= kLongest)) {
    problem = Said(language, CliText::WaitNeeds, {{"most", "86400"}});
    return false;
  }
  seconds = value;
  return true;
}

int SaveImported(UiLanguage language, Engine& engine, ObjectId target, const ImportRequest& request,
                 std::ostream& err, std::vector<SavedFile>& files) {
  if (!request.out.empty() && tolvane::KindOf(target) == tolvane::KIND_BOOK)
    return SaveComponentsTo(language, engine, request.out, err, files);
  if (!request.out.empty()) return Save(language, engine, target, request.out, err, files) ? 0 : 1;
  bool saved = Save(language, engine, target, request.file, err, files);
  std::vector<ObjectId> others = engine.openDocuments();
  for (ObjectId book : engine.openBooks()) others.push_back(book);
  for (ObjectId id : others) {
    if (id == target || !Modified(engine, id)) continue;
    saved = Save(language, engine, id, OpenPath(engine, id), err, files) && saved;
  }
  return saved ? 0 : 1;
}

}  // namespace tlhost
