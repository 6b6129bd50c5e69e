// The word- and vector-wide NUL searches behind structure validity and the
// string fetch: each must find exactly what a byte-by-byte search finds, at
// every start and with the buffer ending anywhere, since they read whole
// words and must never read past the buffer's end.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "smbios/nul_scan.h"

namespace tarnwick {
namespace {

size_t PairOneByOne(const std::vector<uint8_t>& bytes, size_t from, size_t size) {
  for (size_t p = from; p + 1 < size; ++p) {
    if (bytes[p] == 0 && bytes[p + 1] == 0) return p;
  }
  return size;
}

size_t NulOneByOne(const std::vector<uint8_t>& bytes, size_t from, size_t size) {
  for (size_t p = from; p < size; ++p) {
    if (bytes[p] == 0) return p;
  }
  return size;
}

// Bytes where zeros are common, single NULs more so than pairs, and values
// with the high bit set occur (they must not look like zeros). Some buffers
// hold long runs without a NUL, as long strings do, so that the searches
// run past their inline steps into the C library's.
std::vector<uint8_t> Buffer(std::mt19937& random, size_t size) {
  std::vector<uint8_t> bytes(size);
  const bool long_runs = random() % 2 == 0;
  for (uint8_t& b : bytes) {
    const uint32_t pick = random() % (long_runs ? 200 : 8);
    b = pick == 0 ? 0 : (pick == 1 ? 0x80 : (pick == 2 ? 0x01 : static_cast<uint8_t>(1 + random() % 255)));
  }
  return bytes;
}

void ExpectAgreement(const std::vector<uint8_t>& bytes, size_t from, size_t size) {
  ASSERT_EQ(FindNulPair(bytes.data(), from, size), PairOneByOne(bytes, from, size)) << from << "/" << size;
  ASSERT_EQ(FindNulPairByWords(bytes.data(), from, size), PairOneByOne(bytes, from, size)) << from << "/" << size;
  ASSERT_EQ(FindNul(bytes.data(), from, size), NulOneByOne(bytes, from, size)) << from << "/" << size;
  ASSERT_EQ(FindNulByWords(bytes.data(), from, size), NulOneByOne(bytes, from, size)) << from << "/" << size;
}

TEST(NulScanTest, AgreesWithAByteByByteSearchEverywhere) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    const std::vector<uint8_t> bytes = Buffer(random, random() % 80);
    for (size_t size = 0; size <= bytes.size(); ++size) {
      for (size_t from = 0; from <= size + 3; ++from) ExpectAgreement(bytes, from, size);
    }
  }
}

TEST(NulScanTest, AgreesOnLongBuffersWhateverTheirEnd) {
  std::mt19937 random(9);
  for (int round = 0; round < 60; ++round) {
    const std::vector<uint8_t> bytes = Buffer(random, 100 + random() % 500);
    const size_t n = bytes.size();
    for (size_t size : {n, n - 1, n - 2, n - 9, n - 17, n - 40, size_t{random() % n}}) {
      for (size_t from = 0; from <= size + 1; ++from) ExpectAgreement(bytes, from, size);
    }
  }
}

TEST(NulScanTest, SeparateNulsAreNoPair) {
  // NULs every other byte across several words, and a pair only at the end
  // where its second byte is the buffer's last.
  std::vector<uint8_t> bytes(40, 'A');
  for (size_t p = 0; p < 38; p += 2) bytes[p] = 0;
  bytes[38] = 0;
  bytes[39] = 0;
  EXPECT_EQ(FindNulPair(bytes.data(), 0, 40), 38u);
  EXPECT_EQ(FindNulPair(bytes.data(), 0, 39), 39u) << "a pair needs its second byte inside the buffer";
  EXPECT_EQ(FindNulPairByWords(bytes.data(), 0, 39), 39u);
}

TEST(NulScanTest, HighBytesAreNotZero) {
  const std::vector<uint8_t> bytes = {0x80, 0x80, 0xFF, 0x00, 0x80, 0x00, 0x00, 0x7F, 0x01, 0x00};
  EXPECT_EQ(FindNul(bytes.data(), 0, bytes.size()), 3u);
  EXPECT_EQ(FindNulPair(bytes.data(), 0, bytes.size()), 5u);
  EXPECT_EQ(FindNulByWords(bytes.data(), 6, bytes.size()), 6u);
  EXPECT_EQ(FindNulByWords(bytes.data(), 7, bytes.size()), 9u);
}

}  // namespace
}  // namespace tarnwick
