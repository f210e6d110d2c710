#include "views/controls/settings_segmented_picker.hpp"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <algorithm>

#include "views/access/accessible_role.hpp"
#include "views/access/choice_tab_stop.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/text_baseline.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"

namespace quorvane {

namespace {

constexpr int kHorizontalPadding = 10;
constexpr int kVerticalPadding = 3;

// One segment: the chosen one sits on the accent fill in bold ink, the
// others on the card surface; neighbours share their border line.
class Segment final : public QAbstractButton, public TextBaselined {
  public:
    Segment(Theme& theme, const QString& text, bool first, QWidget* parent)
        : QAbstractButton(parent), theme_(theme), first_(first) {
        setText(text);
        setCheckable(true);
        readAsToggleButton(this);
        setFocusPolicy(Qt::StrongFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        followTheme(theme, this, [this] {
            setFont(theme_.font(QuorvaneFontStyle::callout));
            updateGeometry();
            update();
        });
        connect(this, &QAbstractButton::toggled, this, [this] { update(); });
    }

    QSize sizeHint() const override {
        QFont bold = font();
        bold.setWeight(QFont::DemiBold);
        const QFontMetrics metrics(bold);
        const int height = std::max(metrics.height() + 2 * kVerticalPadding + 2,
                                    theme_.accessibleButtonMinHeight() - 6);
        return {metrics.horizontalAdvance(text()) + 2 * kHorizontalPadding + 2, height};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The label is centred in the segment; a row aligned on the first text
    // baseline lines up with it.
    std::optional<int> firstBaseline(int) const override {
        return centredTextBaseline(font(), text(), sizeHint().height());
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const bool chosen = isChecked();
        painter.fillRect(rect(), theme_.color(chosen ? ColorRole::accentFill : ColorRole::surface));
        painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder), 1));
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.drawLine(frame.topLeft(), frame.topRight());
        painter.drawLine(frame.bottomLeft(), frame.bottomRight());
        painter.drawLine(frame.topRight(), frame.bottomRight());
        if (first_)
            painter.drawLine(frame.topLeft(), frame.bottomLeft());
        if (hasFocus()) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(theme_.color(ColorRole::accent, 0.9), 2));
            painter.drawRect(frame.adjusted(1, 1, -1, -1));
        }
        QFont label = font();
        if (chosen)
            label.setWeight(QFont::DemiBold);
        painter.setFont(label);
        // The chosen label in ink, as on every accent fill: the accent itself
        // reads under 4.5:1 on its own fill in either scheme.
        painter.setPen(theme_.color(chosen ? ColorRole::ink : ColorRole::primary));
        painter.drawText(rect().adjusted(kHorizontalPadding, 0, -kHorizontalPadding, 0),
                         Qt::AlignCenter, text());
    }

  private:
    Theme& theme_;
    bool first_;
};

}  // namespace

SettingsSegmentedPicker::SettingsSegmentedPicker(Theme& theme, const std::vector<QString>& labels,
                                                 const QString& accessibleName, QWidget* parent)
    : QWidget(parent) {
    // A group of choices, named by its title (which may not be on screen).
    readAs(this, QAccessible::Grouping);
    setSpokenName(this, accessibleName);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int index = 0; index < static_cast<int>(labels.size()); ++index) {
        auto* segment =
            new Segment(theme, labels[static_cast<std::size_t>(index)], index == 0, this);
        group_->addButton(segment, index);
        row->addWidget(segment);
    }
    connect(group_, &QButtonGroup::idClicked, this, &SettingsSegmentedPicker::picked);
    keepTabStopOnChoice(group_);
}

int SettingsSegmentedPicker::selected() const {
    return group_->checkedId();
}

void SettingsSegmentedPicker::setSelected(int index) {
    if (auto* segment = group_->button(index))
        segment->setChecked(true);
}

QAbstractButton* SettingsSegmentedPicker::segment(int index) const {
    return group_->button(index);
}

}  // namespace quorvane
