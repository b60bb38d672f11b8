#pragma once
// The one place where texts change their encoding. Files and the core keep
// 8-bit texts in the code page of the player's language; the window shows and
// takes Unicode. A language file's "Charset" number selects the code page.

#include <string>
#include <string_view>

namespace tb {

// The Windows code page of a font character-set number: 0 gives 1252 (Western),
// 238 gives 1250 (Central European), 204 gives 1251 (Cyrillic), 161 gives 1253
// (Greek), 162 gives 1254 (Turkish), 177 gives 1255 (Hebrew), 178 gives 1256
// (Arabic), 186 gives 1257 (Baltic). Any other number gives 1252.
int CodePageOfCharset(int charset);

// Conversions between the 8-bit texts of one code page and UTF-8.
class TCodePage {
public:
    // Throws Error when the code page is not one of the eight above.
    explicit TCodePage(int codePage);
    static TCodePage OfCharset(int charset) { return TCodePage(CodePageOfCharset(charset)); }

    int Number() const { return CodePage; }

    // Bytes in this code page to UTF-8. Throws Error naming the first byte that
    // stands for no character in this code page.
    std::string ToUtf8(std::string_view bytes) const;
    // UTF-8 to bytes in this code page. Throws Error naming the first character
    // that the code page cannot hold, or when the text is not valid UTF-8.
    std::string FromUtf8(std::string_view utf8) const;

    // True when every byte of `bytes` stands for a character of this code page.
    bool CanDecode(std::string_view bytes) const;

private:
    int CodePage;
};

} // namespace tb
