#pragma once
// Small helpers of the window program: its title and the one place where the
// 8-bit texts of the core become the window's Unicode texts.

#include <QByteArray>
#include <QString>

class QWidget;

#include <filesystem>
#include <map>
#include <string>

#include <string_view>

namespace tb {

// The application title: the caption of the main window and, after a blank,
// of the message box.
inline constexpr std::string_view ApplicationTitle = "Tobbin";

// Turns an 8-bit text of the core (the code page of the player's language)
// into the window's text. Every text from the core passes here on its way to
// the screen.
QString ToUnicode(std::string_view bytes);
// Windows-1252, the code page of the built-in English texts and of every
// language with character set 0.
QString Cp1252ToUnicode(std::string_view bytes);
// A typed text back into the language's code page; throws Error naming the
// first character the code page cannot hold.
std::string FromUnicode(const QString& text);
// The bytes of a core text unchanged, as the item data of a list keeps them.
inline QByteArray ToBytes(std::string_view text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
// Gives every control of `form` that carries a "Tag" property (buttons and
// labels) the caption of its Tag, where the map holds a non-empty one.
void TranslateForm(QWidget& form, const std::map<int, std::string>& captions);

// A path as the window's text.
QString ToQString(const std::filesystem::path& path);

} // namespace tb
