#include "shell/tb_jpeg.h"
#include "tests/test_support.h"
#include "tests/window/window_support.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <random>
#include <string>

namespace tb::test {
namespace fs = std::filesystem;

namespace {

std::string Encoded(const QImage& image, const char* format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << format;
    return bytes.toStdString();
}

// A small JPEG picture of a colour gradient.
std::string MakeJpeg(int width, int height, bool progressive = false) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) % 256));
    return Encoded(image, "JPG", progressive);
}

// The same picture with the frame header claiming other dimensions.
std::string ClaimSize(std::string jpeg, int width, int height) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            jpeg[i + 5] = static_cast<char>(height >> 8);
            jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8);
            jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

void Put32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (8 * i));
}

} // namespace

class PictureTest : public WindowTest {};

TEST_F(PictureTest, HostileTinyFilesAreRefusedWithAReasonAndNeverCrash) {
    TempFolder dir;
    QImage sample(8, 8, QImage::Format_RGB32);
    sample.fill(Qt::darkGreen);
    const std::string jpeg = MakeJpeg(16, 16), progressive = MakeJpeg(16, 16, true);
    ASSERT_NE(progressive.find("\xFF\xC2"), std::string::npos) << "a progressive frame";
    // A bitmap whose header claims 65,500 × 65,500 pixels of 24 bits.
    std::string bmp = Encoded(sample, "BMP");
    Put32(bmp, 18, 65500);
    Put32(bmp, 22, 65500);
    // A PNG whose header claims the same (its checksum is then wrong, too).
    std::string png = Encoded(sample, "PNG");
    png[16] = png[20] = 0;
    png[17] = png[21] = 0;
    png[18] = png[22] = static_cast<char>(0xFF);
    png[19] = png[23] = static_cast<char>(0xDC);
    const struct {
        const char* Name;
        std::string Bytes;
    } hostile[] = {
        {"huge.jpg", ClaimSize(jpeg, 65500, 65500)},
        {"wide.jpg", ClaimSize(jpeg, 20000, 20000)},
        {"tall.jpg", ClaimSize(progressive, 9000, 16)},
        {"huge.bmp", bmp},
        {"huge.png", png},
        {"garbage.jpg", "\xFF\xD8\xFF\xE0 this is no picture at all"},
        {"garbage.bmp", "BM and then nothing"},
        {"empty.png", ""},
        {"cut.jpg", jpeg.substr(0, 20)},
    };
    for (const auto& h : hostile) {
        WriteFile(dir / h.Name, h.Bytes);
        std::string why;
        EXPECT_TRUE(ReadPicture(dir / h.Name, &why).isNull()) << h.Name;
        EXPECT_FALSE(why.empty()) << h.Name;
    }
    EXPECT_TRUE(DecodeJpeg(ClaimSize(jpeg, 65500, 65500)).isNull());
    std::string why;
    EXPECT_TRUE(ReadPicture(dir / "missing.bmp", &why).isNull());
    EXPECT_FALSE(why.empty());

    // Sound pictures of every kind read as they are, whatever their name says.
    WriteFile(dir / "good.jpg", jpeg);
    WriteFile(dir / "good.bmp", Encoded(sample, "BMP"));
    WriteFile(dir / "good.png", Encoded(sample, "PNG"));
    WriteFile(dir / "really-a-jpeg.bmp", jpeg);
    for (const auto& [name, width] :
         {std::pair{"good.jpg", 16}, {"good.bmp", 8}, {"good.png", 8}, {"really-a-jpeg.bmp", 16}})
        EXPECT_EQ(ReadPicture(dir / name).width(), width) << name;
}

TEST_F(PictureTest, MutatedJpegsGiveAPictureWithinTheLimitsOrARefusal) {
    const std::string bases[] = {MakeJpeg(40, 24), MakeJpeg(24, 40, true)};
    std::mt19937 random(16);
    for (const std::string& base : bases) {
        for (int round = 0; round < 400; ++round) {
            std::string bytes = base;
            if (round % 4 == 0) {
                bytes.resize(random() % bytes.size());
            } else {
                const int flips = 1 + static_cast<int>(random() % 6);
                for (int i = 0; i < flips; ++i)
                    bytes[random() % bytes.size()] = static_cast<char>(random());
            }
            const QImage picture = DecodeJpeg(bytes);
            if (picture.isNull()) continue;
            ASSERT_LE(picture.width(), PictureMaxSide) << round;
            ASSERT_LE(picture.height(), PictureMaxSide) << round;
        }
    }
}

} // namespace tb::test
