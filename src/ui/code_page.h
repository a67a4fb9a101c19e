#pragma once
// Conversions at the edge between window texts (UTF-16) and the texts the
// recorder keeps in the system's 8-bit code page.
#include <string>

namespace quill::ui {

std::string ToAnsi(const std::wstring& text);
std::wstring FromAnsi(const std::string& text);
std::u16string ToU16(const std::wstring& text);
std::wstring FromU16(const std::u16string& text);

}  // namespace quill::ui
