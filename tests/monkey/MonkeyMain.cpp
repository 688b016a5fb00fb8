// A random operator: from a seed, acts on whatever screens are shown —
// clicks on enabled buttons, option buttons, check boxes, list entries and
// menu entries, text typed into edit boxes, keys, clicks and drags on the
// pictures — with every dialog answered at random. After each action the
// diagnostic log and the results file are checked for a cut or garbled
// line. A watchdog ends the run when one action takes over 10 s.
//
//   zentrak-monkey SECONDS SEED TRAIL
//
// Each action is appended to the file TRAIL as it starts, so that the
// script that runs this driver can show the last ones after a crash or a
// sanitizer's report. The last line printed is
// "monkey: N actions, M screens visited, K failures, seed S".

#include "DemoGrid.h"
#include "MonkeyDialogs.h"
#include "grid/ui/Grid_Setup.h"
#include "measure/ui/PictureCanvas.h"
#include "shell/App.h"
#include "shell/MainForm.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QTextEdit>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace zt;

namespace {

std::atomic<long long> beat{0};
std::atomic<long long> actionNumber{0};
int trailFd = -1;

long long steadyMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void note(const QString& text) {
    const QByteArray line = text.toUtf8() + '\n';
    if (trailFd >= 0 && ::write(trailFd, line.constData(), static_cast<size_t>(line.size())) < 0)
        trailFd = -1;
}

// One action taking over 10 s is a hang: said, and the run ends at once.
void watchdog() {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const long long since = steadyMs() - beat.load();
        if (since > 10000) {
            std::fprintf(stderr, "monkey: hang: action %lld did not end within 10 s\n",
                         actionNumber.load());
            std::fflush(stderr);
            ::_exit(3);
        }
    }
}

// A text file of the program checked from where the last check ended: each
// line ends with CR LF, holds no other control character, and the file ends
// with a whole line.
class LineCheck {
public:
    QString check(const QString& path) {
        // Only a regular file is read: the operator may name a pipe, which
        // would block the reader, not the program, which refuses it.
        struct stat st {};
        const bool regular = !path.isEmpty() &&
                             ::stat(QFile::encodeName(path).constData(), &st) == 0 &&
                             S_ISREG(st.st_mode);
        const QByteArray bytes = regular ? test::readAll(path) : QByteArray();
        if (path != path_) {
            // Another file chosen: what it held before is not the
            // program's (the operator may name any file).
            path_ = path;
            checked_ = bytes.size();
        }
        if (path.isEmpty())
            return {};
        if (bytes.size() < checked_)
            checked_ = 0; // replaced by a new session's file
        for (qsizetype i = checked_; i < bytes.size(); ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            if (c == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))
                return problem(bytes, i, "a line cut or ended by a bare CR");
            if (c == '\n' && (i == 0 || bytes[i - 1] != '\r'))
                return problem(bytes, i, "a bare LF");
            if (c < 0x20 && c != '\r' && c != '\n' && c != '\t')
                return problem(bytes, i, "a control character");
        }
        if (bytes.size() > checked_ && !bytes.endsWith("\r\n"))
            return problem(bytes, bytes.size() - 1, "the last line is cut");
        checked_ = bytes.size();
        return {};
    }

private:
    QString problem(const QByteArray& bytes, qsizetype at, const char* what) const {
        const qsizetype from = bytes.lastIndexOf('\n', at > 0 ? at - 1 : 0) + 1;
        return path_ + QStringLiteral(": ") + QLatin1String(what) + QStringLiteral(" at byte ") +
               QString::number(at) + QStringLiteral(": \"") +
               QString::fromLatin1(bytes.mid(from, std::min<qsizetype>(at - from + 20, 120)))
                   .toHtmlEscaped() +
               QLatin1Char('"');
    }
    QString path_;
    qsizetype checked_ = 0;
};

class Monkey {
public:
    Monkey(unsigned seed, const QString& filesDir) : rng_(seed) {
        files_ = monkey::prepareFiles(filesDir);
        Services& s = env_.services();
        s.demoLake = true; // the test camera and the demo lake, in real time
        auto dialogs = std::make_unique<monkey::MonkeyDialogs>(rng_, files_, note);
        dialogs_ = dialogs.get();
        s.dialogs = std::move(dialogs);
        grid_.read(filesDir);
        setupPicture_ = filesDir + QStringLiteral("/demo-setup.bmp");
        env_.settings().write(QStringLiteral("logpath"), env_.videoDir());
        env_.settings().write(QStringLiteral("VideoResolution"), QStringLiteral("1"));
    }

