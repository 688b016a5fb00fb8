#include "app/Dialogs.h"

#include <QStringList>

namespace zt {

MsgAnswer answerForButton(MsgButtons buttons, int index) {
    using A = MsgAnswer;
    QList<A> order;
    switch (buttons) {
    case MsgButtons::OK:
        order = {A::OK};
        break;
    case MsgButtons::OKCancel:
        order = {A::OK, A::Cancel};
        break;
    case MsgButtons::AbortRetryIgnore:
        order = {A::Abort, A::Retry, A::Ignore};
        break;
    case MsgButtons::YesNoCancel:
        order = {A::Yes, A::No, A::Cancel};
        break;
    case MsgButtons::YesNo:
        order = {A::Yes, A::No};
        break;
    case MsgButtons::RetryCancel:
        order = {A::Retry, A::Cancel};
        break;
    }
    if (index < 1 || index > order.size())
        index = 1;
    return order[index - 1];
}

QList<FilterEntry> parseFilter(const QString& filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    QList<FilterEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append({parts[i], parts[i + 1]});
    return entries;
}

} // namespace zt
