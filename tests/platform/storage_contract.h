#pragma once
#include <gtest/gtest.h>

#include <string>

#include "storage_world.h"

namespace quill::platform::testing {

class StorageContract : public ::testing::TestWithParam<StorageWorldMaker> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  void TearDown() override { world_.reset(); }

  std::unique_ptr<StorageWorld> world_;
};

constexpr std::uint32_t kCreateRoot = stgm::kCreate | stgm::kShareExclusive | stgm::kReadWrite;
constexpr std::uint32_t kOpenRoot = stgm::kShareExclusive | stgm::kReadWrite;
constexpr std::uint32_t kCreateChild = stgm::kCreate | stgm::kShareExclusive | stgm::kWrite;
constexpr std::uint32_t kOpenChild = stgm::kShareExclusive | stgm::kRead;

class StorageContractWithFile : public StorageContract {
 protected:
  void SetUp() override {
    StorageContract::SetUp();
    path_ = world_->PathOf(u"contract.stg");
    ASSERT_EQ(world_->files().CreateDocfile(path_, kCreateRoot, root_), kOk);
    ASSERT_TRUE(root_);
  }
  void TearDown() override {
    root_.reset();
    StorageContract::TearDown();
  }

  std::unique_ptr<Storage> NewChild(const std::u16string& name) {
    std::unique_ptr<Storage> child;
    EXPECT_EQ(root_->CreateStorage(name, kCreateChild, child), kOk);
    return child;
  }

  // Releases the root and opens the file again, so that what is checked
  // afterwards is what the file holds.
  void Reopen() {
    root_.reset();
    ASSERT_EQ(world_->files().OpenDocfile(path_, kOpenRoot, root_), kOk);
  }

  std::u16string path_;
  std::unique_ptr<Storage> root_;
};

inline std::string StorageMakerName(const ::testing::TestParamInfo<StorageWorldMaker>& info) {
  return info.param.name;
}

}  // namespace quill::platform::testing
