#include "recorder_fixture.h"

namespace quill::core::testing {

INSTANTIATE_TEST_SUITE_P(Worlds, RecorderTest, ::testing::ValuesIn(AllWorlds()), WorldName);

}  // namespace quill::core::testing
