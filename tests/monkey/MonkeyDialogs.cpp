#include "MonkeyDialogs.h"

#include "demo/DemoCamera.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>
#include <utility>

namespace zt::monkey {

const QStringList& typedTexts() {
    static const QStringList texts = {
        QString(),
        QStringLiteral("0"),
        QStringLiteral("1"),
        QStringLiteral("2"),
        QStringLiteral("-3"),
        QStringLiteral("12.5"),
        QStringLiteral("3,5"),
        QStringLiteral("59"),
        QStringLiteral("1e308"),
        QStringLiteral("99999999999999999999"),
        QStringLiteral("NaN"),
        QStringLiteral(" 7 "),
        QStringLiteral("abc"),
        QStringLiteral("Jörg Müller-Åström"),
        QStringLiteral("スキー 滑水"),
        QString(300, QLatin1Char('W')),
        QStringLiteral("../../etc/passwd"),
        QStringLiteral("C:\\ztio\\ztresult.dst"),
        QStringLiteral("/tmp/nowhere/x.bmp"),
        QStringLiteral("a,b;c|d\"e'f"),
        QStringLiteral("DEMO"),
    };
    return texts;
}

QStringList prepareFiles(const QString& folder) {
    QDir().mkpath(folder);
    writeDemoFiles(folder, QSize(640, 480), 30, 5);
    const QString bmp = folder + QStringLiteral("/demo-setup.bmp");
    const QString clip = folder + QStringLiteral("/DEMOjump1.avi");
    const QByteArray picture = test::readAll(bmp);
    const QByteArray video = test::readAll(clip);
    test::writeAll(folder + QStringLiteral("/empty.bmp"), QByteArray());
    test::writeAll(folder + QStringLiteral("/cut.bmp"), picture.left(picture.size() / 3));
    test::writeAll(folder + QStringLiteral("/cut.avi"), video.left(video.size() / 2));
    QByteArray noise(5000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919) ^ (i >> 3));
    test::writeAll(folder + QStringLiteral("/noise.avi"), noise);
    test::writeAll(folder + QStringLiteral("/noise.grd"), noise);
    test::writeAll(folder + QStringLiteral("/notes.txt"), "skier,1,2\r\nline two\n\0tail");
    test::writeAll(folder + QStringLiteral("/Jörg Müller 1.bmp"), picture);
    QDir().mkpath(folder + QStringLiteral("/folder.bmp"));
    QFile::link(bmp, folder + QStringLiteral("/link.bmp"));
    ::mkfifo(QFile::encodeName(folder + QStringLiteral("/pipe.avi")).constData(), 0600);
    return {bmp,
            clip,
            folder + QStringLiteral("/demo-survey.txt"),
            folder + QStringLiteral("/empty.bmp"),
            folder + QStringLiteral("/cut.bmp"),
            folder + QStringLiteral("/cut.avi"),
            folder + QStringLiteral("/noise.avi"),
            folder + QStringLiteral("/noise.grd"),
            folder + QStringLiteral("/notes.txt"),
            folder + QStringLiteral("/Jörg Müller 1.bmp"),
            folder + QStringLiteral("/folder.bmp"),
            folder + QStringLiteral("/link.bmp"),
            folder + QStringLiteral("/pipe.avi"),
            folder + QStringLiteral("/missing.bmp"),
            folder + QStringLiteral("/missing/deeper/x.grd"),
            folder,
            QString()};
}

namespace {
int buttonCount(MsgButtons b) {
    switch (b) {
    case MsgButtons::OK:
        return 1;
    case MsgButtons::AbortRetryIgnore:
    case MsgButtons::YesNoCancel:
        return 3;
    default:
        return 2;
    }
}
} // namespace

MsgAnswer MonkeyDialogs::message(const MessageRequest& request) {
    const MsgAnswer a = answerForButton(request.buttons, 1 + pick(buttonCount(request.buttons)));
    note_(QStringLiteral("  box \"") + request.prompt.left(70).simplified() +
          QStringLiteral("\" -> ") + QString::number(static_cast<int>(a)));
    return a;
}

std::optional<QString> MonkeyDialogs::input(const QString& prompt, const QString&,
                                            const QString& defaultText) {
    std::optional<QString> a;
    // A path among the answers: some boxes are only left with a folder
    // that exists.
    const int r = pick(4);
    if (r == 1)
        a = defaultText;
    else if (r == 2)
        a = typedTexts()[pick(static_cast<int>(typedTexts().size()))];
    else if (r == 3)
        a = files_[pick(static_cast<int>(files_.size()))];
    note_(QStringLiteral("  input \"") + prompt.left(60).simplified() + QStringLiteral("\" -> ") +
          (a ? QLatin1Char('"') + a->left(40) + QLatin1Char('"') : QStringLiteral("cancel")));
    return a;
}

std::optional<QString> MonkeyDialogs::fileAnswer(const FileDialogRequest& request,
                                                 const char* kind) {
    std::optional<QString> a;
    if (nextFile_)
        a = std::exchange(nextFile_, std::nullopt);
    else if (pick(5) > 0)
        a = files_[pick(static_cast<int>(files_.size()))];
    note_(QStringLiteral("  ") + QLatin1String(kind) + QStringLiteral(" \"") + request.title +
          QStringLiteral("\" -> ") + (a ? *a : QStringLiteral("cancel")));
    return a;
}

std::optional<QString> MonkeyDialogs::openFile(const FileDialogRequest& request) {
    return fileAnswer(request, "open");
}

std::optional<QString> MonkeyDialogs::saveFile(const FileDialogRequest& request) {
    return fileAnswer(request, "save");
}

std::optional<QList<int>> MonkeyDialogs::chooseFromLists(const ChoiceForm& form) {
    if (pick(4) == 0) {
        note_(QStringLiteral("  form \"") + form.title + QStringLiteral("\" -> cancel"));
        return std::nullopt;
    }
    QList<int> chosen;
    for (const ChoiceField& f : form.fields)
        chosen.push_back(pick(4) == 0 || f.entries.isEmpty()
                             ? f.current
                             : pick(static_cast<int>(f.entries.size())));
    note_(QStringLiteral("  form \"") + form.title + QStringLiteral("\" -> chosen"));
    return chosen;
}

} // namespace zt::monkey
