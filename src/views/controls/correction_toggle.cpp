#include "views/controls/correction_toggle.hpp"

#include <QCheckBox>
#include <QPainter>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "services/display_store/display_store.hpp"
#include "views/access/toggle_button_accessible.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/store_bridge.hpp"
#include "views/view_context.hpp"

namespace quorvane {

CorrectionToggle::CorrectionToggle(ViewContext& context, bool compact, QWidget* parent)
    : QWidget(parent),
      store_(context.store),
      theme_(context.theme),
      compact_(compact),
      toggle_(new QCheckBox(QStringLiteral("화면 색감 보정"), this)),
      state_(new WrappingLabel({}, this)) {
    auto* column = new QVBoxLayout(this);
    const int inset = compact ? 8 : 10;
    column->setContentsMargins(inset, inset, inset, inset);
    column->setSpacing(compact ? 4 : 6);
    column->addWidget(toggle_);
    // A screen reader's Toggle flips the setting, not only the box.
    readAsToggleButton(toggle_);
    column->addWidget(state_);
    state_->setSecondary(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setToolTip(QStringLiteral(
        "앱의 화면 색감/RGB 보정을 화면에 실제로 적용할지 정합니다. 꺼도 저장한 값은 지워지지 "
        "않습니다."));
    connect(toggle_, &QCheckBox::clicked, this, [this](bool checked) {
        store_.setSoftwareColorCorrectionEnabled(checked);
        refresh();
    });
    connect(&context.bridge, &StoreBridge::storeChanged, this, &CorrectionToggle::refresh);
    connect(&theme_, &Theme::changed, this, &CorrectionToggle::refresh);
    refresh();
}

QString CorrectionToggle::stateLine() const {
    return store_.softwareColorCorrectionEnabled()
               ? QStringLiteral("Quorvane 색감/RGB 보정이 화면에 적용됩니다.")
               : QStringLiteral(
                     "꺼져 있어도 슬라이더 값은 저장됩니다. 다시 켜면 저장한 값이 화면에 "
                     "보입니다.");
}

void CorrectionToggle::refresh() {
    {
        const QSignalBlocker blocker(toggle_);
        toggle_->setChecked(store_.softwareColorCorrectionEnabled());
    }
    toggle_->setFont(theme_.font(compact_ ? QuorvaneFontStyle::caption : QuorvaneFontStyle::body,
                                 QFont::DemiBold));
    state_->setText(stateLine());
    state_->setFont(
        theme_.font(compact_ ? QuorvaneFontStyle::caption2 : QuorvaneFontStyle::caption));
    update();
}

void CorrectionToggle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = theme_.scheme() == ColorScheme::dark;
    painter.setPen(QPen(theme_.color(ColorRole::surfaceBorder, 0.62), 1));
    painter.setBrush(theme_.color(ColorRole::track, dark ? 0.38 : 0.46));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
}

}  // namespace quorvane
