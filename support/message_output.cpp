#include "support/message_output.h"

#include <cstdio>

namespace osprevan::support {
namespace {
MessageSink g_sink = nullptr;
}

void SetMessageSink(MessageSink sink) {
  g_sink = sink;
}

void EmitMessage(const std::string& text) {
  if (g_sink) {
    g_sink(text);
  } else {
    std::fputs(text.c_str(), stderr);
  }
}

}  // namespace osprevan::support
