#include "views/controls/ddc_badge_view.hpp"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "presentation/controls/ddc_badge_presentation.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/busy_spinner.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

DDCBadgeView::DDCBadgeView(Theme& theme, bool showDetail, QWidget* parent)
    : QWidget(parent),
      theme_(theme),
      showDetail_(showDetail),
      spinner_(new BusySpinner(this)),
      symbol_(new SymbolImage({}, this)),
      title_(new QLabel(this)),
      detail_(new WrappingLabel({}, this)) {
    setSpokenName(spinner_, QStringLiteral("확인 중"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(spinner_, 0, Qt::AlignVCenter);
    row->addWidget(symbol_, 0, Qt::AlignVCenter);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(title_);
    column->addWidget(detail_);
    row->addLayout(column, 1);
    detail_->setSecondary(true);
    connect(&theme_, &Theme::changed, this, &DDCBadgeView::restyle);
    setBadge(badge_);
}

bool DDCBadgeView::showsSpinner() const {
    return spinsWhileChecking_ && DDCBadgePresentation::showsSpinner(badge_);
}

void DDCBadgeView::setSpinsWhileChecking(bool spins) {
    spinsWhileChecking_ = spins;
    setBadge(badge_);
}

bool DDCBadgeView::showsDetail() const {
    return DDCBadgePresentation::shownDetail(badge_, showDetail_).has_value();
}

void DDCBadgeView::setBadge(const DDCCapabilityBadge& badge) {
    badge_ = badge;
    title_->setText(QString::fromStdString(badge.title));
    symbol_->setSystemName(badge.systemImage);
    const auto detail = DDCBadgePresentation::shownDetail(badge, showDetail_);
    detail_->setText(QString::fromStdString(detail.value_or("")));
    detail_->setVisible(detail.has_value());
    spinner_->setVisible(showsSpinner());
    symbol_->setVisible(!showsSpinner());
    restyle();
}

void DDCBadgeView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        title_->setFont(font());
        symbol_->setFont(font());
        spinner_->setFont(font());
    }
    QWidget::changeEvent(event);
}

void DDCBadgeView::restyle() {
    const QColor tone = theme_.color(DDCBadgePresentation::toneColor(badge_.tone));
    symbol_->setColor(tone);
    spinner_->setColor(tone);
    QPalette palette = title_->palette();
    palette.setColor(QPalette::WindowText, tone);
    title_->setPalette(palette);
    detail_->setFont(theme_.font(QuorvaneFontStyle::caption));
}

}  // namespace quorvane
