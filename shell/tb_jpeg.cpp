#include "shell/tb_jpeg.h"

#include "services/d_file.h"

#include <csetjmp>
#include <cstdio>
#include <memory>
#include <jpeglib.h>

namespace tb {
namespace {

// The library reports a fatal error through this handler; it jumps back to
// the decoder instead of ending the program.
struct TJpegError {
    jpeg_error_mgr Manager{};
    std::jmp_buf Escape{};
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
    auto* error = reinterpret_cast<TJpegError*>(info->err);
    std::longjmp(error->Escape, 1);
}

void IgnoreJpegMessage(j_common_ptr) {}

// Decodes into `picture`, which the caller owns, so that nothing of this
// frame needs to survive the jump back from a library error.
bool DecodeInto(std::string_view bytes, jpeg_decompress_struct& info, TJpegError& error,
                std::unique_ptr<QImage>& picture) {
    if (setjmp(error.Escape) != 0) return false;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture = std::make_unique<QImage>(static_cast<int>(info.output_width),
                                       static_cast<int>(info.output_height),
                                       QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage DecodeJpeg(std::string_view bytes) {
    if (bytes.empty()) return {};
    jpeg_decompress_struct info{};
    TJpegError error;
    info.err = jpeg_std_error(&error.Manager);
    error.Manager.error_exit = OnJpegError;
    error.Manager.output_message = IgnoreJpegMessage;
    std::unique_ptr<QImage> picture;
    const bool decoded = DecodeInto(bytes, info, error, picture);
    jpeg_destroy_decompress(&info);
    if (!decoded || !picture) return {};
    return picture->convertToFormat(QImage::Format_RGB32);
}

QImage LoadJpeg(const std::filesystem::path& file) {
    try {
        return DecodeJpeg(ReadWholeFile(file));
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace tb
