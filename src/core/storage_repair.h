#pragma once
// Making the temporary storage of a run that was cut off whole again before
// it is kept. A step that renumbers records runs as one transaction where
// the file allows it; where it ran directly (or in a run of an earlier
// version), a cut in its middle leaves a record waiting under the spare
// name "0" (a move) or a gap in the numbers (a delete or a move). Loading
// stops at the first gap, so without this the records after it would be
// out of reach.
#include "platform/storage.h"

namespace quill::core {

// Removes a record waiting under "0" without its Header, puts one with it into
// the first gap (or after the last record) and closes the remaining gaps,
// keeping the records' order. Elements whose names are not record numbers
// are left as they are.
void RepairRecords(platform::Storage& root);

}  // namespace quill::core
