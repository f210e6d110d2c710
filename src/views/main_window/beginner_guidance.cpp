#include "views/main_window/beginner_guidance.hpp"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "presentation/design/text_size_table.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/surface_panel.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

namespace {

constexpr TextSizeTable<int> kBadgeWidth{{44, 44, 44, 56}};
constexpr int kBadgeMinimumHeight = 28;
constexpr int kStepVerticalPadding = 6;
constexpr int kStackedBadgeSpacing = 10;

}  // namespace

BeginnerCallout::BeginnerCallout(Theme& theme, const QString& title, const QString& message,
                                 QWidget* parent)
    : QWidget(parent), theme_(theme) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 6, 0, 6);
    row->setSpacing(8);
    shield_ = new SymbolImage("checkmark.shield", this);
    row->addWidget(shield_, 0, Qt::AlignTop);
    auto* copy = new QVBoxLayout;
    copy->setSpacing(6);
    title_ = new WrappingLabel(title, this);
    message_ = new WrappingLabel(message, this);
    message_->setSecondary(true);
    copy->addWidget(title_);
    copy->addWidget(message_);
    row->addLayout(copy, 1);
    connect(&theme_, &Theme::changed, this, &BeginnerCallout::restyle);
    restyle();
}

void BeginnerCallout::restyle() {
    title_->setFont(theme_.font(QuorvaneFontStyle::subheadline, QFont::DemiBold));
    message_->setFont(theme_.font(QuorvaneFontStyle::caption));
    // The shield takes the surrounding text size, not the title's.
    shield_->setFont(theme_.baseFont());
    shield_->setColor(theme_.color(ColorRole::accent));
}

StepNumberBadge::StepNumberBadge(Theme& theme, const QString& number, QWidget* parent)
    : QLabel(number, parent), theme_(theme) {
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    connect(&theme_, &Theme::changed, this, &StepNumberBadge::restyle);
    restyle();
}

void StepNumberBadge::restyle() {
    setFont(theme_.font(QuorvaneFontStyle::caption, QFont::DemiBold));
    setFixedWidth(kBadgeWidth[theme_.textSize()]);
    setMinimumHeight(kBadgeMinimumHeight);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, theme_.color(ColorRole::ink));
    setPalette(colours);
}

void StepNumberBadge::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = theme_.scheme() == ColorScheme::dark;
    painter.setPen(Qt::NoPen);
    painter.setBrush(theme_.color(ColorRole::accentFill, dark ? 0.7 : 0.82));
    const qreal radius = std::min(width(), height()) / 2.0;
    painter.drawRoundedRect(rect(), radius, radius);
    painter.end();
    QLabel::paintEvent(event);
}

BeginnerStepRow::BeginnerStepRow(Theme& theme, const QString& number, const QString& title,
                                 const QString& detail, const QString& buttonTitle,
                                 std::function<void()> action, QWidget* parent)
    : QWidget(parent), theme_(theme) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* panel = new SurfacePanel(theme_, SurfacePanel::Kind::soft, 12, 16, this);
    outer->addWidget(panel);
    // The step keeps 6 more points above and below inside its card.
    auto* inside = new QVBoxLayout(panel);
    inside->setContentsMargins(0, kStepVerticalPadding, 0, kStepVerticalPadding);

    fit_ = new FitToWidth(12, 8, panel);
    fit_->setRowAlignment(Qt::AlignTop);
    // Stacked, the badge and the copy share the first line, 10 points apart
    // and top-aligned like the wide row.
    fit_->setSharedLineLook(kStackedBadgeSpacing, Qt::AlignTop);
    auto* badge = new StepNumberBadge(theme_, number, fit_);
    auto* copy = new QWidget(fit_);
    auto* copyColumn = new QVBoxLayout(copy);
    copyColumn->setContentsMargins(0, 0, 0, 0);
    copyColumn->setSpacing(5);
    title_ = new WrappingLabel(title, copy);
    detail_ = new WrappingLabel(detail, copy);
    detail_->setSecondary(true);
    copyColumn->addWidget(title_);
    copyColumn->addWidget(detail_);
    button_ = new ChipButton(theme_, buttonTitle, QuorvaneChipProminence::accent, fit_);
    connect(button_, &QAbstractButton::clicked, this, [action = std::move(action)] {
        if (action)
            action();
    });
    fit_->addWidget(badge, 0);
    fit_->addWidget(copy, 0);
    fit_->addStretch(12);
    fit_->addWidget(button_);
    inside->addWidget(fit_);
    connect(&theme_, &Theme::changed, this, &BeginnerStepRow::restyle);
    restyle();
}

void BeginnerStepRow::restyle() {
    title_->setFont(theme_.font(QuorvaneFontStyle::body));
    detail_->setFont(theme_.font(QuorvaneFontStyle::caption));
}

}  // namespace quorvane
