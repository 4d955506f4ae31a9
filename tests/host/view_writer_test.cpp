// The view record's encodings: the host's 32.32 fixed-point positions and
// turn words, and what cannot be encoded.
#include "host/view_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace varolen {
namespace {

TEST(ViewWriter, PositionsAndTurnsAreTheHostsFixedPoint) {
  std::uint32_t words[6];
  EncodeHostPosition({1.0, 90.0, -2.25}, words);
  EXPECT_EQ(words[1], 111130u);                                          // whole metres north
  EXPECT_EQ(words[3], 1073741823u);                                      // a quarter turn, just under
  EXPECT_EQ(static_cast<std::int32_t>(words[5]), -3);                    // -2.25: floor -3 ...
  EXPECT_EQ(words[4], static_cast<std::uint32_t>(0.75 * 4294967295.0));  // ... and three quarters
  std::uint32_t turn[3];
  EncodeHostOrientation(90.0, -90.0, 360.0, turn);
  EXPECT_EQ(turn[0], 1073741823u);
  EXPECT_EQ(turn[1], static_cast<std::uint32_t>(-1073741823));
  EXPECT_EQ(turn[2], 4294967295u);
}

// What cannot be encoded keeps its words, as the observer's do: not the
// equator, not north.
TEST(ViewWriter, WhatCannotBeEncodedKeepsItsWords) {
  std::uint32_t kept[6] = {1, 2, 3, 4, 5, 6};
  EncodeHostPosition({std::nan(""), 1e300, 10.0}, kept);
  EXPECT_EQ(kept[0], 1u);
  EXPECT_EQ(kept[1], 2u);
  EXPECT_EQ(kept[2], 3u) << "1e300 turns do not fit 64 bits";
  EXPECT_EQ(kept[5], 10u);
  std::uint32_t still[3] = {7, 8, 9};
  EncodeHostOrientation(std::nan(""), 1.0, std::numeric_limits<double>::infinity(), still);
  EXPECT_EQ(still[0], 7u);
  EXPECT_NE(still[1], 8u);
  EXPECT_EQ(still[2], 9u);

  std::uint8_t record[0x200] = {};
  record[0x100] = 0xAB;
  SetViewZoom(record, 0x100, std::nan(""));
  EXPECT_EQ(record[0x100], 0xAB) << "a zoom that is no number";
}

}  // namespace
}  // namespace varolen
