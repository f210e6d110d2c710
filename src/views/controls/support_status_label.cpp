#include "views/controls/support_status_label.hpp"

#include <QHBoxLayout>

#include "presentation/controls/support_presentation.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"

namespace quorvane {

SupportStatusLabel::SupportStatusLabel(Theme& theme, QuorvaneSupportStatus status, bool iconOnly,
                                       QWidget* parent)
    : QWidget(parent), status_(status), symbol_(nullptr), text_(nullptr) {
    const SupportStatusLook look = SupportPresentation::statusLook(status);
    const QColor tint = theme.color(look.tint);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    symbol_ = new SymbolImage(look.symbol, this);
    symbol_->setColor(tint);
    row->addWidget(symbol_, 0, Qt::AlignTop);
    text_ = new WrappingLabel(QString::fromStdString(look.label), this);
    text_->setTextColor(tint);
    text_->setVisible(!iconOnly);
    row->addWidget(text_, 1);
    setAccessibleName(QString::fromStdString(look.label));
    // Never wider than its symbol and text: what follows it in a row keeps
    // its spacing from the text's right edge and takes the spare width.
    setSizePolicy(iconOnly ? QSizePolicy::Fixed : QSizePolicy::Maximum, QSizePolicy::Preferred);
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
