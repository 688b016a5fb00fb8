#pragma once
// The screen loupe. Operators mark buoys and landing points pixel by pixel;
// the loupe shows the screen around the mouse enlarged with a crosshair.
// The loupe program under the application folder is started when it is
// there; otherwise the built-in loupe opens: a small tool window "Screen
// Loupe", always on top, that opens beside the mouse and stays where the
// operator moves it. Its close button or Esc closes it; Shift+F12 and
// Shift+F11 zoom in and out from anywhere in the program.

#include <QImage>
#include <QPointer>
#include <QWidget>

class QTimer;

namespace zt {

class LoupeWindow : public QWidget {
    Q_OBJECT
public:
    explicit LoupeWindow(QWidget* parent = nullptr);
    ~LoupeWindow() override;

    int zoom() const { return zoom_; }
    void setZoom(int zoom);
    // The picture shown now.
    const QImage& view() const { return view_; }
    // Shows the screen around the global cursor position (not while the
    // cursor is over the loupe itself).
    void followCursor(QPoint globalCursor);
    // Opens beside the cursor, clear of the area it shows.
    void placeBeside(QPoint globalCursor);
    // Shows a picture whose pixel 0,0 lies at origin on the screen.
    void showArea(const QImage& picture, QPoint origin, QPoint center);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();

    int zoom_ = 4;
    QImage view_;
    QPoint lastCursor_{-1, -1};
    QTimer* timer_ = nullptr;
};

class ScreenLoupe {
public:
    explicit ScreenLoupe(QString appDir) : appDir_(std::move(appDir)) {}
    ~ScreenLoupe();
    ScreenLoupe(const ScreenLoupe&) = delete;
    ScreenLoupe& operator=(const ScreenLoupe&) = delete;

    enum class Started { Program, BuiltIn };
    // Starts the loupe program, or opens (or raises) the built-in window
    // when there is no program or it cannot be started.
    Started start();
    // Closes the built-in window when open.
    void close();
    LoupeWindow* window() const { return window_; }
    int starts() const { return starts_; }

private:
    QString appDir_;
    QPointer<LoupeWindow> window_;
    int starts_ = 0;
};

} // namespace zt
