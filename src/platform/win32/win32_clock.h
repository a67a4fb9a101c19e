#pragma once
#include "platform/clock.h"

namespace quill::platform {

class Win32Clock : public Clock {
 public:
  LocalTime Now() override;
  char DateSeparator() override;
  char TimeSeparator() override;
  void Sleep(unsigned milliseconds) override;
};

}  // namespace quill::platform