    int run(int seconds);
    int screens() const { return static_cast<int>(screens_.size()); }
    QStringList screenNames() const {
        QStringList names(screens_.begin(), screens_.end());
        names.sort();
        return names;
    }
    long long actions() const { return actions_; }

private:
    int pick(int n) { return n < 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    template <class T> T& one(QList<T>& list) { return list[pick(static_cast<int>(list.size()))]; }
    QWidget* chooseWindow();
    QString act(QWidget* window);
    QString typeInto(QLineEdit* box);
    QString pressKey(QWidget* window);
    QString onPicture(QWidget* surface);
    QString checkFiles();

    std::mt19937 rng_;
    QStringList files_;
    monkey::MonkeyDialogs* dialogs_ = nullptr;
    DemoGrid grid_;
    QString setupPicture_;
    test::TestEnv env_;
    App* app_ = nullptr;
    QSet<QString> screens_;
    long long actions_ = 0;
    LineCheck results_, diagnostic_;
};

QString nameOf(const QObject* o) {
    const QString n = o->objectName();
    if (!n.isEmpty())
        return n;
    if (auto* b = qobject_cast<const QAbstractButton*>(o))
        return QLatin1Char('"') + b->text() + QLatin1Char('"');
    if (auto* a = qobject_cast<const QAction*>(o))
        return QLatin1Char('"') + a->text() + QLatin1Char('"');
    return QString::fromLatin1(o->metaObject()->className());
}

QWidget* Monkey::chooseWindow() {
    QList<QWidget*> shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !qobject_cast<QMenu*>(w))
            shown.push_back(w);
    if (shown.isEmpty())
        return nullptr;
    // Mostly the window in front, as an operator works.
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && pick(3) > 0)
        return active;
    return one(shown);
}

QString Monkey::typeInto(QLineEdit* box) {
    const QString text = monkey::typedTexts()[pick(static_cast<int>(monkey::typedTexts().size()))];
    box->setFocus();
    if (pick(3) > 0)
        box->selectAll();
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(box, c.toLatin1());
        } else { // a key the test library does not know: its text only
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
            QApplication::sendEvent(box, &release);
        }
    }
    if (pick(2) == 0)
        QTest::keyClick(box, Qt::Key_Return);
    return QStringLiteral("type \"") + text.left(40) + QStringLiteral("\" into ") + nameOf(box);
}

QString Monkey::pressKey(QWidget* window) {
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const char* name;
    };
    static const Key keys[] = {
        {Qt::Key_Left, {}, "Left"},
        {Qt::Key_Right, {}, "Right"},
        {Qt::Key_Up, {}, "Up"},
        {Qt::Key_Down, {}, "Down"},
        {Qt::Key_Escape, {}, "Esc"},
        {Qt::Key_Return, {}, "Enter"},
        {Qt::Key_Enter, Qt::KeypadModifier, "keypad Enter"},
        {Qt::Key_Plus, Qt::KeypadModifier, "keypad +"},
        {Qt::Key_Minus, Qt::KeypadModifier, "keypad -"},
        {Qt::Key_4, Qt::KeypadModifier, "keypad 4"},
        {Qt::Key_6, Qt::KeypadModifier, "keypad 6"},
        {Qt::Key_8, Qt::KeypadModifier, "keypad 8"},
        {Qt::Key_2, Qt::KeypadModifier, "keypad 2"},
        {Qt::Key_0, {}, "0"},
        {Qt::Key_1, {}, "1"},
        {Qt::Key_Space, {}, "Space"},
        {Qt::Key_PageUp, {}, "PageUp"},
        {Qt::Key_PageDown, {}, "PageDown"},
        {Qt::Key_Home, {}, "Home"},
        {Qt::Key_End, {}, "End"},
        {Qt::Key_Delete, {}, "Delete"},
        {Qt::Key_Tab, {}, "Tab"},
        {Qt::Key_F1, {}, "F1"},
        {Qt::Key_F, Qt::AltModifier, "Alt+F"},
        {Qt::Key_S, Qt::AltModifier, "Alt+S"},
        {Qt::Key_R, Qt::AltModifier, "Alt+R"},
        {Qt::Key_N, Qt::AltModifier, "Alt+N"},
        {Qt::Key_E, Qt::AltModifier, "Alt+E"},
        {Qt::Key_C, Qt::AltModifier, "Alt+C"},
        {Qt::Key_M, Qt::AltModifier, "Alt+M"},
        {Qt::Key_G, Qt::AltModifier, "Alt+G"},
    };
    const Key& k = keys[pick(static_cast<int>(std::size(keys)))];
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, k.key, k.mods);
    return QStringLiteral("key ") + QLatin1String(k.name) + QStringLiteral(" on ") + nameOf(target);
}

