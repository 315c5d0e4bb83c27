#include "rio/unit_buffer.h"

#include <algorithm>
#include <cstring>

#include "rio/hooks.h"
#include "rio/platform.h"
#include "rio/status.h"

namespace rio {
namespace {

// Reported when a console write hook fails without a system error of its own.
constexpr int kSysWriteFault = 29;

int write_out(UnitRecord& u, const char* bytes, std::size_t n) {
  if (u.console()) {
    // A failed hook is judged by the system error it leaves, not by one
    // left over from an earlier operation.
    platform::clear_last_error();
    if (call_write_hook(bytes, static_cast<int>(n), u.handle) != 0) return kOk;
    int code = platform::last_error();
    return u.last_error = code ? code : kSysWriteFault;
  }
  long long w = platform::write_bytes(u.handle, bytes, n);
  if (w < 0) return u.last_error = static_cast<int>(-w);
  return kOk;
}

// A file that is rewritten from the start is cut after the new data the
// first time data reaches it, so no stale tail of the old content survives.
int cut_stale_tail(UnitRecord& u, long long end) {
  u.set(kTruncateAtFirstWrite, false);
  long long size = platform::file_size(u.handle);
  if (size < 0) return u.last_error = static_cast<int>(-size);
  if (size <= end) return kOk;
  if (int rc = platform::truncate_at(u.handle, end)) return u.last_error = rc;
  return kOk;
}

}  // namespace

int enter_output_mode(UnitRecord& u) {
  if (!u.is(kBufferFromFile)) return kOk;
  long long logical = u.buffer_offset + static_cast<long long>(u.buffer_position);
  if (!u.console() && u.buffer_position < u.buffer_fill) {
    long long r = platform::seek_to(u.handle, logical);
    if (r < 0) return u.last_error = static_cast<int>(-r);
  }
  u.buffer_offset = logical;
  u.buffer_fill = u.buffer_position = 0;
  u.set(kBufferFromFile, false);
  return kOk;
}

int put_bytes(UnitRecord& u, const char* bytes, std::size_t n) {
  while (n > 0) {
    std::size_t take = std::min(n, u.buffer.size() - u.buffer_fill);
    std::memcpy(u.buffer.data() + u.buffer_fill, bytes, take);
    u.buffer_fill += take;
    u.set(kBufferDirty);
    bytes += take;
    n -= take;
    if (u.buffer_fill == u.buffer.size())
      if (int rc = flush_unit(u)) return rc;
  }
  return kOk;
}

int refill(UnitRecord& u, std::size_t* delivered) {
  if (int rc = flush_unit(u)) return rc;
  long long n;
  if (u.console()) {
    n = call_read_hook(u.buffer.data(), static_cast<int>(u.buffer.size()));
    if (n < 0) n = 0;
    n = std::min<long long>(n, static_cast<long long>(u.buffer.size()));
  } else {
    n = platform::read_bytes(u.handle, u.buffer.data(), u.buffer.size());
    if (n < 0) return u.last_error = static_cast<int>(-n);
  }
  u.buffer_offset += static_cast<long long>(u.buffer_fill);
  u.buffer_fill = static_cast<std::size_t>(n);
  u.buffer_position = 0;
  u.set(kBufferFromFile);
  *delivered = u.buffer_fill;
  return kOk;
}

int store_input(RecordBuffer& record, char c, std::size_t n) {
  return record.would_pass_limit(n) ? kBufferAllocationFailed : record.append(c, n);
}

int flush_unit(UnitRecord& u) {
  if (!u.is(kBufferDirty)) return kOk;
  u.set(kBufferDirty, false);
  std::size_t n = u.buffer_fill;
  u.buffer_fill = u.buffer_position = 0;
  if (n == 0) return kOk;
  if (int rc = write_out(u, u.buffer.data(), n)) return rc;
  u.buffer_offset += static_cast<long long>(n);
  if (u.is(kTruncateAtFirstWrite)) return cut_stale_tail(u, u.buffer_offset);
  return kOk;
}

}  // namespace rio
