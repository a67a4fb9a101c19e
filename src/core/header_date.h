#pragma once
#include <string>

#include "platform/clock.h"

namespace quill::core {

// The date item of a record: "yyyy/mm/dd hh:nn" with the user's separators.
std::string FormatHeaderDate(const platform::LocalTime& time, char date_separator,
                             char time_separator);

}  // namespace quill::core
