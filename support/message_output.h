// Where the support library's own messages go: standard error until the link routes them to the
// host console.
#pragma once

#include <string>

namespace osprevan::support {

using MessageSink = void (*)(const std::string& text);

void SetMessageSink(MessageSink sink);
void EmitMessage(const std::string& text);

}  // namespace osprevan::support
