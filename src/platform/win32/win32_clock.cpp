#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace quill::platform {
namespace {

char LocaleSeparator(LCTYPE type, char fallback) {
  char text[8] = {};
  return ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text) > 1 ? text[0] : fallback;
}

}  // namespace

LocalTime Win32Clock::Now() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

char Win32Clock::DateSeparator() { return LocaleSeparator(LOCALE_SDATE, '/'); }
char Win32Clock::TimeSeparator() { return LocaleSeparator(LOCALE_STIME, ':'); }
void Win32Clock::Sleep(unsigned milliseconds) { ::Sleep(milliseconds); }

}  // namespace quill::platform
