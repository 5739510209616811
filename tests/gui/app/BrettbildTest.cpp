// The board image pixel by pixel, and clicks turned into squares and move texts.
#include <gtest/gtest.h>

#include "gui/app/Brettbild.h"
#include "gui/app/Mauseingabe.h"

namespace dravel {
namespace {

// A point in every piece's base, and one in the square's corner, outside every piece.
constexpr QPoint kInnen{16, 40};
constexpr QPoint kEcke{1, 1};

QRgb pixel(const QImage& bild, int spalte, int zeile, QPoint punkt) {
    return bild.pixel(spalte * Feldgroesse + punkt.x(), zeile * Feldgroesse + punkt.y());
}

bool schwarz(QRgb farbe) { return qRed(farbe) == 0 && qGreen(farbe) == 0 && qBlue(farbe) == 0; }
bool weiss(QRgb farbe) { return qRed(farbe) == 255 && qGreen(farbe) == 255 && qBlue(farbe) == 255; }

class BrettbildTest : public ::testing::Test {
protected:
    Figurenbilder bilder;
    Brett brett = Brett::Grundstellung();
    QImage malen(bool gedreht = false, Auswahl auswahl = {}) {
        return brett_malen(brett, gedreht, auswahl, bilder);
    }
};

TEST_F(BrettbildTest, BitmapsAreInTheResourcesWithMasksThatCoverEachPiece) {
    ASSERT_TRUE(bilder.Vollstaendig());
    for (int index = 0; index < Figurenbilder::Anzahl; ++index) {
        const QImage& bild = bilder.Bild(index);
        EXPECT_EQ(bild.size(), QSize(48, 48)) << index;
        const bool maske = index % 3 == 0;
        // Masks are black on the piece and white around it; images black around the piece.
        EXPECT_TRUE(schwarz(bild.pixel(kInnen)) == maske) << index;
        EXPECT_TRUE(maske ? weiss(bild.pixel(kEcke)) : schwarz(bild.pixel(kEcke))) << index;
    }
}

TEST_F(BrettbildTest, LightSquaresAreWhiteAndDarkSquaresBlackWithPiecesInTheirColours) {
    QImage bild = malen();
    ASSERT_EQ(bild.size(), QSize(Bildgroesse, Bildgroesse));
    // Row 2 (rank 6) is empty: a6 light, b6 dark.
    EXPECT_TRUE(weiss(pixel(bild, 0, 2, kInnen)));
    EXPECT_TRUE(schwarz(pixel(bild, 1, 2, kInnen)));
    // a8 (light) holds a Black rook, b8 (dark) a Black knight: the Black image's fill inside,
    // the square's colour around.
    const QRgb schwarze_fuellung = bilder.Bild(14).pixel(kInnen);
    EXPECT_EQ(pixel(bild, 0, 0, kInnen), schwarze_fuellung);
    EXPECT_TRUE(weiss(pixel(bild, 0, 0, kEcke)));
    EXPECT_EQ(pixel(bild, 1, 0, kInnen), bilder.Bild(11).pixel(kInnen));
    EXPECT_TRUE(schwarz(pixel(bild, 1, 0, kEcke)));
    // a1 (dark) a White rook, b1 (light) a White knight.
    EXPECT_TRUE(weiss(pixel(bild, 0, 7, kInnen)));
    EXPECT_TRUE(schwarz(pixel(bild, 0, 7, kEcke)));
    EXPECT_TRUE(weiss(pixel(bild, 1, 7, kInnen)));
    EXPECT_TRUE(weiss(pixel(bild, 1, 7, kEcke)));
}

TEST_F(BrettbildTest, EachSquareIsTheMaskAndImageCombinedAsTheRasterTableSays) {
    // Every pixel of a light square with a piece is (white AND mask) OR image; of a dark square
    // with a piece ((white XOR mask) AND mask) OR image, which is the image itself.
    QImage bild = malen();
    const QImage& maske = bilder.Bild(12);
    const QImage& turm = bilder.Bild(14);
    for (int y = 0; y < Feldgroesse; ++y)
        for (int x = 0; x < Feldgroesse; ++x) {
            ASSERT_EQ(bild.pixel(x, y) & 0xFFFFFF,
                      ((0xFFFFFF & maske.pixel(x, y)) | turm.pixel(x, y)) & 0xFFFFFF);
            ASSERT_EQ(bild.pixel(7 * Feldgroesse + x, y) & 0xFFFFFF, turm.pixel(x, y) & 0xFFFFFF);
        }
}

TEST_F(BrettbildTest, ASelectedSquareShowsThePieceInverted) {
    // a8, light: a black silhouette on white.
    QImage hell = malen(false, {true, 0, 0});
    EXPECT_TRUE(schwarz(pixel(hell, 0, 0, kInnen)));
    EXPECT_TRUE(weiss(pixel(hell, 0, 0, kEcke)));
    // b8, dark: a white silhouette on black.
    QImage dunkel = malen(false, {true, 1, 0});
    EXPECT_TRUE(weiss(pixel(dunkel, 1, 0, kInnen)));
    EXPECT_TRUE(schwarz(pixel(dunkel, 1, 0, kEcke)));
    // Empty squares look the same selected or not; the other squares are untouched.
    EXPECT_EQ(malen(false, {true, 0, 2}), malen());
    EXPECT_EQ(malen(false, {true, 1, 2}), malen());
    EXPECT_EQ(pixel(dunkel, 0, 0, kInnen), pixel(malen(), 0, 0, kInnen));
    // A selection that is not active marks nothing.
    EXPECT_EQ(malen(false, {false, 0, 0}), malen());
}

TEST_F(BrettbildTest, ATurnedBoardShowsWhiteAtTheTop) {
    brett.Feld[4 * 8 + 4] = figur::Bauer;  // a White pawn on e5 as well
    QImage bild = malen(true);
    // Top left is h1 with a White rook, on a light square; e5 is at column 3, row 4.
    EXPECT_TRUE(weiss(pixel(bild, 0, 0, kInnen)));
    EXPECT_TRUE(weiss(pixel(bild, 0, 0, kEcke)));
    EXPECT_TRUE(weiss(pixel(bild, 3, 4, kInnen)));
    EXPECT_TRUE(schwarz(pixel(bild, 3, 4, kEcke)));
    EXPECT_EQ(pixel(bild, 7, 7, kInnen), bilder.Bild(14).pixel(kInnen));
    EXPECT_EQ(Brettfeld(0, 0, true), 7);
    EXPECT_EQ(Brettfeld(0, 0, false), 56);
}

struct Klickzeile {
    const char* name;
    Anzeigefeld von, nach;
    bool gedreht;
    const char* text;
};

TEST(MauseingabeTest, TwoClicksGiveTheMoveTextOfTheirSquares) {
    const Klickzeile zeilen[] = {
        {"Plain", {4, 6}, {4, 4}, false, "Be2e4D"},
        {"Corners", {0, 0}, {7, 7}, false, "Ba8h1D"},
        {"TurnedTopLeftAndBelow", {0, 0}, {0, 1}, true, "Bh1h2D"},
        {"TurnedCorners", {7, 7}, {0, 0}, true, "Ba8h1D"},
    };
    for (const auto& zeile : zeilen)
        EXPECT_EQ(klickzug_text(zeile.von, zeile.nach, zeile.gedreht), zeile.text) << zeile.name;
}

TEST(MauseingabeTest, ClicksMapOntoEighthsOfTheAreaWhateverItsSize) {
    EXPECT_EQ(feld_aus_klick(0, 0, 800, 600), (Anzeigefeld{0, 0}));
    EXPECT_EQ(feld_aus_klick(99, 75, 800, 600), (Anzeigefeld{0, 1}));
    EXPECT_EQ(feld_aus_klick(100, 74, 800, 600), (Anzeigefeld{1, 0}));
    EXPECT_EQ(feld_aus_klick(799, 599, 800, 600), (Anzeigefeld{7, 7}));
    // Outside the area, in a 1 x 1 or an empty area: still a square on the board.
    EXPECT_EQ(feld_aus_klick(-5, -1, 800, 600), (Anzeigefeld{0, 0}));
    EXPECT_EQ(feld_aus_klick(5000, 5000, 800, 600), (Anzeigefeld{7, 7}));
    EXPECT_EQ(feld_aus_klick(0, 0, 1, 1), (Anzeigefeld{0, 0}));
    EXPECT_EQ(feld_aus_klick(3, 3, 0, 0), (Anzeigefeld{0, 0}));
}

}  // namespace
}  // namespace dravel
