#include "exchange/drop.h"

namespace quill::exchange {

std::u16string DropPathText(const std::vector<std::u16string>& paths) {
  std::u16string text;
  for (const auto& path : paths) text += path + u"\r\n";
  return text;
}

void HandleDrop(const std::vector<std::u16string>& paths, DropSite& site) {
  if (paths.empty()) return;
  switch (site.Choose()) {
    case drop::kPaths:
      if (site.PutText(DropPathText(paths))) site.AwaitCapture();
      break;
    case drop::kContent:
      // Each file's change is seen by capture before the next replaces it.
      for (const auto& path : paths) {
        if (site.Stopped() || !site.ImportFile(path)) return;
        site.AwaitCapture();
      }
      break;
    case drop::kIcons:
      for (const auto& path : paths) {
        const int count = site.IconCount(path);
        for (int index = 0; index < count; ++index) {
          if (site.Stopped() || !site.RecordIcon(path, index)) return;
        }
      }
      break;
    default:
      break;
  }
}

}  // namespace quill::exchange
