// The pictures staged in the program folder: every sprite set at every tile
// size, every skin, the default pictures; and the built-in blast frames.

#include "art/tb_art.h"
#include "tests/test_support.h"

#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kImages = fs::path(TOBBIN_PROGRAM_FOLDER) / "img";
constexpr const char* kSizeNames[4] = {"Small", "Medium", "Large", "Huge"};

class Pictures : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "test_pictures";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance()) App = std::make_unique<QGuiApplication>(argc, argv);
    }
    // Gone before the exit handlers, which would tear Qt down under it.
    static void TearDownTestSuite() { App.reset(); }
    static inline std::unique_ptr<QGuiApplication> App;
};

QImage Load(const fs::path& file, const char* format) {
    return QImage(QString::fromStdString(file.string()), format)
        .convertToFormat(QImage::Format_RGB32);
}

// Mean absolute difference per colour channel, 0 to 255.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// The mean brightness of a rectangle of a picture (all of it when empty) and
// its standard deviation: 0 for a flat picture.
std::pair<double, double> Brightness(const QImage& image, QRect r = {}) {
    if (r.isEmpty()) r = image.rect();
    double sum = 0, squares = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const double v = qGray(image.pixel(x, y));
            sum += v;
            squares += v * v;
        }
    const double n = r.width() * r.height(), mean = sum / n;
    return {mean, std::sqrt(std::max(0.0, squares / n - mean * mean))};
}
double Spread(const QImage& image) {
    return Brightness(image).second;
}

// The bits per pixel field of a BMP file header.
int BmpBitsPerPixel(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char header[30] = {};
    in.read(header, sizeof header);
    if (in.gcount() < 30 || header[0] != 'B' || header[1] != 'M') return -1;
    return static_cast<unsigned char>(header[28]) | static_cast<unsigned char>(header[29]) << 8;
}

TEST_F(Pictures, EverySpriteSetHasElevenDistinctTilesAtEverySize) {
    ASSERT_GE(tb::SpriteSetNames().size(), 2u);
    ASSERT_EQ(tb::CellPictureNames().size(), 11u);
    for (int s = 0; s < 4; ++s) {
        const int px = tb::kTilePixels[s];
        for (std::string_view set : tb::SpriteSetNames()) {
            std::vector<QImage> tiles;
            for (std::string_view name : tb::CellPictureNames()) {
                const fs::path file =
                    kImages / kSizeNames[s] / std::string(set) / (std::string(name) + ".bmp");
                SCOPED_TRACE(file.string());
                ASSERT_TRUE(fs::exists(file));
                EXPECT_EQ(BmpBitsPerPixel(file), 24);
                const QImage tile = Load(file, "BMP");
                ASSERT_FALSE(tile.isNull());
                EXPECT_EQ(tile.size(), QSize(px, px));
                EXPECT_GT(Spread(tile), 1.0) << "a blank tile";
                tiles.push_back(tile);
            }
            // At the smallest size every tile must still be told apart from
            // every other one, the three box fill levels included.
            if (px != 16) continue;
            for (std::size_t i = 0; i < tiles.size(); ++i)
                for (std::size_t j = i + 1; j < tiles.size(); ++j)
                    EXPECT_GT(MeanDifference(tiles[i], tiles[j]), 6.0)
                        << set << ": " << tb::CellPictureNames()[i] << " looks like "
                        << tb::CellPictureNames()[j];
        }
    }
}

