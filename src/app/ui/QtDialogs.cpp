#include "app/ui/QtDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace zt {

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonChoice {
    MsgAnswer answer;
    QMessageBox::StandardButton button;
};

QList<ButtonChoice> buttonsOf(MsgButtons buttons) {
    using A = MsgAnswer;
    using B = QMessageBox;
    switch (buttons) {
    case MsgButtons::OK:
        return {{A::OK, B::Ok}};
    case MsgButtons::OKCancel:
        return {{A::OK, B::Ok}, {A::Cancel, B::Cancel}};
    case MsgButtons::AbortRetryIgnore:
        return {{A::Abort, B::Abort}, {A::Retry, B::Retry}, {A::Ignore, B::Ignore}};
    case MsgButtons::YesNoCancel:
        return {{A::Yes, B::Yes}, {A::No, B::No}, {A::Cancel, B::Cancel}};
    case MsgButtons::YesNo:
        return {{A::Yes, B::Yes}, {A::No, B::No}};
    case MsgButtons::RetryCancel:
        return {{A::Retry, B::Retry}, {A::Cancel, B::Cancel}};
    }
    return {{A::OK, B::Ok}};
}

} // namespace

std::optional<QList<int>> QtDialogs::chooseFromLists(const ChoiceForm& form) {
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(form.title.isEmpty() ? appTitle() : form.title);
    auto* layout = new QFormLayout(&dialog);
    QList<QComboBox*> lists;
    for (const ChoiceField& f : form.fields) {
        auto* list = new QComboBox(&dialog);
        list->addItems(f.entries);
        list->setCurrentIndex(f.current);
        layout->addRow(f.label, list);
        lists << list;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QList<int> chosen;
    for (const QComboBox* list : lists)
        chosen << list->currentIndex();
    return chosen;
}

MsgAnswer QtDialogs::message(const MessageRequest& request) {
    QMessageBox box(qtIcon(request.icon), request.title.isEmpty() ? appTitle() : request.title,
                    request.prompt, QMessageBox::NoButton, QApplication::activeWindow());
    const QList<ButtonChoice> choices = buttonsOf(request.buttons);
    for (const ButtonChoice& s : choices)
        box.addButton(s.button);
    const int index = std::clamp(request.defaultButton, 1, static_cast<int>(choices.size()));
    box.setDefaultButton(choices[index - 1].button);
    box.setEscapeButton(choices.last().button);
    const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
    for (const ButtonChoice& s : choices)
        if (s.button == clicked)
            return s.answer;
    return choices.last().answer;
}

std::optional<QString> QtDialogs::input(const QString& prompt, const QString& title,
                                        const QString& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), title.isEmpty() ? appTitle() : title,
                              prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString qtFilterOf(const QString& filter) {
    QStringList out;
    for (const FilterEntry& e : parseFilter(filter)) {
        QString label = e.label;
        QString patterns = e.pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        if (!label.contains(QLatin1Char('(')))
            label += QStringLiteral(" (") + patterns + QLatin1Char(')');
        else
            label = label.left(label.indexOf(QLatin1Char('('))).trimmed() + QStringLiteral(" (") +
                    patterns + QLatin1Char(')');
        out << label;
    }
    return out.join(QStringLiteral(";;"));
}

QString qtSelectedFilterOf(const QString& filter, int filterIndex) {
    const QStringList all = qtFilterOf(filter).split(QStringLiteral(";;"));
    if (filterIndex < 1 || filterIndex > all.size())
        return all.value(0);
    return all[filterIndex - 1];
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request) {
    QString selected = qtSelectedFilterOf(request.filter, request.filterIndex);
    const QString start = request.fileName.isEmpty()
                              ? request.startDir
                              : request.startDir + QLatin1Char('/') + request.fileName;
    if (request.allowNewFile) {
        // An open dialog that takes a new name as well as an existing file.
        QFileDialog dialog(QApplication::activeWindow(), request.title, start,
                           qtFilterOf(request.filter));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.selectNameFilter(selected);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    }
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), request.title,
                                                      start, qtFilterOf(request.filter), &selected,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request) {
    QString selected = qtSelectedFilterOf(request.filter, request.filterIndex);
    const QString start = request.fileName.isEmpty()
                              ? request.startDir
                              : request.startDir + QLatin1Char('/') + request.fileName;
    const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), request.title,
                                                      start, qtFilterOf(request.filter), &selected);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace zt
