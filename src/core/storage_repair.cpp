#include "core/storage_repair.h"

#include <algorithm>
#include <vector>

#include "core/element_name.h"
#include "core/storage_modes.h"

namespace quill::core {

using platform::kOk;

namespace {

// The record number a storage's name stands for, or -1 for another name.
int RecordNumberOf(const std::u16string& name) {
  const std::int32_t n = LeadingNumber(name);
  return n >= 0 && n <= 0xFFFF && ElementName(n) == name ? n : -1;
}

// A record is whole once its Header holds something.
bool IsWhole(platform::Storage& root, const std::u16string& name) {
  std::unique_ptr<platform::Storage> record;
  if (root.OpenStorage(name, mode::kOpenForReading, record) != kOk) return false;
  std::unique_ptr<platform::Stream> header;
  if (record->OpenStream(u"Header", mode::kOpenForReading, header) != kOk) return false;
  char first = 0;
  std::uint32_t read = 0;
  return header->Read(&first, 1, &read) == kOk && read == 1;
}

}  // namespace

void RepairRecords(platform::Storage& root) {
  std::vector<int> numbers;
  {
    std::unique_ptr<platform::ElementEnumerator> elements;
    if (root.EnumElements(elements) != kOk) return;
    platform::ElementStat element;
    while (elements->Next(element) == kOk) {
      if (element.type != platform::ElementType::kStorage) continue;
      const int n = RecordNumberOf(element.name);
      if (n >= 0) numbers.push_back(n);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  // A record waiting under the spare name counts only once whole: its
  // Header is written last. Numbered records are all kept, whole or not
  // (what is in them may be all that is left of a copy).
  bool waiting = false;
  std::vector<int> whole;
  for (int n : numbers) {
    if (n != 0)
      whole.push_back(n);
    else if (IsWhole(root, ElementName(0)))
      waiting = true;
    else
      root.DestroyElement(ElementName(0));
  }
  // The waiting record goes where the interrupted step took a record away.
  std::vector<int> order;
  int expected = 1;
  for (int n : whole) {
    if (waiting && n != expected) {
      order.push_back(0);
      waiting = false;
    }
    order.push_back(n);
    expected = static_cast<int>(order.size()) + 1;
  }
  if (waiting) order.push_back(0);
  // Every record keeps or lowers its number, apart from the waiting one
  // (which goes into a gap): renaming in rising order never meets a name
  // still in use.
  for (std::size_t i = 0; i < order.size(); ++i) {
    const int target = static_cast<int>(i) + 1;
    if (order[i] == target) continue;
    root.RenameElement(ElementName(order[i]), ElementName(target));
  }
}

}  // namespace quill::core
