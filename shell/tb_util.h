#pragma once
// Small helpers of the window program: its title and the one place where the
// 8-bit texts of the core become the window's Unicode texts.

#include <QString>

#include <string_view>

namespace tb {

// The application title: the caption of the main window and, after a blank,
// of the message box.
inline constexpr std::string_view ApplicationTitle = "Tobbin";

// Turns an 8-bit text of the core (the code page of the player's language)
// into the window's text. Every text from the core passes here on its way to
// the screen. For now it reads Windows-1252, the code page of the built-in
// English texts and of every language with character set 0.
QString ToUnicode(std::string_view bytes);

} // namespace tb