TEST_F(Pictures, SpriteSetsLookDifferentAndMatchTheBuiltInTilesNamedByCellCode) {
    EXPECT_EQ(std::tuple(tb::CellPictureName(1), tb::CellPictureName(8), tb::CellPictureName(9),
                         tb::CellPictureName(14), tb::CellPictureName(15)),
              std::tuple("0-empty", "7-box3", "8-bomb", "9-tobbin", "a-loser"));
    for (int code : {0, 10, 11, 12, 13, 16, -1, 17})
        EXPECT_TRUE(tb::CellPictureName(code).empty()) << code;
    const auto sets = tb::SpriteSetNames();
    for (std::string_view name : tb::CellPictureNames()) {
        SCOPED_TRACE(std::string(name));
        const std::string file = std::string(name) + ".bmp";
        const QImage first = Load(kImages / "Small" / std::string(sets[0]) / file, "BMP");
        const QImage second = Load(kImages / "Small" / std::string(sets[1]) / file, "BMP");
        ASSERT_FALSE(first.isNull() || second.isNull());
        EXPECT_GT(MeanDifference(first, second), 15.0);
        // The window's built-in tiles are the same pictures as the default set's files.
        EXPECT_LT(MeanDifference(tb::DrawCellPicture(sets[0], name, 16), first), 0.5);
    }
    // An unknown set falls back to the default one; an unknown name draws nothing.
    EXPECT_EQ(tb::DrawCellPicture("No such set", "9-tobbin", 24),
              tb::DrawCellPicture(sets[0], "9-tobbin", 24));
    EXPECT_TRUE(tb::DrawCellPicture(sets[0], "b-nothing", 24).isNull());
}

TEST_F(Pictures, EverySkinHasItsSixPicturesInBothFormatsAndTheDefaultOnesACopy) {
    ASSERT_GE(tb::SkinNames().size(), 2u);
    for (std::string_view skin : tb::SkinNames()) {
        std::vector<QImage> bitmaps;
        for (std::string_view name : tb::SkinPictureNames()) {
            const fs::path base = kImages / "skins" / std::string(skin) / std::string(name);
            SCOPED_TRACE(base.string());
            const QImage bmp = Load(fs::path(base).concat(".bmp"), "BMP");
            const QImage jpg = Load(fs::path(base).concat(".jpg"), "JPG");
            ASSERT_FALSE(bmp.isNull() || jpg.isNull());
            EXPECT_EQ(bmp.size(), jpg.size());
            EXPECT_GT(Spread(bmp), 2.0);
            // The JPEG is the same picture, only compressed.
            EXPECT_LT(MeanDifference(bmp, jpg), 6.0);
            bitmaps.push_back(bmp);
        }
        EXPECT_EQ(bitmaps[4].size(), QSize(31 * 32, 18 * 32))
            << "title picture covers the play field";
    }
    // The second skin is not a copy of the first; the default pictures lie in
    // the images folder too.
    const fs::path first = kImages / "skins" / std::string(tb::SkinNames()[0]);
    EXPECT_GT(MeanDifference(
                  Load(first / "tb_pic.bmp", "BMP"),
                  Load(kImages / "skins" / std::string(tb::SkinNames()[1]) / "tb_pic.bmp", "BMP")),
              20.0);
    for (const std::string name : {"tb_pic.bmp", "tb_fin.bmp", "tb_spl.bmp"}) {
        const QImage own = Load(kImages / name, "BMP");
        EXPECT_TRUE(!own.isNull() && own == Load(first / name, "BMP")) << name;
    }
}

TEST_F(Pictures, BlastFramesDifferFromOneAnother) {
    for (int px : tb::kTilePixels) {
        for (bool implosion : {false, true}) {
            std::vector<QImage> frames;
            for (int f = 1; f <= 4; ++f) {
                const QImage frame = tb::DrawBlastFrame(f, px, implosion, Qt::black);
                ASSERT_EQ(frame.size(), QSize(px, px));
                frames.push_back(frame.convertToFormat(QImage::Format_RGB32));
            }
            for (std::size_t i = 0; i < frames.size(); ++i)
                for (std::size_t j = i + 1; j < frames.size(); ++j)
                    EXPECT_GT(MeanDifference(frames[i], frames[j]), 3.0)
                        << px << " px, implosion " << implosion << ": frames " << i + 1 << " and "
                        << j + 1;
        }
        // An explosion is not an implosion.
        EXPECT_GT(MeanDifference(tb::DrawBlastFrame(2, px, false, Qt::black),
                                 tb::DrawBlastFrame(2, px, true, Qt::black)),
                  10.0);
        // Outside the blast the default backdrop is transparent.
        EXPECT_EQ(qAlpha(tb::DrawBlastFrame(4, px, true).pixel(0, 0)), 0);
    }
    EXPECT_TRUE(tb::DrawBlastFrame(0, 16, false).isNull() &&
                tb::DrawBlastFrame(5, 16, true).isNull());
}

