#pragma once
// Small helpers that create a screen's controls with their names.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace zt::ui {

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    return named(new QPushButton(caption, parent), name);
}

inline QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    return named(new QLabel(caption, parent), name);
}

inline QLineEdit* edit(QWidget* parent, const char* name, const QString& text = QString()) {
    return named(new QLineEdit(text, parent), name);
}

inline QCheckBox* checkBox(QWidget* parent, const char* name, const QString& caption) {
    return named(new QCheckBox(caption, parent), name);
}

inline QComboBox* combo(QWidget* parent, const char* name, const QStringList& entries = {}) {
    auto* c = named(new QComboBox(parent), name);
    c->addItems(entries);
    return c;
}

// Shows the wait cursor for the life of the object.
struct WaitCursor {
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A top-level menu command on a menu bar.
inline QAction* menuCommand(QMenuBar* bar, const char* name, const QString& caption) {
    return named(bar->addAction(caption), name);
}

} // namespace zt::ui
