#pragma once
// Small helpers shared by the imaging tests: loading and saving in memory,
// and checking an error's class and exact message.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "bmp_builder.h"
#include "dib/kv_dib.h"
#include "dib/kv_errors.h"
#include "dib/kv_stream.h"

namespace quill::dib::testing {

inline void Load(TKvDIB& dib, const Bytes& bytes) {
  MemoryStream stream(bytes);
  dib.LoadFromStream(stream);
}

inline Bytes Save(const TKvDIB& dib) {
  MemoryStream stream;
  dib.SaveToStream(stream);
  return Bytes(stream.Bytes().begin(), stream.Bytes().end());
}

inline const TDIBInfo& Info(const TKvDIB& dib) { return dib.InternalDIB().DIBInfo; }

inline Bytes Pixels(const TKvDIB& dib) {
  const TDIBInfo& info = Info(dib);
  return Bytes(info.Bits(), info.Bits() + info.ImageSize);
}

// The message of the library error `action` raises, checking its class.
template <class Error, class Action>
std::string MessageOf(Action action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "other error: " << e.what();
    return {};
  }
  ADD_FAILURE() << "no error";
  return {};
}

// The library's default image: 1 × 1, 8 bits, two black entries, pixel 0.
inline void ExpectDefaultImage(const TKvDIB& dib) {
  EXPECT_EQ(dib.GetWidth(), 1);
  EXPECT_EQ(dib.GetHeight(), 1);
  const TDIBInfo& info = Info(dib);
  EXPECT_EQ(info.Header.biBitCount, 8);
  EXPECT_EQ(info.Header.biClrUsed, 2u);
  EXPECT_EQ(info.Header.biCompression, kBiRgb);
  EXPECT_EQ(info.ImageSize, 4);
  EXPECT_EQ(Pixels(dib), Bytes(4, 0));
  EXPECT_EQ(info.ColorTable[0], TRGBQuad{});
  EXPECT_EQ(info.ColorTable[1], TRGBQuad{});
}

}  // namespace quill::dib::testing
