// One entry of an annotation's dictionary, and the release of the library's handles, as every
// reader of annotations needs them.
#pragma once

#include "ondrelkit/ondrelkit.h"

namespace osprevan::pdf {

// The entry `key` of the annotation's dictionary as a new object the caller releases (the
// library's null object when absent); null on a library error.
OkObj* AnnotEntry(const OkAnnot* annot, const char* key);

// Releases a handle of the library; null, or a library that is gone, is nothing to do, and an
// error is recorded and dropped.
void ReleaseHandle(void* handle);

}  // namespace osprevan::pdf
