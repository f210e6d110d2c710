#include "views/import_sheet/import_mapping_notice_view.hpp"

#include <QHBoxLayout>

#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/qt_text.hpp"

namespace quorvane {

namespace {

// The gap between a label's symbol and its text.
constexpr int kSymbolSpacing = 6;

}  // namespace

ImportMappingNoticeView::ImportMappingNoticeView(Theme& theme, QWidget* parent)
    : QWidget(parent),
      theme_(theme),
      symbol_(new SymbolImage({}, this)),
      text_(new WrappingLabel({}, this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSymbolSpacing);
    // As tall as the text's line, the symbol at the top sits on its first line.
    row->addWidget(symbol_, 0, Qt::AlignTop);
    row->addWidget(text_, 1);
    connect(&theme_, &Theme::changed, this, &ImportMappingNoticeView::restyle);
    restyle();
}

void ImportMappingNoticeView::setNotice(const ImportMappingNotice& notice) {
    if (notice == notice_)
        return;
    notice_ = notice;
    symbol_->setSystemName(std::string(notice.symbol));
    text_->setText(toQString(notice.text));
    restyle();
}

void ImportMappingNoticeView::restyle() {
    const QFont font = theme_.font(QuorvaneFontStyle::caption);
    symbol_->setFont(font);
    text_->setFont(font);
    const QColor color = theme_.color(notice_.color);
    symbol_->setColor(color);
    text_->setTextColor(color);
}

}  // namespace quorvane
