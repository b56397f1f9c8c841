// The one routine for messages and the one for yes/no questions. Messages are alerts, or console
// lines when another client started the import; questions answer 1 for stop and 2 for continue.
#pragma once

#include <cstdint>
#include <string>

namespace osprevan::client {

constexpr int32_t kAnswerStop = 1;
constexpr int32_t kAnswerContinue = 2;

// Capacity for loading the texts of alerts and questions.
constexpr size_t kAlertTextCapacity = 4096;

void ShowMessage(const std::string& text);
void ShowMessage(int messageId);

// Whether AskQuestion really asks: not when another client started the import, nor for a PDF
// made by host version 12 or later.
bool QuestionsAreAsked();

int32_t AskQuestion(const std::string& text);
int32_t AskQuestion(int messageId);

}  // namespace osprevan::client
