#include "views/design/text_size_refit.hpp"

#include <QMetaObject>
#include <QWidget>

#include "views/design/theme.hpp"

namespace quorvane {

void refitOnTextSizeChange(Theme& theme, QWidget* sheet) {
    QObject::connect(
        &theme, &Theme::changed, sheet, [sheet, &theme, shown = theme.textSize()]() mutable {
            if (theme.textSize() == shown)
                return;
            shown = theme.textSize();
            if (sheet->isVisible())
                QMetaObject::invokeMethod(sheet, &QWidget::adjustSize, Qt::QueuedConnection);
        });
}

}  // namespace quorvane
