#include "gui/resources/Resources.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Mean difference of the colour channels, 0 to 255, of two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

} // namespace

TEST(Art, PicturesDecodedAheadAreTheSameAndTakenOnce) {
    const QImage direct = ResourceImage("MenuTesty");
    ASSERT_FALSE(direct.isNull());
    DecodeArtAhead({"MENUTESTY", "no-such-picture"});
    EXPECT_EQ(ResourceImage("menutesty"), direct);
    EXPECT_EQ(ResourceImage("MenuTesty"), direct) << "taken once, then decoded afresh";
    EXPECT_TRUE(ResourceImage("No-Such-Picture").isNull());
}

TEST(Art, APictureDecodedAheadAtScale1IsNotGivenToADenserScreen) {
    const QImage sharp = ResourceImage("MenuTesty", 2);
    DecodeArtAhead({"menutesty"});
    EXPECT_EQ(ResourceImage("MenuTesty", 2), sharp);
    EXPECT_EQ(ResourceImage("MenuTesty", 1.5).devicePixelRatio(), 2) << "any ratio above 1 takes the 2x art";
    EXPECT_EQ(ResourceImage("MenuTesty", 1).devicePixelRatio(), 1);
}

// Every picture has a twin of twice the pixels with ratio 2 that, brought back to its size,
// shows the same: the same art, whole and in the same place.
TEST(Art, EveryPictureHasATwiceAsSharpTwinOfTheSameLook) {
    const QStringList files = QDir(QStringLiteral(":/art")).entryList();
    ASSERT_FALSE(files.isEmpty());
    int pictures = 0;
    for (const QString& file : files) {
        if (file.contains(QLatin1Char('@')))
            continue;
        const QString name = file.chopped(4);
        const QImage plain = ResourceImage(name);
        const QImage sharp = ResourceImage(name, 2);
        ASSERT_FALSE(plain.isNull()) << file.toStdString();
        ASSERT_FALSE(sharp.isNull()) << file.toStdString();
        EXPECT_EQ(plain.devicePixelRatio(), 1) << file.toStdString();
        EXPECT_EQ(sharp.devicePixelRatio(), 2) << file.toStdString();
        ASSERT_EQ(sharp.size(), plain.size() * 2) << file.toStdString();
        const QImage reduced = sharp.scaled(plain.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LT(MeanDifference(reduced, plain), 8.0) << file.toStdString();
        ++pictures;
    }
    EXPECT_EQ(pictures * 2, files.size()) << "no 2x picture without its plain one";
}
