// Every float, on every core: the shortest decimal writer gives the bytes
// std::to_chars gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "formats/shortest_real.h"

namespace {

std::uint64_t first_difference(std::uint64_t begin, std::uint64_t end) {
  char ours[compare::kShortestRoom], peer[64];
  for (std::uint64_t bits = begin; bits < end; ++bits) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    if (std::isnan(value)) continue;
    const char* our_end = compare::write_shortest(ours, value);
    const char* peer_end = std::to_chars(peer, peer + sizeof peer, value).ptr;
    if (our_end - ours != peer_end - peer || std::memcmp(ours, peer, our_end - ours) != 0) return bits;
  }
  return end;
}

TEST(ShortestRealLong, EveryFloatAsStdToChars) {
  constexpr std::uint64_t kAll = std::uint64_t{1} << 32;
  const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::uint64_t> found(threads);
  std::vector<std::thread> workers;
  for (unsigned t = 0; t < threads; ++t)
    workers.emplace_back([&, t] {
      const std::uint64_t begin = kAll / threads * t, end = t + 1 == threads ? kAll : kAll / threads * (t + 1);
      found[t] = first_difference(begin, end) == end ? kAll : first_difference(begin, end);
    });
  for (std::thread& w : workers) w.join();
  for (std::uint64_t bits : found) EXPECT_EQ(bits, kAll) << "first float written differently: 0x" << std::hex << bits;
}

}  // namespace
