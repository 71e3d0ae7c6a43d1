#pragma once

#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvrast {

// Texts the student reads are UTF-16, whatever their source.

// A path as a message shows it. A name the system's encoding cannot turn into characters (a folder name in
// some other encoding on Linux) keeps its ASCII and shows "?" for the rest, instead of failing the message.
std::u16string pathText(const std::filesystem::path& path);

// A text of the C library or of an exception, which is plain ASCII in the messages the program can meet:
// every ASCII byte as it is, "?" for any other.
std::u16string asciiText(std::string_view text);

// What the student reads when an error nobody foresaw stops one command, and the program goes on.
std::u16string commandFailedText(std::exception_ptr error);
// What the student reads when such an error stops the program itself, in whichever window.
std::u16string programStoppedText(std::exception_ptr error);

} // namespace kelvrast
