#pragma once
// What other screens hand to the results viewer: a text and its caption.

#include <QString>

namespace zt {

class ResultsView {
public:
    virtual ~ResultsView() = default;

    // Replaces the viewer's text and caption (the file's path).
    virtual void showResultsText(const QString& caption, const QString& text) = 0;
};

} // namespace zt
