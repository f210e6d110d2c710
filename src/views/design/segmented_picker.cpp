#include "views/design/segmented_picker.hpp"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>

#include "views/access/accessible_role.hpp"
#include "views/access/choice_tab_stop.hpp"
#include "views/access/spoken_text.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/text_baseline.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"

namespace quorvane {

namespace {

constexpr qreal kTrackRadius = 8;
constexpr qreal kSegmentRadius = 6;

// One segment: the chosen one stands out as a raised chip.
class Segment final : public QAbstractButton, public TextBaselined {
  public:
    Segment(Theme& theme, const QString& text, QWidget* parent)
        : QAbstractButton(parent), theme_(theme) {
        setText(text);
        setCheckable(true);
        readAsToggleButton(this);
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        connect(this, &QAbstractButton::toggled, this, [this] { update(); });
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(text()) + 20, metrics.height() + 8};
    }

    // The label is centred in the segment; a row aligned on the first text
    // baseline lines up with it.
    std::optional<int> firstBaseline(int) const override {
        return centredTextBaseline(font(), text(), sizeHint().height());
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        if (isChecked()) {
            // The accent edge marks the choice in either scheme, where
            // the fill alone is a faint shade apart from the track.
            painter.setPen(QPen(theme_.color(ColorRole::accent), 1));
            painter.setBrush(theme_.color(ColorRole::accentFill));
            painter.drawRoundedRect(frame, kSegmentRadius, kSegmentRadius);
        } else if (hasFocus()) {
            painter.setPen(QPen(theme_.color(ColorRole::accent, 0.5), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(frame, kSegmentRadius, kSegmentRadius);
        }
        painter.setPen(theme_.color(isChecked() ? ColorRole::ink : ColorRole::mutedInk));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

  private:
    Theme& theme_;
};

}  // namespace

SegmentedPicker::SegmentedPicker(Theme& theme, const std::vector<QString>& labels,
                                 const QString& accessibleName, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    // A group of choices, named by its title (which may not be on screen).
    readAs(this, QAccessible::Grouping);
    setSpokenName(this, accessibleName);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* segments = new QHBoxLayout(this);
    segments->setContentsMargins(2, 2, 2, 2);
    segments->setSpacing(2);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int index = 0; index < static_cast<int>(labels.size()); ++index) {
        auto* segment = new Segment(theme, labels[static_cast<std::size_t>(index)], this);
        group_->addButton(segment, index);
        segments->addWidget(segment);
    }
    connect(group_, &QButtonGroup::idClicked, this, &SegmentedPicker::picked);
    keepTabStopOnChoice(group_);
    followTheme(theme, this, [this] {
        for (QAbstractButton* segment : group_->buttons())
            segment->setFont(theme_.font(QuorvaneFontStyle::callout));
        update();
    });
}

int SegmentedPicker::selected() const {
    return group_->checkedId();
}

void SegmentedPicker::setSelected(int index) {
    if (auto* segment = group_->button(index); segment && !segment->isChecked())
        segment->setChecked(true);
}

QAbstractButton* SegmentedPicker::segment(int index) const {
    return group_->button(index);
}

int SegmentedPicker::count() const {
    return static_cast<int>(group_->buttons().size());
}

// The track behind the segments.
void SegmentedPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder), 1));
    painter.setBrush(theme_.color(ColorRole::track));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kTrackRadius,
                            kTrackRadius);
}

}  // namespace quorvane
