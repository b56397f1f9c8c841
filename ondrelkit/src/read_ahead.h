// Interprets the pages after those the client is reading, on a second thread, while the client
// works on the page it has. The thread opens a document of its own on the same bytes (Poppler's
// documents are not to be shared between threads) and keeps what each page reported in a log;
// the client's thread builds the page's content from the log when it asks for the page, with
// its own memory callbacks. A page the thread could not read, or a document that Poppler had to
// repair on either side, is read on the client's thread as without it, so the content is the
// same either way.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "src/content_log.h"

class BaseStream;
struct OkDoc;

namespace ondrelkit {

class ReadAhead {
 public:
  // Null when the document's bytes cannot be read a second time (a file Poppler opened by its
  // name) or the thread cannot be started.
  static std::unique_ptr<ReadAhead> Start(const OkDoc& document);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Queues the page (counted from 0), unless it is queued, being read or read.
  void Want(int index);
  // The page's log, waiting while the thread reads it. Null when the page was not wanted,
  // could not be read there, or was still waiting in the queue (the caller reads it sooner
  // itself). The caller's own document reads pages only in the order it asks for them, so
  // that a repair Poppler makes on a damaged page happens where it would without reading
  // ahead.
  std::unique_ptr<ContentLog> Take(int index);
  // Drops what was read or queued for pages before this one.
  void ForgetBefore(int index);

  // With `waitForQueued`, Take waits for a queued page rather than leave it to the caller: every
  // page asked for in order then comes from the thread (OK_READ_AHEAD=wait, for tests).
  ReadAhead(std::unique_ptr<BaseStream> stream, bool waitForQueued);

 private:
  void Run();
  // What the logs may still take; under the lock.
  size_t Room() const;
  // Keeps a page's log (null: read it when asked for), unless it is too large; under the lock.
  void Keep(int index, std::unique_ptr<ContentLog> log);

  std::unique_ptr<BaseStream> stream_;  // the thread's document takes it over
  const bool waitForQueued_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<int> wanted_;
  int reading_ = -1;
  std::map<int, std::unique_ptr<ContentLog>> read_;  // null: could not be read there
  size_t waiting_ = 0;                               // the bytes of the logs in read_
  bool broken_ = false;  // the thread's document did not open, or was repaired
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// What the document's read-ahead knows of the client's requests.
struct ReadAheadState {
  int last = -2;  // the page whose content was asked for last
  int run = 0;    // how many pages in a row, each the one after the last
  bool refused = false;
  std::unique_ptr<ReadAhead> reader;
};

// Counts a page whose content was built from what was read ahead; see OkPagesReadAhead.
void CountPageReadAhead();
int64_t PagesReadAhead();

// Called with each page whose content the client asks for: after a few pages in a row, reads
// the next ones ahead.
void PlanReadAhead(const OkDoc& document, int index);

}  // namespace ondrelkit
