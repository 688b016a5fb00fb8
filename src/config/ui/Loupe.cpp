#include "config/ui/Loupe.h"

#include "config/ConfigLogic.h"
#include "config/Magnifier.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTimer>

namespace zt {

namespace {
constexpr int viewSide = 240;
constexpr int cursorGap = 24;
} // namespace

LoupeWindow::LoupeWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("LoupeWindow"));
    setWindowTitle(QStringLiteral("Screen Loupe"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(viewSide, viewSide);
    view_ = QImage(size(), QImage::Format_RGB32);
    view_.fill(Qt::black);
    timer_ = new QTimer(this);
    timer_->setInterval(40);
    connect(timer_, &QTimer::timeout, this, &LoupeWindow::tick);
    timer_->start();
    qApp->installEventFilter(this);
}

LoupeWindow::~LoupeWindow() {
    qApp->removeEventFilter(this);
}

void LoupeWindow::setZoom(int zoom) {
    zoom_ = std::clamp(zoom, minimumLoupeZoom, maximumLoupeZoom);
    lastCursor_ = QPoint(-1, -1);
}

void LoupeWindow::tick() {
    if (isVisible())
        followCursor(QCursor::pos());
}

void LoupeWindow::placeBeside(QPoint cursor) {
    QScreen* screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        move(loupeWindowPosition(cursor, size(), screen->availableGeometry(), cursorGap));
}

void LoupeWindow::followCursor(QPoint cursor) {
    if (cursor == lastCursor_ || (isVisible() && frameGeometry().contains(cursor)))
        return;
    lastCursor_ = cursor;
    QScreen* screen = QGuiApplication::screenAt(cursor);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect geometry = screen->geometry();
    const QRect area = magnifiedSourceRect(cursor, size(), zoom_);
    const QPixmap grabbed = screen->grabWindow(0, area.x() - geometry.x(), area.y() - geometry.y(),
                                               area.width(), area.height());
    showArea(grabbed.toImage(), area.topLeft(), cursor);
}

void LoupeWindow::showArea(const QImage& picture, QPoint origin, QPoint center) {
    view_ = magnifyAround(picture, origin, center, size(), zoom_);
    update();
}

void LoupeWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, view_);
    // The zoom in the corner, readable over any picture.
    const QString zoomText = QStringLiteral("%1x").arg(zoom_);
    const QRect textBox = p.fontMetrics().boundingRect(zoomText).adjusted(-3, -1, 3, 1);
    const QRect corner(QPoint(2, height() - textBox.height() - 2), textBox.size());
    p.fillRect(corner, QColor(0, 0, 0, 180));
    p.setPen(Qt::yellow);
    p.drawText(corner, Qt::AlignCenter, zoomText);
    p.setPen(Qt::darkGray);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void LoupeWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool LoupeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::ShiftModifier) {
            if (key->key() == Qt::Key_Escape) {
                close();
                return true;
            }
            if (key->key() == Qt::Key_F12 || key->key() == Qt::Key_F11) {
                setZoom(zoom_ + (key->key() == Qt::Key_F12 ? 1 : -1));
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

ScreenLoupe::~ScreenLoupe() {
    delete window_.data();
}

ScreenLoupe::Started ScreenLoupe::start() {
    ++starts_;
    const QString program = loupeProgramPath(appDir_);
    if (!program.isEmpty() && QProcess::startDetached(program, {}, appDir_))
        return Started::Program;
    if (!window_) {
        window_ = new LoupeWindow();
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->placeBeside(QCursor::pos());
    }
    window_->followCursor(QCursor::pos());
    window_->show();
    window_->raise();
    return Started::BuiltIn;
}

void ScreenLoupe::close() {
    if (window_)
        window_->close();
}

} // namespace zt
