#include "views/controls/support_status_label.hpp"

#include <QHBoxLayout>

#include "presentation/controls/support_presentation.hpp"
#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/theme_follow.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

SupportStatusLabel::SupportStatusLabel(Theme& theme, QuorvaneSupportStatus status, bool iconOnly,
                                       QWidget* parent)
    : QWidget(parent), theme_(theme), status_(status), symbol_(nullptr), text_(nullptr) {
    readAs(this, QAccessible::StaticText);
    const SupportStatusLook look = SupportPresentation::statusLook(status);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    symbol_ = new SymbolImage(look.symbol, this);
    row->addWidget(symbol_, 0, Qt::AlignTop);
    text_ = new WrappingLabel(QString::fromStdString(look.label), this);
    text_->setVisible(!iconOnly);
    row->addWidget(text_, 1);
    setSpokenName(this, QString::fromStdString(look.label));
    // Never wider than its symbol and text: what follows it in a row keeps
    // its spacing from the text's right edge and takes the spare width.
    setSizePolicy(iconOnly ? QSizePolicy::Fixed : QSizePolicy::Maximum, QSizePolicy::Preferred);
    // The tint is the scheme's: looked up again after every theme change.
    followTheme(theme, this, [this] { tint(); });
}

void SupportStatusLabel::setStatus(QuorvaneSupportStatus status) {
    if (status == status_)
        return;
    status_ = status;
    const SupportStatusLook look = SupportPresentation::statusLook(status);
    symbol_->setSystemName(look.symbol);
    text_->setText(QString::fromStdString(look.label));
    setSpokenName(this, QString::fromStdString(look.label));
    tint();
}

void SupportStatusLabel::tint() {
    const QColor color = theme_.color(SupportPresentation::statusLook(status_).tint);
    symbol_->setColor(color);
    text_->setTextColor(color);
}

void SupportStatusLabel::setLabelFont(const QFont& font) {
    symbol_->setFont(font);
    text_->setFont(font);
}

QString SupportStatusLabel::labelText() const {
    return text_->text();
}

std::string SupportStatusLabel::symbolName() const {
    return symbol_->systemName();
}

}  // namespace quorvane
