// The client's handlers for the host's Initialize, Command and Notify callbacks: the import
// command in the import menus, its preconditions, and the call from another client.
#pragma once

#include <cstdint>

#include "client/handlers.h"

namespace osprevan::client {

constexpr int32_t kImportCommand = 1;
constexpr const char* kCommandTag = "Osprevan";
constexpr const char* kCommandShortcut = "\\!pdf";

void OnInitialize(int32_t initKind);
void OnCommand(int32_t command);
void OnNotify(int32_t notification, tolvane::ObjectId object, const NotifyArgument& argument,
              int32_t number);

// Takes the host's interface language for the plug-in's messages and dialogs.
void TakeHostLanguage();

// Makes the link layer deliver the callbacks to the handlers above.
void InstallCommandHandlers();

}  // namespace osprevan::client
