#include "app/KeyState.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace zt {

bool KeyState::query(int key) {
    auto it = keys_.find(key);
    if (it == keys_.end())
        return false;
    const bool down = it->second.held || it->second.pressedSinceQuery;
    it->second.pressedSinceQuery = false;
    return down;
}

bool KeyState::held(int key) const {
    auto it = keys_.find(key);
    return it != keys_.end() && it->second.held;
}

void KeyState::press(int key) {
    Key& k = keys_[key];
    k.held = true;
    k.pressedSinceQuery = true;
}

void KeyState::release(int key) {
    keys_[key].held = false;
}

void KeyState::releaseAll() {
    keys_.clear();
}

KeyStateFilter::KeyStateFilter(KeyState& keys, QObject* parent) : QObject(parent), keys_(keys) {}

bool KeyStateFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        // Every widget on the way sees the same event; only the first copy
        // of a press counts, and auto-repeat pairs do not release the key.
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat()) {
            if (event->type() == QEvent::KeyPress)
                keys_.press(key->key());
            else
                keys_.release(key->key());
        }
        break;
    }
    case QEvent::ApplicationDeactivate:
        keys_.releaseAll();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

KeyState& applicationKeyState() {
    static KeyState keys;
    static KeyStateFilter* filter = nullptr;
    if (!filter && QCoreApplication::instance()) {
        filter = new KeyStateFilter(keys, QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(filter);
    }
    return keys;
}

bool isArrowKey(int key) {
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

} // namespace zt
