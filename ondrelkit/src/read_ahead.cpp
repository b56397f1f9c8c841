#include "src/read_ahead.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "poppler/PDFDoc.h"
#include "poppler/Stream.h"
#include "src/block_file_stream.h"
#include "src/handles.h"
#include "src/operations.h"
#include "src/page_interpretation.h"

namespace ondrelkit {
namespace {

// Pages read ahead of the one asked for: enough to keep the thread busy while the client works
// on a page, few enough that the logs waiting stay small (a dense page's log is about 100 KiB).
constexpr int kPagesAhead = 4;
// Pages asked for in a row before reading ahead starts: a walk that picks pages here and there
// does not pay for a thread and a second document.
constexpr int kPagesInARow = 3;
// The most the logs read ahead may hold together. A page whose log would take it past this is
// left to be read when asked for: the client's memory callbacks then limit what it takes.
constexpr size_t kLogBudget = size_t{16} << 20;

std::atomic<int64_t> g_pagesReadAhead{0};

// A second stream on the document's bytes: the bytes in memory, or the file through the same
// open file (the name may by now lead to another one).
std::unique_ptr<BaseStream> SecondStream(const OkDoc& document) {
  if (!document.bytes.empty()) {
    // MemStream only reads from the buffer, which the document keeps until after this is gone.
    char* bytes = const_cast<char*>(document.bytes.data());
    return std::make_unique<MemStream>(bytes, 0, static_cast<Goffset>(document.bytes.size()),
                                       Object(objNull));
  }
  if (const auto* blocks = dynamic_cast<const BlockFileStream*>(document.pdf->getBaseStream())) {
    return blocks->Reopened();
  }
  return nullptr;
}

bool Setting(const char* value) {
  const char* setting = std::getenv("OK_READ_AHEAD");
  return setting && std::strcmp(setting, value) == 0;
}

}  // namespace

std::unique_ptr<ReadAhead> ReadAhead::Start(const OkDoc& document) {
  std::unique_ptr<BaseStream> stream = SecondStream(document);
  if (!stream) return nullptr;
  try {
    return std::make_unique<ReadAhead>(std::move(stream), Setting("wait"));
  } catch (const std::exception&) {  // no thread to be had
    return nullptr;
  }
}

ReadAhead::ReadAhead(std::unique_ptr<BaseStream> stream, bool waitForQueued)
    : stream_(std::move(stream)), waitForQueued_(waitForQueued), thread_([this] { Run(); }) {}

ReadAhead::~ReadAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void ReadAhead::Want(int index) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (broken_ || index == reading_ || read_.count(index) ||
        std::find(wanted_.begin(), wanted_.end(), index) != wanted_.end()) {
      return;
    }
    wanted_.push_back(index);
  }
  changed_.notify_all();
}

std::unique_ptr<ContentLog> ReadAhead::Take(int index) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto queued = [&] { return std::find(wanted_.begin(), wanted_.end(), index); };
  if (queued() != wanted_.end() && !waitForQueued_) {
    wanted_.erase(queued());
    return nullptr;
  }
  changed_.wait(lock, [&] { return reading_ != index && queued() == wanted_.end(); });
  const auto found = read_.find(index);
  if (found == read_.end()) return nullptr;
  std::unique_ptr<ContentLog> log = std::move(found->second);
  read_.erase(found);
  if (log) waiting_ -= log->Bytes();
  return log;
}

size_t ReadAhead::Room() const {
  return kLogBudget - std::min(waiting_, kLogBudget);
}

void ReadAhead::Keep(int index, std::unique_ptr<ContentLog> log) {
  if (log && log->TooLarge()) log.reset();
  if (log) waiting_ += log->Bytes();
  auto& kept = read_[index];
  if (kept) waiting_ -= kept->Bytes();
  kept = std::move(log);
}

void ReadAhead::ForgetBefore(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto end = read_.lower_bound(index);
  for (auto at = read_.begin(); at != end; ++at) {
    if (at->second) waiting_ -= at->second->Bytes();
  }
  read_.erase(read_.begin(), end);
  wanted_.erase(std::remove_if(wanted_.begin(), wanted_.end(), [&](int i) { return i < index; }),
                wanted_.end());
}

void ReadAhead::Run() {
  bool repaired = false;  // Poppler calls back on this thread, while it reads
  std::unique_ptr<PDFDoc> pdf;
  try {
    pdf = std::make_unique<PDFDoc>(stream_.release(), std::optional<GooString>(),
                                   std::optional<GooString>(), nullptr,
                                   [&repaired] { repaired = true; });
  } catch (...) {
    pdf.reset();
  }
  bool usable = pdf && pdf->isOk() && !repaired;
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return stop_ || !wanted_.empty(); });
    if (stop_) break;
    if (!usable) {
      broken_ = true;
      wanted_.clear();
      changed_.notify_all();
      continue;
    }
    const int index = wanted_.front();
    wanted_.pop_front();
    reading_ = index;
    const size_t room = Room();
    lock.unlock();
    auto log = std::make_unique<ContentLog>(&stop_, room);
    bool read = false;
    try {
      read = InterpretPage(pdf.get(), index, nullptr, 0, *log);
    } catch (...) {
      read = false;
    }
    // A repair changes what the document reads from then on; the client's document, which did
    // not repair, would not read the same.
    if (repaired) usable = false;
    lock.lock();
    reading_ = -1;
    if (!read || !usable || stop_) log.reset();
    Keep(index, std::move(log));
    changed_.notify_all();
  }
  lock.unlock();
  pdf.reset();
}

void CountPageReadAhead() {
  ++g_pagesReadAhead;
}

int64_t PagesReadAhead() {
  return g_pagesReadAhead.load();
}

void PlanReadAhead(const OkDoc& document, int index) {
  ReadAheadState& state = document.readAhead;
  state.run = index == state.last + 1 ? state.run + 1 : 1;
  state.last = index;
  if (state.run < kPagesInARow) return;
  if (!state.reader) {
    if (state.refused || *document.repaired || Setting("0")) return;
    state.reader = ReadAhead::Start(document);
    if (!state.reader) {
      state.refused = true;
      return;
    }
  }
  state.reader->ForgetBefore(index);
  const int pages = PageCount(&document);
  for (int next = index + 1; next <= index + kPagesAhead && next < pages; ++next) {
    state.reader->Want(next);
  }
}

}  // namespace ondrelkit
