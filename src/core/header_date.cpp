#include "core/header_date.h"

#include <cstdio>

namespace quill::core {

std::string FormatHeaderDate(const platform::LocalTime& t, char ds, char ts) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d%c%02d%c%02d %02d%c%02d", t.year, ds, t.month, ds, t.day,
                t.hour, ts, t.minute);
  return text;
}

}  // namespace quill::core
