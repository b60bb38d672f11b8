#pragma once
// Skin pictures may be JPEG files. They are decoded by the JPEG library
// itself, so the program does not depend on an image plugin being installed.

#include <QImage>

#include <filesystem>
#include <string_view>

namespace tb {

// The decoded picture, or a null image when the bytes are not a JPEG picture
// the library can read (a damaged file is never fatal).
QImage DecodeJpeg(std::string_view bytes);
// Reads and decodes a file; a null image when it is missing or damaged.
QImage LoadJpeg(const std::filesystem::path& file);

} // namespace tb
