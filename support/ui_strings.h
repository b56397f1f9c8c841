// Messages of the plug-in's string table, loaded by number as UTF-8, and the expansion of the
// "%p" placeholder by the host's edition.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/win/module.h"
#include "support/status.h"

namespace osprevan::support {

void SetResourceModule(win::HMODULE module);
// Takes the host's interface language ("japanese", "english", ...): it chooses the string
// table and the dialog templates (English for a language without tables of its own) and the
// character set of byte escapes.
void SetResourceLanguage(const std::string& clientName, const std::string& languageName);
// The resource language the messages and dialogs are taken in (win::LANG_EN_US, LANG_JA_JP).
uint16_t ResourceLanguage();
// The resource language with tables for the host's language name; English for any other.
uint16_t ResourceLanguageOf(const std::string& languageName);
int ByteEscapeCharset();
void SetEditionFlag(int flag);
int EditionFlag();

// The message as UTF-8, cut to fit `capacity` bytes with its terminating zero (never inside a
// character); escapes "%B", "%L", "%M" with two hexadecimal digits are decoded. An unknown
// message gives "". A message missing from the language's table is taken from the English one.
// Answers the length written.
size_t LoadUiString(int id, char* buffer, size_t capacity);
// As LoadUiString, then "%p" becomes the product name of the edition and "%%" one "%".
size_t FormatUiString(int id, char* buffer, size_t capacity);
// The message as UTF-16 in a buffer of 1024 units, loaded through a 2048-byte UTF-8 buffer.
constexpr size_t kWideCapacity = 1024;
size_t LoadUiStringWide(int id, char16_t* out);

std::string UiString(int id, size_t capacity = 1024);

// Why `status` failed, as the user reads it: its message in the interface language, else (for a
// failure no message was named for) its reason.
std::string UiReason(const Status& status);

// Decodes "%B", "%L" and "%M" followed by two hexadecimal digits ("L" one byte, "B" and "M" one
// character of the host's 8-bit character set); every other "%" stays.
std::string DecodeByteEscapes(const std::string& text);

}  // namespace osprevan::support
