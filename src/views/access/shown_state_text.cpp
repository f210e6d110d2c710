#include "views/access/shown_state_text.hpp"

#include <algorithm>

namespace quorvane {

void ShownStateText::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    const bool whole = selectionIndex == 0 && selectionCount() == 1;
    *startOffset = 0;
    *endOffset = whole ? characterCount() : 0;
}

int ShownStateText::selectionCount() const {
    return shownText().isEmpty() ? 0 : 1;
}

QString ShownStateText::text(int startOffset, int endOffset) const {
    const QString words = shownText();
    // AT-SPI asks for "to the end" with -1.
    const int end = endOffset < 0 ? static_cast<int>(words.size())
                                  : std::min(endOffset, static_cast<int>(words.size()));
    const int start = std::clamp(startOffset, 0, end);
    return words.mid(start, end - start);
}

int ShownStateText::characterCount() const {
    return static_cast<int>(shownText().size());
}

QString ShownStateText::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void announceShownText(QObject* control, const QString& before, const QString& after) {
    if (before == after)
        return;
    if (!after.isEmpty()) {
        QAccessibleTextInsertEvent inserted(control, 0, after);
        QAccessible::updateAccessibility(&inserted);
    }
    if (!before.isEmpty()) {
        QAccessibleTextRemoveEvent removed(control, static_cast<int>(after.size()), before);
        QAccessible::updateAccessibility(&removed);
    }
}

}  // namespace quorvane
