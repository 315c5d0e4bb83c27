// Direct-access records and length-prefixed unformatted records.
#include <cstdint>
#include <cstring>
#include <vector>

#include "rio/platform.h"
#include "rio/status.h"
#include "rio/unit_buffer.h"
#include "rio/units.h"

namespace rio {

int read_direct_record(UnitRecord& u, long rec, RecordBuffer& record) {
  record.clear();
  record.read_pos = 0;
  if (int rc = flush_unit(u)) return rc;
  u.set(kBufferFromFile, false);
  std::vector<char> bytes(static_cast<std::size_t>(u.record_length));
  long long at = static_cast<long long>(rec - 1) * u.record_length;
  long long r = platform::seek_to(u.handle, at);
  if (r < 0) return u.last_error = static_cast<int>(-r);
  long long n = platform::read_bytes(u.handle, bytes.data(), bytes.size());
  if (n < 0) return u.last_error = static_cast<int>(-n);
  if (n < static_cast<long long>(bytes.size())) return kEndOfFile;
  u.record_index = rec;
  return record.append(bytes.data(), bytes.size());
}

int write_direct_record(UnitRecord& u, long rec, const RecordBuffer& record) {
  if (static_cast<long long>(record.length()) > u.record_length) return kRecordTooLong;
  if (int rc = flush_unit(u)) return rc;
  u.set(kBufferFromFile, false);
  std::vector<char> bytes(static_cast<std::size_t>(u.record_length), u.is(kUnformatted) ? '\0' : ' ');
  if (record.length() > 0) std::memcpy(bytes.data(), record.data(), record.length());
  long long at = static_cast<long long>(rec - 1) * u.record_length;
  long long r = platform::seek_to(u.handle, at);
  if (r < 0) return u.last_error = static_cast<int>(-r);
  long long n = platform::write_bytes(u.handle, bytes.data(), bytes.size());
  if (n < 0) return u.last_error = static_cast<int>(-n);
  u.record_index = rec;
  return kOk;
}

}  // namespace rio

namespace rio {
namespace {

void encode_count(const UnitRecord& u, std::uint32_t count, char* out) {
  for (int i = 0; i < 4; ++i) {
    int shift = u.is(kBigEndian) ? 8 * (3 - i) : 8 * i;
    out[i] = static_cast<char>((count >> shift) & 0xFF);
  }
}

std::uint32_t decode_count(const UnitRecord& u, const unsigned char* in) {
  std::uint32_t count = 0;
  for (int i = 0; i < 4; ++i) {
    int shift = u.is(kBigEndian) ? 8 * (3 - i) : 8 * i;
    count |= static_cast<std::uint32_t>(in[i]) << shift;
  }
  return count;
}

// Moves n bytes from the unit's input into out (null: skips them).
int take_bytes(UnitRecord& u, char* out, std::size_t n) {
  while (n > 0) {
    if (u.buffer_position >= u.buffer_fill || !u.is(kBufferFromFile)) {
      std::size_t delivered = 0;
      if (int rc = refill(u, &delivered)) return rc;
      if (delivered == 0) {
        u.set(kEndOfFileReached);
        return kEndOfFile;
      }
    }
    std::size_t take = std::min(n, u.buffer_fill - u.buffer_position);
    if (out) {
      std::memcpy(out, u.buffer.data() + u.buffer_position, take);
      out += take;
    }
    u.buffer_position += take;
    n -= take;
  }
  return kOk;
}

}  // namespace

int write_unformatted_record(UnitRecord& u, const RecordBuffer& record) {
  if (int rc = enter_output_mode(u)) return rc;
  char count[4];
  encode_count(u, static_cast<std::uint32_t>(record.length()), count);
  if (int rc = put_bytes(u, count, 4)) return rc;
  if (int rc = put_bytes(u, record.data(), record.length())) return rc;
  if (int rc = put_bytes(u, count, 4)) return rc;
  ++u.record_index;
  return u.is(kFlushEachRecord) ? flush_unit(u) : kOk;
}

int read_unformatted_record(UnitRecord& u, RecordBuffer& record) {
  record.clear();
  record.read_pos = 0;
  if (u.is(kEndOfFileReached)) return kEndOfFile;
  unsigned char count[4];
  if (int rc = take_bytes(u, reinterpret_cast<char*>(count), 4)) return rc;
  std::uint32_t n = decode_count(u, count);
  if (int rc = store_input(record, '\0', n)) return rc;
  record.set_cursor(0);
  if (int rc = take_bytes(u, record.data(), n)) return rc;
  record.set_cursor(n);
  if (int rc = take_bytes(u, nullptr, 4)) return rc;
  ++u.record_index;
  return kOk;
}

}  // namespace rio
