// Status texts drawn in the desktop's green and orange (a capability's
// "사용 가능", a display's badge) read at 4.5:1 on the card they stand on, in
// either scheme, as the rendered page shows them.

#include <gtest/gtest.h>

#include <QScrollArea>

#include "views/design/surface_panel.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_form_fixture.hpp"
#include "views/support/ink_contrast.hpp"
#include "views/support/text_ink_baseline.hpp"

namespace quorvane::testing {
namespace {

// The picture `widget` is seen in: the whole page of the scroll area that
// holds it (out of view or not), and where it lies in that picture.
struct Seen {
    QImage picture;
    QRect box;
};

Seen seen(QWidget* widget) {
    QWidget* root = widget->window();
    for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget()) {
        if (auto* scroll = qobject_cast<QScrollArea*>(up)) {
            root = scroll->widget();
            break;
        }
    }
    return {root->grab().toImage(), boxIn(root, widget)};
}

TEST_F(DetailFormTest, StatusTextsReadAtFourAndAHalfToOneOnTheirCardsInBothSchemes) {
    start();
    show(MainWindowSection::diagnostics);
    for (const auto appearance : {QuorvaneAppearance::light, QuorvaneAppearance::dark}) {
        SCOPED_TRACE(appearance == QuorvaneAppearance::light ? "light" : "dark");
        theme.setAppearance(appearance);
        turn();
        int statuses = 0;
        for (auto* label : visible<WrappingLabel>()) {
            if (label->text() != QStringLiteral("사용 가능") &&
                label->text() != QStringLiteral("일부 가능"))
                continue;
            ++statuses;
            const Seen shown = seen(label);
            EXPECT_GE(inkContrast(shown.picture, shown.box), 4.5) << label->text().toStdString();
        }
        EXPECT_GT(statuses, 0);
        int badges = 0;
        for (auto* pill : visible<StatusPill>()) {
            ++badges;
            const Seen shown = seen(pill);
            // The text half of the pill, clear of its symbol and rounded ends.
            const int cap = shown.box.height() / 2;
            const QRect text = shown.box.adjusted(shown.box.width() / 2, 2, -cap, -2);
            EXPECT_GE(inkContrast(shown.picture, text), 4.5) << pill->text().toStdString();
        }
        EXPECT_GT(badges, 0);
    }
}

}  // namespace
}  // namespace quorvane::testing
