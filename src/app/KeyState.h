#pragma once
// The asynchronous state of the arrow keys, as the nudge timers of the
// measure, grid setup and frame selection screens poll it: a key counts as
// down when it is held now or was pressed since the last query of that key.
// The application-wide instance is fed by an event filter on the
// application; tests press and release keys directly.

#include <QObject>
#include <map>

namespace zt {

class KeyState {
public:
    virtual ~KeyState() = default;

    // Held now, or pressed since the last query of this key. The query
    // forgets the press.
    bool query(int key);
    bool held(int key) const;

    void press(int key);
    void release(int key);
    // Forgets every key (the application lost the keyboard).
    void releaseAll();

private:
    struct Key {
        bool held = false;
        bool pressedSinceQuery = false;
    };
    std::map<int, Key> keys_;
};

// Feeds a KeyState from the key events of the whole application; releases
// every key when the application becomes inactive, so no key stays down.
class KeyStateFilter : public QObject {
    Q_OBJECT
public:
    explicit KeyStateFilter(KeyState& keys, QObject* parent = nullptr);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyState& keys_;
};

// The process-wide key state; the first call installs its filter on the
// running application.
KeyState& applicationKeyState();

// Left, right, up or down (Qt key codes).
bool isArrowKey(int key);

} // namespace zt
