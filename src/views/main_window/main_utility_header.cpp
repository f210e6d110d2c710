#include "views/main_window/main_utility_header.hpp"
#include "views/access/opening_focus.hpp"
#include "views/design/symbol_side.hpp"

#include <QHBoxLayout>
#include <QPainter>

#include "presentation/main_window/main_window_texts.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/symbol_table.hpp"
#include "views/design/theme.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

HeaderIconButton::HeaderIconButton(Theme& theme, std::string symbol, double symbolPoints,
                                   QWidget* parent)
    : QAbstractButton(parent),
      theme_(theme),
      symbol_(std::move(symbol)),
      symbolPoints_(symbolPoints) {
    setFixedSize(28, 28);
    setCursor(Qt::PointingHandCursor);
    connect(&theme_, &Theme::changed, this, qOverload<>(&QWidget::update));
}

void HeaderIconButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void HeaderIconButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void HeaderIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (isDown() || hovered_ || hasFocus()) {
        painter.setPen(hasFocus() ? QPen(theme_.color(ColorRole::accent, 0.6), 1) : Qt::NoPen);
        painter.setBrush(theme_.color(ColorRole::accentFill, isDown() ? 0.9 : 0.55));
        painter.drawEllipse(circle);
    }
    const double side = symbolSide(symbolPoints_);
    const QRectF square((width() - side) / 2, (height() - side) / 2, side, side);
    paintSymbol(painter, square, symbol_, theme_.color(ColorRole::primary, isEnabled() ? 1 : 0.4));
}

MainUtilityHeader::MainUtilityHeader(Theme& theme, std::function<void()> rescan,
                                     std::function<void()> openSettings,
                                     std::function<void()> openPanel, QWidget* parent)
    : QWidget(parent) {
    namespace texts = main_window_texts;
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(18, 10, 18, 8);
    row->addSpacing(12);
    row->addStretch(1);
    controls_ = new QHBoxLayout;
    controls_->setSpacing(10);
    panel_ = new HeaderIconButton(theme, std::string(texts::kPanelSymbol), 15, this);
    setSpokenName(panel_, toQString(texts::kPanelLabel));
    panel_->setToolTip(toQString(texts::kPanelHelp));
    panel_->hide();
    connect(panel_, &QAbstractButton::clicked, this, [openPanel] { openPanel(); });
    setKeyEffect(panel_, KeyEffect::opensWindow);
    rescan_ = new HeaderIconButton(theme, std::string(texts::kRescanSymbol), 15, this);
    setSpokenName(rescan_, toQString(texts::kRescanLabel));
    rescan_->setToolTip(toQString(texts::kRescanHelp));
    connect(rescan_, &QAbstractButton::clicked, this, [rescan] { rescan(); });
    settings_ = new HeaderIconButton(theme, std::string(texts::kSettingsSymbol), 14, this);
    setSpokenName(settings_, toQString(texts::kSettingsLabel));
    settings_->setToolTip(toQString(texts::kSettingsHelp));
    connect(settings_, &QAbstractButton::clicked, this, [openSettings] { openSettings(); });
    setKeyEffect(settings_, KeyEffect::opensWindow);
    controls_->addWidget(panel_);
    controls_->addWidget(rescan_);
    controls_->addWidget(settings_);
    row->addLayout(controls_);
}

// After the panel's control: the switcher keeps its place whether the
// control shows or not.
void MainUtilityHeader::setAppearanceSwitcher(QWidget* switcher) {
    switcher->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    controls_->insertWidget(controls_->indexOf(panel_) + 1, switcher, 0, Qt::AlignVCenter);
}

}  // namespace quorvane