TEST_F(Pictures, BoxesFillUpFromBoxOneToBoxThree) {
    // Boxes are drawn dark when empty and bright where filled, so the lower
    // middle of a fuller box is brighter.
    for (std::string_view set : tb::SpriteSetNames()) {
        for (int px : tb::kTilePixels) {
            SCOPED_TRACE(std::string(set) + " " + std::to_string(px));
            const QRect middle(px / 3, px / 4, px / 3, px * 5 / 8);
            const double one = Brightness(tb::DrawCellPicture(set, "5-box1", px), middle).first;
            const double two = Brightness(tb::DrawCellPicture(set, "6-box2", px), middle).first;
            const double three = Brightness(tb::DrawCellPicture(set, "7-box3", px), middle).first;
            EXPECT_GT(two, one + 15);
            EXPECT_GT(three, two + 15);
        }
    }
}

TEST_F(Pictures, BackgroundsKeepTextReadable) {
    for (std::string_view skin : tb::SkinNames()) {
        SCOPED_TRACE(std::string(skin));
        // Dialog and list backgrounds: light and calm under dark text.
        for (const char* name : {"tb_box", "tb_list"}) {
            const auto [mean, spread] = Brightness(tb::DrawSkinPicture(skin, name));
            EXPECT_TRUE(mean > 170 && spread < 20) << name << " " << mean << " " << spread;
        }
        // The congratulations lines are written over the bottom of the
        // picture: it is darker there than behind the hero.
        const QImage fin = tb::DrawSkinPicture(skin, "tb_fin");
        const QRect bottom(0, fin.height() - 50, fin.width(), 50), top(0, 0, fin.width(), 120);
        EXPECT_LT(Brightness(fin, bottom).first, 90);
        EXPECT_GT(Brightness(fin, top).first, Brightness(fin, bottom).first + 30);
    }
    EXPECT_TRUE(tb::DrawSkinPicture("Standard", "tb_nothing").isNull());
}

TEST_F(Pictures, GeneratorWritesWholeFilesAndAContactSheet) {
    tb::test::TempFolder folder;
    const fs::path sheet = folder / "sheet.png";
    const std::string command = std::string(TOBBIN_GEN_PICTURES) + " \"" + folder.Path().string() +
                                "\" --sheet \"" + sheet.string() + "\" 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::size_t bmp = 0, jpg = 0, other = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path() / "img")) {
        if (!entry.is_regular_file()) continue;
        const auto ext = entry.path().extension();
        (ext == ".bmp" ? bmp : ext == ".jpg" ? jpg : other) += 1;
    }
    const std::size_t skins = tb::SkinNames().size() * tb::SkinPictureNames().size();
    EXPECT_EQ(bmp, 4 * tb::SpriteSetNames().size() * tb::CellPictureNames().size() + skins + 3);
    EXPECT_EQ(jpg, skins);
    EXPECT_EQ(other, 0u) << "no temporary file is left behind";
    const QImage contact(QString::fromStdString(sheet.string()), "PNG");
    ASSERT_FALSE(contact.isNull());
    EXPECT_GE(contact.width(), 11 * 40);
    EXPECT_GE(contact.height(), int(tb::SpriteSetNames().size()) * (16 + 24 + 32 + 40));
    // Without anything to write the generator refuses to run.
    EXPECT_NE(std::system((std::string(TOBBIN_GEN_PICTURES) + " 2>/dev/null").c_str()), 0);
}

} // namespace
