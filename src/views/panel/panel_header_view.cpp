#include "views/panel/panel_header_view.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>

namespace quorvane {

PanelHeaderView::PanelHeaderView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 12);
    layout->setSpacing(10);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    title_ = new QLabel(this);
    title_->setWordWrap(true);
    subtitle_ = new QLabel(this);
    subtitle_->setWordWrap(true);
    texts->addWidget(title_);
    texts->addWidget(subtitle_);
    layout->addLayout(texts, 1);
    layout->addSpacing(8);

    picker_ = new QToolButton(this);
    picker_->setText(QStringLiteral("다른 화면"));
    picker_->setToolTip(QStringLiteral("다른 디스플레이 선택"));
    picker_->setPopupMode(QToolButton::InstantPopup);
    pickerMenu_ = new QMenu(picker_);
    picker_->setMenu(pickerMenu_);
    layout->addWidget(picker_);

    options_ = new QToolButton(this);
    options_->setText(QStringLiteral("…"));
    options_->setToolTip(QStringLiteral("메뉴 옵션"));
    options_->setAccessibleName(QStringLiteral("메뉴 옵션"));
    options_->setPopupMode(QToolButton::InstantPopup);
    optionsMenu_ = new QMenu(options_);
    options_->setMenu(optionsMenu_);
    layout->addWidget(options_);
}

void PanelHeaderView::setHeader(const PanelHeader& header,
                                const std::vector<PanelDisplayPickerItem>& displays,
                                const std::vector<PanelTextSizeItem>& textSizes) {
    title_->setText(QString::fromStdString(header.title));
    subtitle_->setText(QString::fromStdString(header.subtitle));
    picker_->setVisible(header.showsDisplayPicker);
    if (displays != shownDisplays_)
        fillPicker(displays);
    if (textSizes != shownTextSizes_)
        fillOptions(textSizes);
}

void PanelHeaderView::fillPicker(const std::vector<PanelDisplayPickerItem>& displays) {
    shownDisplays_ = displays;
    pickerMenu_->clear();
    for (const PanelDisplayPickerItem& item : displays) {
        QAction* action = pickerMenu_->addAction(QString::fromStdString(item.title));
        action->setCheckable(true);
        action->setChecked(item.checked);
        const DisplayID id = item.id;
        connect(action, &QAction::triggered, this, [this, id] { emit displayChosen(id); });
    }
}

void PanelHeaderView::fillOptions(const std::vector<PanelTextSizeItem>& textSizes) {
    shownTextSizes_ = textSizes;
    optionsMenu_->clear();
    QAction* rescan = optionsMenu_->addAction(QStringLiteral("디스플레이 다시 검색"));
    connect(rescan, &QAction::triggered, this, &PanelHeaderView::rescanRequested);
    optionsMenu_->addSeparator();
    optionsMenu_->setToolTipsVisible(true);
    for (const PanelTextSizeItem& item : textSizes) {
        QAction* action = optionsMenu_->addAction(QString::fromStdString(item.title));
        action->setToolTip(QString::fromStdString(item.helpText));
        action->setCheckable(true);
        action->setChecked(item.checked);
        const QuorvaneTextSize size = item.size;
        connect(action, &QAction::triggered, this, [this, size] { emit textSizeChosen(size); });
    }
}

}  // namespace quorvane
