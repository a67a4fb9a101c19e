#include "dib/kv_graph.h"

#include "dib/kv_stream.h"

namespace quill::dib {

void TKvGraphic::LoadFromFile(const std::filesystem::path& name) {
  FileStream stream(name, FileStream::Mode::kOpenRead);
  LoadFromStream(stream);
}

void TKvGraphic::SaveToFile(const std::filesystem::path& name) const {
  FileStream stream(name, FileStream::Mode::kCreate);
  SaveToStream(stream);
  stream.Close();
}

void TKvGraphic::Changed() {
  if (on_change_) on_change_(*this);
}

}  // namespace quill::dib
