// A PDF file read through a small cache of large blocks, for files too large to be read whole
// into memory. Poppler's own file stream fetches 256 bytes a system call, and the objects an
// import reads (annotations, the structure tree, each page's content) lie all over the file;
// here a character comes straight from a block of 64 KiB, and at most 16 blocks are kept.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "poppler/Object.h"
#include "poppler/Stream.h"

namespace ondrelkit {

class BlockCache;

// Positions, limits, reset and close behave as in Poppler's file stream: a limited stream ends
// at start + length, a negative direction of setPos counts from the end of the file, and close
// goes back to where the stream stood when it was reset.
class BlockFileStream : public BaseStream {
 public:
  // The whole file; null when it is no regular file or cannot be opened.
  static std::unique_ptr<BlockFileStream> Open(const std::string& name);

  BlockFileStream(std::shared_ptr<BlockCache> cache, Goffset start, bool limited, Goffset length,
                  Object&& dict);
  ~BlockFileStream() override;

  // The whole file again, through the same open file and a cache of its own, for another
  // thread (a cache is not shared between threads).
  std::unique_ptr<BlockFileStream> Reopened() const;

  BaseStream* copy() override;
  Stream* makeSubStream(Goffset start, bool limited, Goffset length, Object&& dict) override;
  StreamKind getKind() const override { return strWeird; }
  void reset() override;
  void close() override;
  int getChar() override {
    return (next_ < end_ || Refill()) ? static_cast<unsigned char>(*next_++) : EOF;
  }
  int lookChar() override {
    return (next_ < end_ || Refill()) ? static_cast<unsigned char>(*next_) : EOF;
  }
  Goffset getPos() override { return bufferPos_ + (next_ - buffer_); }
  void setPos(Goffset pos, int dir = 0) override;
  Goffset getStart() override { return start_; }
  void moveStart(Goffset delta) override;
  int getUnfilteredChar() override { return getChar(); }
  void unfilteredReset() override { reset(); }

 private:
  bool hasGetChars() override { return true; }
  int getChars(int count, unsigned char* out) override;
  // Points the window at the block holding the current position; false at the end.
  bool Refill();
  void MoveTo(Goffset pos);

  std::shared_ptr<BlockCache> cache_;  // shared by the copies and sub-streams
  Goffset start_;
  bool limited_;
  // The window on the current block: its bytes from buffer_ to end_, the first at bufferPos_.
  std::shared_ptr<const std::vector<char>> block_;
  const char* buffer_ = nullptr;
  const char* next_ = nullptr;
  const char* end_ = nullptr;
  Goffset bufferPos_ = 0;
  Goffset savedPos_ = 0;
  bool saved_ = false;
};

}  // namespace ondrelkit
