#include "app/TextLines.h"

#include <QStringDecoder>

namespace zt {

namespace {

QString lineText(QByteArrayView line) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(line);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(line);
}

} // namespace

QString textOfAppendedFile(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    const QByteArrayView all(bytes);
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf('\n', start);
        end = end < 0 ? all.size() : end + 1;
        text += lineText(all.sliced(start, end - start));
        start = end;
    }
    return text;
}

} // namespace zt
