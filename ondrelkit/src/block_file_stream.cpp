#include "src/block_file_stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace ondrelkit {

// The file's blocks most recently used, the latest first. A block read short (the file's last,
// or one the system would not give whole) holds what was read. A stream keeps the block it
// reads from, so that a block dropped here stays while it is read.
class BlockCache {
 public:
  static constexpr Goffset kBlockSize = Goffset{64} << 10;
  static constexpr size_t kBlocksKept = 16;

  BlockCache(int descriptor, Goffset size) : descriptor_(descriptor), size_(size) {}
  ~BlockCache() { ::close(descriptor_); }
  BlockCache(const BlockCache&) = delete;
  BlockCache& operator=(const BlockCache&) = delete;

  Goffset size() const { return size_; }
  int descriptor() const { return descriptor_; }

  // The block with this index; null past the end or where the file cannot be read.
  std::shared_ptr<const std::vector<char>> Block(Goffset index) {
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& entry) { return entry.index == index; });
    if (found != entries_.end()) {
      std::rotate(entries_.begin(), found, found + 1);
      return entries_.front().bytes;
    }
    if (index < 0 || index * kBlockSize >= size_) return nullptr;
    auto bytes = std::make_shared<std::vector<char>>(static_cast<size_t>(kBlockSize));
    size_t got = 0;
    while (got < bytes->size()) {
      const ssize_t n = ::pread(descriptor_, bytes->data() + got, bytes->size() - got,
                                static_cast<off_t>(index * kBlockSize + static_cast<Goffset>(got)));
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
    if (got == 0) return nullptr;
    bytes->resize(got);
    if (entries_.size() == kBlocksKept) entries_.pop_back();
    entries_.insert(entries_.begin(), Entry{index, bytes});
    return bytes;
  }

 private:
  struct Entry {
    Goffset index;
    std::shared_ptr<const std::vector<char>> bytes;
  };

  int descriptor_;
  Goffset size_;
  std::vector<Entry> entries_;
};

std::unique_ptr<BlockFileStream> BlockFileStream::Open(const std::string& name) {
  const int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(descriptor);
    return nullptr;
  }
  auto cache = std::make_shared<BlockCache>(descriptor, static_cast<Goffset>(status.st_size));
  const Goffset size = cache->size();
  return std::make_unique<BlockFileStream>(std::move(cache), 0, false, size, Object(objNull));
}

std::unique_ptr<BlockFileStream> BlockFileStream::Reopened() const {
  const int descriptor = ::fcntl(cache_->descriptor(), F_DUPFD_CLOEXEC, 0);
  if (descriptor < 0) return nullptr;
  auto cache = std::make_shared<BlockCache>(descriptor, cache_->size());
  const Goffset size = cache->size();
  return std::make_unique<BlockFileStream>(std::move(cache), 0, false, size, Object(objNull));
}

BlockFileStream::BlockFileStream(std::shared_ptr<BlockCache> cache, Goffset start, bool limited,
                                 Goffset length, Object&& dict)
    : BaseStream(std::move(dict), length),
      cache_(std::move(cache)),
      start_(start),
      limited_(limited),
      bufferPos_(start) {}

BlockFileStream::~BlockFileStream() = default;

BaseStream* BlockFileStream::copy() {
  return new BlockFileStream(cache_, start_, limited_, length, dict.copy());
}

Stream* BlockFileStream::makeSubStream(Goffset start, bool limited, Goffset length, Object&& dict) {
  return new BlockFileStream(cache_, start, limited, length, std::move(dict));
}

void BlockFileStream::MoveTo(Goffset pos) {
  block_.reset();
  buffer_ = next_ = end_ = nullptr;
  bufferPos_ = pos;
}

void BlockFileStream::reset() {
  savedPos_ = getPos();
  saved_ = true;
  MoveTo(start_);
}

void BlockFileStream::close() {
  if (!saved_) return;
  MoveTo(savedPos_);
  saved_ = false;
}

void BlockFileStream::setPos(Goffset pos, int dir) {
  if (dir < 0) pos = cache_->size() - std::min(pos, cache_->size());
  MoveTo(pos);
}

void BlockFileStream::moveStart(Goffset delta) {
  start_ += delta;
  MoveTo(start_);
}

bool BlockFileStream::Refill() {
  const Goffset pos = getPos();
  if (pos < 0 || (limited_ && pos >= start_ + length)) return false;
  auto block = cache_->Block(pos / BlockCache::kBlockSize);
  const Goffset within = pos % BlockCache::kBlockSize;
  if (!block || within >= static_cast<Goffset>(block->size())) return false;
  Goffset count = static_cast<Goffset>(block->size()) - within;
  if (limited_) count = std::min(count, start_ + length - pos);
  block_ = std::move(block);
  buffer_ = next_ = block_->data() + within;
  end_ = buffer_ + count;
  bufferPos_ = pos;
  return true;
}

int BlockFileStream::getChars(int count, unsigned char* out) {
  int done = 0;
  while (done < count && (next_ < end_ || Refill())) {
    const int n = static_cast<int>(std::min<Goffset>(count - done, end_ - next_));
    std::memcpy(out + done, next_, static_cast<size_t>(n));
    next_ += n;
    done += n;
  }
  return done;
}

}  // namespace ondrelkit
