// Frame selection proposes the contact frame of a demo jump, worked out
// while the official looks at the clip; P goes there.

#include "demo/DemoCamera.h"
#include "shell/App.h"
#include "support/TestEnv.h"
#include "video/ui/MarkedSlider.h"
#include "video/ui/MediaPlayer.h"
#include "video/ui/frmSetStart.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

TEST(FrameSelectionProposal, TheCaptionAndTheSliderMarkNameTheProposedFrameAndPOrAClickGoesThere) {
    TestEnv env;
    App& app = env.app();
    AppState& s = app.state;
    s.videoDir = env.videoDir();
    s.gridsReady = 1;
    const unsigned seed = 4;
    ASSERT_EQ(writeDemoFiles(env.videoDir(), QSize(640, 360), 15, seed), QString());
    const DemoLake lake(QSize(640, 360), seed);
    const DemoSurvey& v = lake.survey();
    const PlanePoint buoys[] = {{}, v.upperRight, v.lowerRight, v.upperLeft, v.lowerLeft};
    for (size_t i = 1; i <= 4; ++i) {
        s.buoyScreenX[i] = lake.twipsOf(buoys[i]).x();
        s.buoyScreenY[i] = lake.twipsOf(buoys[i]).y();
    }
    frmSetStart& f = app.frmSetStart();
    app.handOverFreshClip({env.videoDir() + QStringLiteral("/DEMOjump1.avi"), 0, 15});

    const int contact = DemoLake::contactFrame(lake.jump(0), 15);
    const QString caption =
        QStringLiteral("Proposed contact: frame %1 (P to go there)").arg(contact);
    QElapsedTimer waited;
    waited.start();
    while (f.proposedContact->text().isEmpty() && waited.elapsed() < 120000)
        QTest::qWait(20);
    EXPECT_EQ(f.proposedContact->text(), caption);
    QTest::keyClick(&f, Qt::Key_P);
    EXPECT_EQ(f.MediaPlayer1->position(), contact);

    // The slider carries the mark; a click on it goes there from anywhere,
    // a click beside it moves the handle as any slider click does.
    auto* slider = f.MediaPlayer1->findChild<MarkedSlider*>(QStringLiteral("slider"));
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(f.MediaPlayer1->mark(), contact);
    if (const QByteArray shot = qgetenv("ZENTRAK_SCREENSHOT"); !shot.isEmpty())
        f.grab().save(QString::fromLocal8Bit(shot));
    const QRect mark = slider->markRect();
    ASSERT_FALSE(mark.isNull());
    f.MediaPlayer1->setPosition(0);
    QTest::mouseClick(slider, Qt::LeftButton, {}, mark.center());
    EXPECT_EQ(f.MediaPlayer1->position(), contact);
    f.MediaPlayer1->setPosition(0);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() - 2, mark.center().y()));
    EXPECT_NE(f.MediaPlayer1->position(), contact);
}