QString Monkey::onPicture(QWidget* surface) {
    const QPoint at(pick(std::max(1, surface->width())), pick(std::max(1, surface->height())));
    const QString where = QStringLiteral(" at %1,%2 on ").arg(at.x()).arg(at.y()) +
                          nameOf(surface->parent() ? surface->parent() : surface);
    switch (pick(5)) {
    case 0:
        QTest::mouseClick(surface, Qt::RightButton, {}, at);
        return QStringLiteral("right click") + where;
    case 1: {
        const QPoint to(pick(std::max(1, surface->width())), pick(std::max(1, surface->height())));
        QTest::mousePress(surface, Qt::LeftButton, {}, at);
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
        return QStringLiteral("drag to %1,%2 from").arg(to.x()).arg(to.y()) + where;
    }
    case 2: {
        QWheelEvent wheel(QPointF(at), QPointF(surface->mapToGlobal(at)), QPoint(),
                          QPoint(0, pick(2) ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(surface, &wheel);
        return QStringLiteral("wheel") + where;
    }
    default:
        QTest::mouseClick(surface, Qt::LeftButton, {}, at);
        return QStringLiteral("click") + where;
    }
}

QString Monkey::act(QWidget* window) {
    QList<QAbstractButton*> buttons;
    QList<QLineEdit*> boxes;
    QList<QListWidget*> lists;
    QList<QComboBox*> combos;
    QList<QWidget*> pictures;
    QList<QAction*> actions;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled())
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            buttons.push_back(b);
        else if (auto* e = qobject_cast<QLineEdit*>(w); e && !e->isReadOnly())
            boxes.push_back(e);
        else if (auto* l = qobject_cast<QListWidget*>(w); l && l->count() > 0)
            lists.push_back(l);
        else if (auto* c = qobject_cast<QComboBox*>(w); c && c->count() > 0)
            combos.push_back(c);
        else if (auto* p = qobject_cast<PictureCanvas*>(w))
            pictures.push_back(p->surface());
    }
    for (QAction* a : window->findChildren<QAction*>())
        if (a->isEnabled() && a->isVisible() && !a->menu() && !a->isSeparator() &&
            !a->text().isEmpty())
            actions.push_back(a);

    const QString on = QStringLiteral(" [") + nameOf(window) + QStringLiteral("]");
    // Now and then an official who knows the job sets up the grid on the
    // demo's picture, so that the screens behind a ready grid are reached.
    if (auto* gs = qobject_cast<Grid_Setup*>(window); gs && pick(30) == 0) {
        const QString what = QStringLiteral("set up the grid on the demo picture") + on;
        note(QString::number(actions_) + QLatin1Char(' ') + what);
        // The pictures folder as the configuration screen would set it,
        // then each grid in use set up in turn.
        if (!QFileInfo(app_->state.pictureDir).isDir())
            app_->state.pictureDir = QFileInfo(setupPicture_).path();
        for (int g = 0; g < 3 && app_->state.gridsReady != 1; ++g) {
            dialogs_->answerNextFile(setupPicture_);
            gs->mnuLoadPicture_Click();
            grid_.enter(*gs);
            if (app_->state.gridsReady != 1 && gs->grid_select->isEnabled())
                gs->grid_select->click();
        }
        return what;
    }
    if (pick(60) == 0) { // the window's close button
        const QString what = QStringLiteral("close") + on;
        note(QString::number(actions_) + QLatin1Char(' ') + what);
        window->close();
        return what;
    }
    for (int tries = 0; tries < 8; ++tries) {
        switch (pick(10)) {
        case 0:
        case 1:
        case 2:
            if (!buttons.isEmpty()) {
                QAbstractButton* b = one(buttons);
                const QString what = QStringLiteral("click ") + nameOf(b) + on;
                note(QString::number(actions_) + QLatin1Char(' ') + what);
                QTest::mouseClick(b, Qt::LeftButton);
                return what;
            }
            break;
        case 3:
            if (!actions.isEmpty()) {
                QAction* a = one(actions);
                const QString what = QStringLiteral("menu ") + nameOf(a) + on;
                note(QString::number(actions_) + QLatin1Char(' ') + what);
                a->trigger();
                return what;
            }
            break;
        case 4:
        case 5:
            if (!boxes.isEmpty()) {
                QLineEdit* box = one(boxes);
                note(QString::number(actions_) + QStringLiteral(" type into ") + nameOf(box) + on);
                return typeInto(box) + on;
            }
            break;
        case 6:
            if (!lists.isEmpty()) {
                QListWidget* l = one(lists);
                const int row = pick(l->count());
                const QString what = QStringLiteral("choose row %1 of ").arg(row) + nameOf(l) + on;
                note(QString::number(actions_) + QLatin1Char(' ') + what);
                QListWidgetItem* item = l->item(row);
                const QRect r = l->visualItemRect(item);
                l->setCurrentRow(row);
                if (pick(3) == 0)
                    QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
                else
                    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
                return what;
            }
            if (!combos.isEmpty()) {
                QComboBox* c = one(combos);
                const int index = pick(c->count());
                const QString what = QStringLiteral("choose %1 in ").arg(index) + nameOf(c) + on;
                note(QString::number(actions_) + QLatin1Char(' ') + what);
                c->setCurrentIndex(index);
                emit c->activated(index);
                return what;
            }
            break;
        case 7:
        case 8:
            if (!pictures.isEmpty()) {
                note(QString::number(actions_) + QStringLiteral(" on the picture") + on);
                return onPicture(one(pictures)) + on;
            }
            break;
        default:
            note(QString::number(actions_) + QStringLiteral(" a key") + on);
            return pressKey(window) + on;
        }
    }
    note(QString::number(actions_) + QStringLiteral(" key") + on);
    return pressKey(window) + on;
}

