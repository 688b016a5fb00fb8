// The skier list: the names file's lines, a double click handing the name
// to the capture screen, "No Selection", and a names file gone missing.

#include "capture/ui/PreviewForm.h"
#include "logs/ui/frmSelectSkier.h"
#include "shell/App.h"
#include "support/QtPrinters.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace zt;
using test::writeAll;

namespace {

QString namesFile(const test::TestEnv& env) {
    return env.appDir() + QStringLiteral("/SkierNames.txt");
}

} // namespace

TEST(SkierList, DoubleClickHandsTheNameToTheCaptureScreen) {
    test::TestEnv env;
    App& app = env.app();
    writeAll(namesFile(env), "Smith,John\r\n\r\nBrown\r\nLee, Ann,USA");
    PreviewForm& capture = app.previewForm();
    QPointer<frmSelectSkier> list = app.openSelectSkier(&capture);
    ASSERT_FALSE(list.isNull());
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Select A Skier"));
    ASSERT_EQ(list->lstSkiers->count(), 3);
    EXPECT_EQ(list->lstSkiers->item(0)->text(), QStringLiteral("Smith John"));
    EXPECT_EQ(list->lstSkiers->item(1)->text(), QStringLiteral("Brown"));
    EXPECT_EQ(list->lstSkiers->item(2)->text(), QStringLiteral("Lee  Ann USA")); // ", " -> 2 blanks
    const QScreen* screen = capture.screen();
    EXPECT_EQ(list->pos(), screen->geometry().topLeft() + QPoint(152, 8)); // 2280, 120 twips

    list->lstSkiers_DblClick(list->lstSkiers->item(0));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(capture.txtSkierName->text(), QStringLiteral("Smith John"));

    // "No Selection" leaves the name.
    list = app.openSelectSkier(&capture);
    QTest::mouseClick(list->cmdNoSelect, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(list.isNull());
    EXPECT_EQ(capture.txtSkierName->text(), QStringLiteral("Smith John"));

    // The file gone after the capture screen's check: told, no list.
    QFile::remove(namesFile(env));
    EXPECT_EQ(app.openSelectSkier(&capture), nullptr);
    ASSERT_EQ(env.dialogs().messages().size(), 1);
    EXPECT_TRUE(env.dialogs().messages()[0].prompt.contains(namesFile(env)));
    EXPECT_EQ(capture.txtSkierName->text(), QStringLiteral("Smith John"));
}
