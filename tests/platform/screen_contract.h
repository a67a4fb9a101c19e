#pragma once
#include <gtest/gtest.h>

#include "screen_world.h"

namespace quill::platform::testing {

class ScreenContract : public ::testing::TestWithParam<ScreenWorldMaker> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  void TearDown() override { world_.reset(); }

  std::unique_ptr<ScreenWorld> world_;
};

inline std::string ScreenMakerName(const ::testing::TestParamInfo<ScreenWorldMaker>& info) {
  return info.param.name;
}

}  // namespace quill::platform::testing
