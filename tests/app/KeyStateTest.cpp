#include "app/KeyState.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace zt;

TEST(KeyState, HeldOrPressedSinceTheLastQuery) {
    KeyState keys;
    EXPECT_FALSE(keys.query(Qt::Key_Left));
    keys.press(Qt::Key_Left);
    EXPECT_TRUE(keys.query(Qt::Key_Left));
    EXPECT_TRUE(keys.query(Qt::Key_Left)); // still held
    keys.release(Qt::Key_Left);
    EXPECT_FALSE(keys.query(Qt::Key_Left));

    // A short tap between two polls still counts once.
    keys.press(Qt::Key_Up);
    keys.release(Qt::Key_Up);
    EXPECT_TRUE(keys.query(Qt::Key_Up));
    EXPECT_FALSE(keys.query(Qt::Key_Up));
    EXPECT_FALSE(keys.query(Qt::Key_Down));

    keys.press(Qt::Key_Right);
    keys.releaseAll();
    EXPECT_FALSE(keys.query(Qt::Key_Right));
}

TEST(KeyState, FilterFollowsKeyEventsButNotAutoRepeat) {
    KeyState keys;
    QObject target;
    KeyStateFilter filter(keys);
    target.installEventFilter(&filter);
    auto send = [&](QEvent::Type type, bool autoRepeat) {
        QKeyEvent e(type, Qt::Key_Right, Qt::NoModifier, QString(), autoRepeat);
        QCoreApplication::sendEvent(&target, &e);
    };
    send(QEvent::KeyPress, false);
    send(QEvent::KeyRelease, true); // auto-repeat pair: still held
    send(QEvent::KeyPress, true);
    EXPECT_TRUE(keys.held(Qt::Key_Right));
    send(QEvent::KeyRelease, false);
    EXPECT_FALSE(keys.held(Qt::Key_Right));
    EXPECT_TRUE(keys.query(Qt::Key_Right)); // pressed since the last query
    EXPECT_FALSE(keys.query(Qt::Key_Right));

    send(QEvent::KeyPress, false);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(&target, &deactivate);
    EXPECT_FALSE(keys.query(Qt::Key_Right));
}
