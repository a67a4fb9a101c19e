#pragma once
#include <gtest/gtest.h>

#include "clipboard_world.h"

namespace quill::platform::testing {

class ClipboardContract : public ::testing::TestWithParam<ClipboardWorldMaker> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  void TearDown() override { world_.reset(); }

  std::unique_ptr<ClipboardWorld> world_;
};

inline std::string ClipboardMakerName(const ::testing::TestParamInfo<ClipboardWorldMaker>& info) {
  return info.param.name;
}

}  // namespace quill::platform::testing
