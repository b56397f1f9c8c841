#include "session/import_session.h"

namespace osprevan::session {

int32_t RunImport(ImportSession&) {
  return 1;
}

}  // namespace osprevan::session
