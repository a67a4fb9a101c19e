#include "dib/kv_dib.h"

#include <string>

#include "dib/kv_errors.h"

namespace quill::dib {

TKvDIB::TKvDIB() : internal_dib_(new TKvInternalDIB()) {}

TKvDIB::~TKvDIB() { ReleaseInternalDIB(); }

TKvInternalDIB& TKvDIB::Body(const char* operation) const {
  if (!internal_dib_) {
    throw EKvDIBAssert(std::string(operation) + ": InternalDIB Should not be Nil");
  }
  return *internal_dib_;
}

void TKvDIB::ReleaseInternalDIB() {
  if (!internal_dib_) return;
  if (--internal_dib_->RefCount == 0) delete internal_dib_;
  internal_dib_ = nullptr;
}

void TKvDIB::ReplaceInternalDIB(TKvInternalDIB* body) {
  ReleaseInternalDIB();
  internal_dib_ = body;
}

void TKvDIB::Assign(const TKvDIB& source) {
  TKvInternalDIB& body = source.Body("TKvDIB.Assign");
  if (&source == this) return;
  ++body.RefCount;
  ReplaceInternalDIB(&body);
  convert_quality_ = source.convert_quality_;
  one_bit_color_ = source.one_bit_color_;
  half_tone_draw_ = source.half_tone_draw_;
  SetPaletteModified(true);
}

std::int32_t TKvDIB::GetWidth() const { return Body("TKvDIB.GetWidth").Width; }
std::int32_t TKvDIB::GetHeight() const { return Body("TKvDIB.GetHeight").Height; }

PaletteHandle TKvDIB::GetPalette() {
  TKvInternalDIB& body = Body("TKvDIB.GetPalette");
  if (!body.PaletteHandle && body.DIBInfo.Header.biClrUsed > 0) {
    body.PaletteHandle = GetPaletteFromDIBInfos(body.DIBInfo);
  }
  return body.PaletteHandle.get();
}

void TKvDIB::LoadFromStream(Stream& stream) {
  Body("TKvDIB.LoadFromStream");
  // The default body is made before the old one goes, so that this object
  // holds a body even when there is no memory for a new one.
  ReplaceInternalDIB(new TKvInternalDIB());
  internal_dib_->LoadFromStream(stream);
  UpdatePaletteModified();
  Changed();
}

void TKvDIB::SaveToStream(Stream& stream) const {
  Body("TKvDIB.SaveToStream").SaveToStream(stream);
}

void TKvDIB::UniqueDIB() {
  TKvInternalDIB& body = Body("TKvDIB.UniqueDIB");
  if (body.RefCount == 1) return;
  // A failed copy raises here, before the shared body is let go.
  ReplaceInternalDIB(TKvInternalDIB::Clone(body));
  UpdatePaletteModified();
}

void TKvDIB::UpdatePaletteModified() {
  TKvInternalDIB& body = Body("TKvDIB.UpdatePaletteModified");
  if (body.RefCount != 1) throw EKvDIBAssert("TKvDIB.UpdatePaletteModified RefCount Must be 1");
  if (body.PaletteChanged) {
    body.PaletteChanged = false;
    SetPaletteModified(true);
  }
}

const TKvInternalDIB& TKvDIB::InternalDIB() const { return Body("TKvDIB.InternalDIB"); }

TKvInternalDIB& TKvDIB::MutableInternalDIB() {
  UniqueDIB();
  return *internal_dib_;
}

}  // namespace quill::dib
