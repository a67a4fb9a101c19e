#pragma once
// The command numbers of one window, of every kind: its controls' ids, its
// menu items' commands, the commands of its shortcut keys. Handed out from
// one range so that no two can meet; a number given back (an item of a
// menu rebuilt for every record) is handed out again first, so that the 16
// bits a command carries are never used up.
#include <windows.h>

#include <set>
#include <stdexcept>

namespace quill::framework {

class CommandNumbers {
 public:
  UINT Take() {
    if (!free_.empty()) return free_.extract(free_.begin()).value();
    if (next_ > 0xFFFF) throw std::length_error("too many commands");
    return next_++;
  }
  void Give(UINT number) { free_.insert(number); }

 private:
  UINT next_ = 1000;
  std::set<UINT> free_;
};

}  // namespace quill::framework
