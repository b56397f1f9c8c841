#include "host/cli/session_setup.h"

#include <cstdlib>
#include <filesystem>

namespace tlhost {

using namespace tolvane;

SessionSettings DefaultSettings(const std::string& programPath) {
  namespace fs = std::filesystem;
  SessionSettings settings;
  std::error_code error;
  fs::path program = fs::canonical(programPath, error);
  if (error) program = fs::absolute(programPath);
  const fs::path top = program.parent_path().parent_path();
  settings.clientPath = (top / "lib" / "libosprevan.so").string();
  settings.hostDir = (top / "lib").string();
  if (const char* client = std::getenv("TOLVANE_CLIENT")) settings.clientPath = client;
  if (const char* user = std::getenv("TOLVANE_USER_DIR")) {
    settings.userDir = user;
  } else if (const char* home = std::getenv("HOME")) {
    settings.userDir = (fs::path(home) / ".tolvane").string();
  }
  settings.language = LanguageFromEnvironment();
  return settings;
}

void ApplySettings(Host& host, const SessionSettings& settings) {
  Engine& engine = host.engine();
  engine.SetProp(0, 0, P_SESSION_PRODUCT_NAME, Value::String(settings.productName));
  engine.SetProp(0, 0, P_SESSION_VERSION_MAJOR, Value::Int(settings.versionMajor));
  engine.SetProp(0, 0, P_SESSION_VERSION_MINOR, Value::Int(settings.versionMinor));
  engine.SetProp(0, 0, P_SESSION_HOST_DIR, Value::String(settings.hostDir));
  engine.SetProp(0, 0, P_SESSION_USER_DIR, Value::String(settings.userDir));
  engine.SetProp(0, 0, P_SESSION_LANGUAGE, Value::Int(HostLanguageCode(settings.language)));
  engine.SetProp(0, 0, P_SESSION_STANDARD_MENUS, Value::Int(1));
  engine.SetProp(0, 0, P_SESSION_PDF_LIB_INIT, Value::String("1"));
}

}  // namespace tlhost
