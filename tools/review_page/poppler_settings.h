// Poppler's process-wide settings, which it needs before a PDF is opened or drawn.
#pragma once

namespace osprevan::review {

// Makes them when nothing has yet. The PDF library the plug-in loads into the same process
// sets up the same settings and never tears them down, so whichever comes first makes them and
// neither removes them.
void EnsurePopplerSettings();

}  // namespace osprevan::review
