#pragma once
// Local time and the user's date and time separators, and waiting: behind
// an interface so that tests see fixed dates and never really wait.
namespace quill::platform {

struct LocalTime {
  int year, month, day, hour, minute, second;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  virtual char DateSeparator() = 0;
  virtual char TimeSeparator() = 0;
  // Blocks the calling thread for the given time.
  virtual void Sleep(unsigned milliseconds) = 0;
};

}  // namespace quill::platform
