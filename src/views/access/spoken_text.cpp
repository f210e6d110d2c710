#include "views/access/spoken_text.hpp"

#include <QWidget>

namespace quorvane {

QString spokenText(const QString& text) {
    QString spoken;
    spoken.reserve(text.size());
    for (const QChar character : text) {
        if (character.category() != QChar::Other_Format)
            spoken.append(character);
    }
    return spoken;
}

void setSpokenName(QWidget* widget, const QString& text) {
    const QString spoken = spokenText(text);
    if (widget->accessibleName() != spoken)
        widget->setAccessibleName(spoken);
}

void setSpokenDescription(QWidget* widget, const QString& text) {
    const QString spoken = spokenText(text);
    if (widget->accessibleDescription() != spoken)
        widget->setAccessibleDescription(spoken);
}

}  // namespace quorvane