QString Monkey::checkFiles() {
    if (QString p = results_.check(app_->state.logFilePath); !p.isEmpty())
        return p;
    return diagnostic_.check(app_->diagnosticLog().path());
}

int Monkey::run(int seconds) {
    app_ = &env_.app();
    QObject::connect(app_, &App::quitRequested,
                     [] { note(QStringLiteral("  (the program asked to end)")); });
    beat = steadyMs();
    std::thread(watchdog).detach();
    note(QStringLiteral("start"));
    app_->start();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000LL) {
        ++actions_;
        actionNumber = actions_;
        beat = steadyMs();
        QWidget* window = chooseWindow();
        if (!window) {
            // Everything closed: the operator starts from the main screen.
            note(QString::number(actions_) + QStringLiteral(" show the main screen"));
            app_->showScreen(Screen::Main);
            continue;
        }
        screens_.insert(nameOf(window));
        const QString what = act(window);
        note(QStringLiteral("  done: ") + what);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!QDir::current().isEmpty()) {
            std::fprintf(stderr,
                         "monkey: a file written in the current folder after action "
                         "%lld (%s): %s\n",
                         actions_, qPrintable(what),
                         qPrintable(QDir::current()
                                        .entryList(QDir::NoDotAndDotDot | QDir::AllEntries)
                                        .join(QStringLiteral(", "))));
            return 1;
        }
        if (const QString broken = checkFiles(); !broken.isEmpty()) {
            std::fprintf(stderr, "monkey: broken file after action %lld (%s): %s\n", actions_,
                         qPrintable(what), qPrintable(broken));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 4) {
        std::fprintf(stderr, "usage: zentrak-monkey SECONDS SEED TRAIL\n");
        return 2;
    }
    const int seconds = std::atoi(argv[1]);
    const auto seed = static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10));
    trailFd = ::open(argv[3], O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0644);
    QApplication qapp(argc, argv);
    QTemporaryDir files;
    // The program depends on no current folder: it is an empty one that
    // must stay empty.
    const QString cwd = files.path() + QStringLiteral("/current");
    QDir().mkpath(cwd);
    QDir::setCurrent(cwd);
    int failures = 0;
    long long actions = 0;
    int screens = 0;
    {
        Monkey monkey(seed, files.path() + QStringLiteral("/files"));
        failures = monkey.run(seconds);
        actions = monkey.actions();
        screens = monkey.screens();
        std::fprintf(stderr, "monkey: screens visited: %s\n",
                     qPrintable(monkey.screenNames().join(QStringLiteral(", "))));
        beat = steadyMs() + 20000; // closing is not an action
    }
    std::printf("monkey: %lld actions, %d screens visited, %d failures, seed %u\n", actions,
                screens, failures, seed);
    return failures ? 1 : 0;
}
