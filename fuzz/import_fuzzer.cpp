// Fuzz target over the whole import: the host hands the plug-in a PDF made of the input bytes,
// kept in memory (a file on the in-memory file system), for a fresh copy of a fixed document.
// The plug-in opens and checks the PDF, reads its comments, walks its pages and places what it
// found. Besides crashes and sanitizer reports, two promises are checked on every input: a
// refused PDF leaves the document exactly as it was, and an import that ran lost no text.
//
// The host's engine never gives an object id twice, and every input opens the document afresh
// and may add markers, so one host lasts a few hundred thousand inputs. Before its ids run low,
// the next input gets a fresh host with the plug-in loaded again. IMPORT_FUZZER_INPUTS_PER_HOST=N
// starts a fresh host every N inputs, so that the regression tests also run that path.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "host/cli/session_setup.h"
#include "host/engine/file_format.h"
#include "host/link/client_connection.h"
#include "host/link/host.h"
#include "platform/win/module.h"
#include "tests/fixtures/writers_text.h"

namespace {

namespace fs = std::filesystem;
using tlhost::Document;

using osprevan::fixtures::WritersText;

class ImportUnderTest {
 public:
  ImportUnderTest() {
    const char* shm = "/dev/shm";
    const fs::path base = fs::is_directory(shm) ? fs::path(shm) : fs::temp_directory_path();
    directory_ = base / ("osprevan-fuzz-" + std::to_string(getpid()));
    fs::create_directories(directory_ / "user");
    std::ofstream(directory_ / "user" / "pdfcomments.ini") << "DontShowInitialWarning=Yes\r\n";
    pdfPath_ = (directory_ / "review.pdf").string();

    tlhost::SessionSettings settings;
    settings.clientPath = OSPREVAN_PLUGIN_PATH;
    settings.hostDir = fs::path(OSPREVAN_PLUGIN_PATH).parent_path().string();
    settings.userDir = (directory_ / "user").string();
    tlhost::ApplySettings(host_, settings);
    std::string error;
    if (host_.LoadClient(settings.clientPath, error) < 0 || host_.client(0).initResult() != 0) {
      std::fprintf(stderr, "import_fuzzer: the plug-in does not load: %s\n", error.c_str());
      std::abort();
    }
    host_.client(0).Initialize(tolvane::INIT_STARTUP);
    // Every input starts from the same document: what it held is read once.
    const tolvane::ObjectId id = OpenDocument();
    pristine_ = tlhost::WriteDocument(*host_.engine().document(id));
    pristineText_ = WritersText(*host_.engine().document(id));
    host_.engine().Close(id, tolvane::CLOSE_DISCARD);
  }
  ~ImportUnderTest() {
    host_.UnloadClients();
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
  }

  void Run(const uint8_t* data, size_t size) {
    {
      std::ofstream out(pdfPath_, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    tlhost::Engine& engine = host_.engine();
    const tolvane::ObjectId id = OpenDocument();
    const std::string& before = pristine_;
    const auto& writersBefore = pristineText_;

    host_.recorder().Clear();
    host_.client(0).Notify(tolvane::NOTE_CLIENT_CALL, 0, pdfPath_, 0);

    const Document& after = *engine.document(id);
    if (!host_.recorder().ImportRan() && tlhost::WriteDocument(after) != before) {
      std::fprintf(stderr, "import_fuzzer: a refused PDF changed the document\n");
      std::abort();
    }
    const auto writersAfter = WritersText(after);
    if (writersAfter != writersBefore) {
      std::fprintf(stderr, "import_fuzzer: the import lost or changed the writer's text\n");
      for (const auto& [unique, text] : writersAfter) {
        const auto was = writersBefore.find(unique);
        if (was == writersBefore.end() || was->second != text)
          std::fprintf(stderr, "  paragraph %d: \"%s\" became \"%s\"\n", unique,
                       was == writersBefore.end() ? "" : was->second.c_str(), text.c_str());
      }
      std::abort();
    }
    engine.Close(id, tolvane::CLOSE_DISCARD);
    host_.recorder().Clear();
    ++inputs_;
  }

  // Whether the next input needs a fresh host: its engine's ids run low, or the inputs per host
  // asked for have run.
  bool Spent(long inputsPerHost) {
    // Far more than one import of a largest input makes; an ordinary one takes about fifty.
    constexpr uint32_t kIdsInReserve = 1u << 20;
    return host_.engine().objectIdsLeft() < kIdsInReserve ||
           (inputsPerHost > 0 && inputs_ >= inputsPerHost);
  }

 private:
  // A fresh copy of the fixed document, made the active one.
  tolvane::ObjectId OpenDocument() {
    tlhost::Engine& engine = host_.engine();
    tolvane::ObjectId id = 0;
    std::vector<tlhost::PropValue> returned;
    if (engine.OpenFile(OSPREVAN_FUZZ_DOCUMENT, {}, id, returned) != 0 || id == 0) {
      std::fprintf(stderr, "import_fuzzer: the fixed document does not open: %s\n",
                   engine.lastError().c_str());
      std::abort();
    }
    engine.SetProp(0, 0, tolvane::P_SESSION_ACTIVE_DOC, tlhost::Value::Id(id));
    return id;
  }

  tlhost::Host host_;
  fs::path directory_;
  std::string pdfPath_;
  std::string pristine_;                         // the document as saved
  std::map<int32_t, std::string> pristineText_;  // its writer's text by paragraph
  long inputs_ = 0;                              // inputs this host has imported
};

long InputsPerHost() {
  const char* value = std::getenv("IMPORT_FUZZER_INPUTS_PER_HOST");
  return value ? std::strtol(value, nullptr, 10) : 0;
}

// A library held loaded for as long as this lives.
class HeldLibrary {
 public:
  explicit HeldLibrary(const char* path) : module_(win::LoadLibrary(path)) {}
  ~HeldLibrary() {
    if (module_) win::FreeLibrary(module_);
  }
  HeldLibrary(const HeldLibrary&) = delete;
  HeldLibrary& operator=(const HeldLibrary&) = delete;

 private:
  win::HMODULE module_;
};

// The hosts of a run, one at a time. The plug-in and the PDF library stay loaded for the whole
// run: libFuzzer reads their coverage counters after every input, so they must not be unmapped
// when a host unloads its client. The plug-in also loads the PDF library for each import, which
// is then a count kept rather than the library and its dependencies loaded afresh.
class Hosts {
 public:
  explicit Hosts(long inputsPerHost) : inputsPerHost_(inputsPerHost) {}
  ImportUnderTest& Next() {
    if (current_->Spent(inputsPerHost_)) {
      current_.reset();  // the old host unloads its client before the new one loads it
      current_ = std::make_unique<ImportUnderTest>();
    }
    return *current_;
  }

 private:
  const long inputsPerHost_;
  HeldLibrary plugin_{OSPREVAN_PLUGIN_PATH};
  HeldLibrary pdfLibrary_{OSPREVAN_PDF_LIBRARY};
  std::unique_ptr<ImportUnderTest> current_ = std::make_unique<ImportUnderTest>();
};

}  // namespace

// The sanitizer holds freed memory back for 256 MiB by default before using it again, so nearly
// every allocation of an import touches fresh pages. An import of a seed frees about one MiB
// at most: 16 MiB still holds back many imports, and the seeds replayed 60 times each take a
// sixth less CPU time than with 64 MiB, half the page faults or more gone. The other settings
// stay the sanitizer's.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=16";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Made after the first library load filled the module table, so it goes first at exit.
  static Hosts hosts(InputsPerHost());
  hosts.Next().Run(data, size);
  return 0;
}
