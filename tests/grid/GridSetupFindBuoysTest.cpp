// Find Buoys on the grid setup screen: the demo lake's setup picture gets
// its five marks as if each buoy's pixel had been clicked.

#include "demo/DemoLake.h"
#include "grid/ui/Grid_Setup.h"
#include "shell/App.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QLineEdit>
#include <cmath>
#include <gtest/gtest.h>

using namespace zt;
using namespace zt::test;

namespace {

QString clicked(double pixels) {
    return QString::number(std::floor(pixels) * 15);
}

} // namespace

TEST(GridSetupFindBuoys, PlacesTheFiveMarksOrSaysHowManyItFound) {
    TestEnv env;
    App& app = env.app();
    Grid_Setup& gs = app.gridSetup();
    const QString pictures = env.path(QStringLiteral("pictures"));
    QDir().mkpath(pictures);
    app.state.pictureDir = pictures;
    gs.show();
    const DemoLake lake(QSize(960, 540), 3);
    const QString path = pictures + QStringLiteral("/setup.bmp");
    ASSERT_TRUE(lake.render(0.2, false).save(path));
    env.dialogs().answerText(path);
    gs.mnuLoadPicture_Click();

    env.dialogs().clear();
    gs.mnuFindBuoys_Click();
    EXPECT_TRUE(env.dialogs().messages().empty());
    const DemoSurvey& v = lake.survey();
    const std::pair<QLineEdit*, QLineEdit*> boxes[] = {{gs.upper_left_x, gs.upper_left_y},
                                                       {gs.upper_right_x, gs.upper_right_y},
                                                       {gs.lower_left_x, gs.lower_left_y},
                                                       {gs.lower_right_x, gs.lower_right_y},
                                                       {gs.txtCheckXpix, gs.txtCheckYpix}};
    const PlanePoint truth[] = {v.upperLeft, v.upperRight, v.lowerLeft, v.lowerRight, v.checkBuoy};
    for (size_t i = 0; i < 5; ++i) {
        const QPointF px = *lake.project(truth[i].x, truth[i].y);
        EXPECT_EQ(boxes[i].first->text(), clicked(px.x())) << i;
        EXPECT_EQ(boxes[i].second->text(), clicked(px.y())) << i;
    }

    // A plain picture: no buoy, nothing placed, the official is told.
    QImage plain(640, 480, QImage::Format_RGB32);
    plain.fill(QColor(30, 80, 120));
    ASSERT_TRUE(plain.save(path));
    env.dialogs().answerText(path);
    gs.mnuLoadPicture_Click();
    const QString before = gs.upper_left_x->text();
    env.dialogs().clear();
    gs.mnuFindBuoys_Click();
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.startsWith(QStringLiteral("Found 0 buoys")));
    EXPECT_EQ(gs.upper_left_x->text(), before);
}
