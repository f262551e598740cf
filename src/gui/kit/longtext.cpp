#include "gui/kit/longtext.h"

#include <QTextBoundaryFinder>

namespace kit {
namespace {
// Past this a run costs more to wrap at a boundary than a line is worth.
constexpr qsizetype kLongestWordWrapped = 1000;
} // namespace

qsizetype longestUnbreakableRun(const QString &text)
{
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, text);
    qsizetype longest = 0;
    qsizetype from = 0;
    for (qsizetype at = lines.toNextBoundary(); at >= 0; at = lines.toNextBoundary()) {
        longest = std::max(longest, at - from);
        from = at;
    }
    return std::max(longest, text.size() - from);
}

void setLongText(QPlainTextEdit &box, const QString &text)
{
    box.setWordWrapMode(longestUnbreakableRun(text) > kLongestWordWrapped
                            ? QTextOption::WrapAnywhere
                            : QTextOption::WrapAtWordBoundaryOrAnywhere);
    box.setPlainText(text);
}

} // namespace kit
