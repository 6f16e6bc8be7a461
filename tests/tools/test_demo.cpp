#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "tests/support/TextList.h"
#include "tools/demo/Demo.h"

namespace {

using namespace std::chrono_literals;

// The whole demo, short: the boxes show the star, then the star moved by the
// slew's counts, and the chart was told where the telescope points.
TEST(Demo, ShowsTheSlewAndPointsTheChart) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const DemoReport r = RunDemo({folder.path(), 1500ms, {}});
    ASSERT_TRUE(r.ok) << r.problem.toStdString();

    EXPECT_EQ(r.shownBefore.mid(0, 7), L({"5", "55", "10", "7", "24", "25", "Norte"}));
    EXPECT_EQ(r.sentX, kDemoSlewX);
    EXPECT_EQ(r.sentY, kDemoSlewY);
    // 221 counts are 10°02'43.6" more declination: every byte arrived.
    EXPECT_EQ(r.shownAfter.mid(3, 4), L({"17", "27", "8", "Norte"}));
    // 661 counts are 2h00m10.9s more right ascension, and the sky has turned
    // for the few seconds the link has been on.
    EXPECT_EQ(r.shownAfter.mid(0, 2), L({"7", "55"}));
    const int seconds = r.shownAfter[2].toInt();
    EXPECT_GE(seconds, 21);
    EXPECT_LE(seconds, 59);

    ASSERT_FALSE(r.moveCommands.isEmpty());
    EXPECT_TRUE(r.moveCommands[0].startsWith(QStringLiteral("MOVE RA:7h55m")))
        << r.moveCommands[0].toStdString();
    EXPECT_TRUE(r.moveCommands[0].contains(QStringLiteral("DEC:+17d27m8.")))
        << r.moveCommands[0].toStdString();
    EXPECT_TRUE(r.messages.contains(
        QString::fromUtf8("Cartes du Ciel recibirá las coordenadas de M.I.V.LO.")));

    for (const QString& path : {r.beforePicture, r.afterPicture}) {
        const QImage picture(path);
        EXPECT_FALSE(picture.isNull()) << path.toStdString();
        EXPECT_GT(picture.width(), 100);
        EXPECT_GT(picture.height(), 100);
    }
}

}  // namespace
