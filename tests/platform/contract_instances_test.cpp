// Every implementation the build has, run through the contracts.
#include "clipboard_contract.h"
#include "screen_contract.h"
#include "storage_contract.h"

namespace quill::platform::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(Memory, ClipboardContract, ::testing::Values(MemoryClipboardWorldMaker()),
                         ClipboardMakerName);
INSTANTIATE_TEST_SUITE_P(Memory, ScreenContract, ::testing::Values(MemoryScreenWorldMaker()),
                         ScreenMakerName);
INSTANTIATE_TEST_SUITE_P(Memory, StorageContract, ::testing::Values(MemoryStorageWorldMaker()),
                         StorageMakerName);
INSTANTIATE_TEST_SUITE_P(Memory, StorageContractWithFile,
                         ::testing::Values(MemoryStorageWorldMaker()), StorageMakerName);
#ifdef _WIN32
INSTANTIATE_TEST_SUITE_P(Win32, ClipboardContract, ::testing::Values(Win32ClipboardWorldMaker()),
                         ClipboardMakerName);
INSTANTIATE_TEST_SUITE_P(Win32, ScreenContract, ::testing::Values(Win32ScreenWorldMaker()),
                         ScreenMakerName);
INSTANTIATE_TEST_SUITE_P(Win32, StorageContract, ::testing::Values(Win32StorageWorldMaker()),
                         StorageMakerName);
INSTANTIATE_TEST_SUITE_P(Win32, StorageContractWithFile,
                         ::testing::Values(Win32StorageWorldMaker()), StorageMakerName);
#endif

}  // namespace
}  // namespace quill::platform::testing
