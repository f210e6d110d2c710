#include "views/detail_form/profile_section_view.hpp"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "views/access/spoken_text.hpp"
#include "views/design/chip_button.hpp"
#include "views/design/eliding_picker.hpp"
#include "views/design/keyed_rows.hpp"
#include "views/design/symbol_image.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"
#include "views/detail_form/form_rows.hpp"

namespace quorvane {

namespace {

// One profile of the display: its name, the current mark when it is the
// one in use, and its summary.
class ProfileRowView : public QWidget {
  public:
    explicit ProfileRowView(Theme& theme) {
        auto* itemColumn = new QVBoxLayout(this);
        itemColumn->setContentsMargins(0, 2, 0, 2);
        itemColumn->setSpacing(2);
        auto* top = new QHBoxLayout;
        name_ = makeText(theme, QString(), QuorvaneFontStyle::body);
        top->addWidget(name_, 1);
        current_ = makeCurrentMark(theme);
        top->addWidget(current_);
        itemColumn->addLayout(top);
        summary_ = makeCaption(theme, QString());
        itemColumn->addWidget(summary_);
    }

    void show(const ProfileSection::ProfileRow& row) {
        setToolTip(qText(row.tooltip));
        name_->setText(qText(row.name));
        current_->setVisible(row.isCurrent);
        summary_->setText(qText(row.summary));
    }

  private:
    WrappingLabel* name_ = nullptr;
    QWidget* current_ = nullptr;
    WrappingLabel* summary_ = nullptr;
};

}  // namespace

ProfileSectionView::ProfileSectionView(DetailFormContext& context, QWidget* parent)
    : DetailPage(parent), context_(context) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    auto* intro = makeCaption(context.theme, ProfileSection::kIntro);
    intro->setToolTip(ProfileSection::kIntroHelp);
    column->addWidget(intro);
    body_ = new QVBoxLayout;
    body_->setSpacing(12);
    column->addLayout(body_);
}

ProfileSectionView::~ProfileSectionView() = default;

void ProfileSectionView::refresh(const DisplaySnapshot& display) {
    display_ = display;
    const auto model =
        ProfileSection::make(context_.store, display, context_.state.detailFormDrafts);
    if (shown_ && *shown_ == model)
        return;
    // Each body is built once and changed in place, so a button the user
    // pressed (an apply confirmed, a refresh) keeps the focus.
    if (model.available) {
        if (!available_)
            buildAvailable();
        showAvailable(model);
    } else {
        if (!unavailable_)
            buildUnavailable();
        const QString description = qText(model.unavailableDescription);
        if (!shown_ || shown_->unavailableDescription != model.unavailableDescription) {
            clearLayout(unavailableNote_);
            unavailableNote_->addWidget(makeUnavailableContent(context_.theme, "camera.filters",
                                                               ProfileSection::kNoInformationTitle,
                                                               description));
        }
    }
    showBody(model.available);
    shown_ = model;
}

// Switching bodies hands the focus from one's refresh button to the other's
// before the first one hides.
void ProfileSectionView::showBody(bool available) {
    QWidget* shown = available ? available_ : unavailable_;
    QWidget* hidden = available ? unavailable_ : available_;
    if (hidden && !hidden->isHidden()) {
        QWidget* focus = window()->focusWidget();
        if (focus && hidden->isAncestorOf(focus)) {
            shown->show();
            (available ? availableRefresh_ : unavailableRefresh_)->setFocus(Qt::OtherFocusReason);
        }
        hidden->hide();
    }
    shown->show();
}

void ProfileSectionView::buildUnavailable() {
    Theme& theme = context_.theme;
    unavailable_ = new QWidget;
    auto* column = new QVBoxLayout(unavailable_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    unavailableNote_ = new QVBoxLayout;
    column->addLayout(unavailableNote_);
    auto* refresh = new ChipButton(theme, QStringLiteral("프로파일 정보 새로고침"),
                                   QuorvaneChipProminence::neutral);
    connect(refresh, &QAbstractButton::clicked, this, [this] {
        if (display_)
            ProfileSection::refreshWithoutInformation(context_.store, display_->id);
    });
    column->addWidget(refresh, 0, Qt::AlignHCenter);
    unavailableRefresh_ = refresh;
    body_->addWidget(unavailable_);
}

void ProfileSectionView::buildAvailable() {
    Theme& theme = context_.theme;
    available_ = new QWidget;
    auto* column = new QVBoxLayout(available_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    auto* value = new QWidget;
    auto* valueColumn = new QVBoxLayout(value);
    valueColumn->setContentsMargins(0, 0, 0, 0);
    valueColumn->setSpacing(2);
    currentName_ = makeText(theme, QString(), QuorvaneFontStyle::body);
    currentName_->setAlignment(Qt::AlignRight);
    valueColumn->addWidget(currentName_);
    currentBadges_ = makeCaption(theme, QString());
    currentBadges_->setAlignment(Qt::AlignRight);
    valueColumn->addWidget(currentBadges_);
    currentRow_ = makeLabeledRow(theme, QStringLiteral("현재 프로파일"), value);
    column->addWidget(currentRow_);

    picker_ = new ElidingPicker;
    picker_->setToolTip(ProfileSection::kPickerHelp);
    setSpokenName(picker_, QStringLiteral("프로파일 선택"));
    // Long profile names must not widen the page; the list shows them whole.
    picker_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    picker_->setMinimumContentsLength(14);
    connect(picker_, &QComboBox::activated, this, [this](int index) {
        if (!display_ || index < 0)
            return;
        ProfileSection::pick(context_.state.detailFormDrafts, display_->id,
                             picker_->itemData(index).toString().toStdString());
        emit draftsChanged();
    });
    column->addWidget(makeLabeledRow(theme, QStringLiteral("프로파일 선택"), picker_));

    applyButton_ = new QPushButton(QStringLiteral("선택한 프로파일 적용…"));
    applyButton_->setToolTip(ProfileSection::kApplyHelp);
    cancelButton_ = new QPushButton(QStringLiteral("선택 취소"));
    connect(applyButton_, &QPushButton::clicked, this, [this] {
        if (display_)
            ProfileSection::requestApply(context_.store, context_.state.detailFormDrafts,
                                         context_.confirmations, *display_);
    });
    connect(cancelButton_, &QPushButton::clicked, this, [this] {
        if (!display_)
            return;
        ProfileSection::cancelPick(context_.state.detailFormDrafts, display_->id);
        emit draftsChanged();
    });
    column->addWidget(makeButtonRow({applyButton_, cancelButton_}));

    auto* rows = new QVBoxLayout;
    rows->setSpacing(12);
    column->addLayout(rows);
    rows_ = std::make_unique<KeyedRows>(rows);

    auto* refresh = new QPushButton(QStringLiteral("프로파일 정보 새로고침"));
    connect(refresh, &QPushButton::clicked, this, [this] {
        if (!display_)
            return;
        ProfileSection::refresh(context_.store, context_.state.detailFormDrafts, display_->id);
        emit draftsChanged();
    });
    availableRefresh_ = refresh;
    restoreButton_ = new QPushButton(QStringLiteral("기본/공장 프로파일로 복원…"));
    restoreButton_->setToolTip(ProfileSection::kRestoreHelp);
    connect(restoreButton_, &QPushButton::clicked, this, [this] {
        if (display_)
            ProfileSection::requestRestore(context_.store, context_.state.detailFormDrafts,
                                           context_.confirmations, *display_);
    });
    column->addWidget(makeButtonRow({refresh, restoreButton_}));
    body_->addWidget(available_);
}

void ProfileSectionView::showAvailable(const ProfileSection& model) {
    currentRow_->setVisible(model.currentProfile.has_value());
    if (model.currentProfile) {
        currentName_->setText(qText(model.currentProfile->name));
        currentBadges_->setVisible(model.currentProfile->badges.has_value());
        currentBadges_->setText(qText(model.currentProfile->badges.value_or("")));
    }
    if (!shown_ || !shown_->available || shown_->options != model.options) {
        const QSignalBlocker quiet(picker_);
        picker_->clear();
        for (const auto& option : model.options)
            picker_->addItem(qText(option.name), qText(option.id));
    }
    const int index = picker_->findData(qText(model.candidate));
    if (picker_->currentIndex() != index)
        picker_->setCurrentIndex(index);
    applyButton_->setEnabled(!model.applyDisabled);
    cancelButton_->setEnabled(!model.cancelDisabled);
    restoreButton_->setEnabled(!model.restoreDisabled);

    // A profile's row by its name: the current mark moves in place.
    std::vector<std::string> names;
    for (const auto& row : model.rows)
        names.push_back(row.name);
    const auto& rows = model.rows;
    rows_->show(
        names,
        [this, &rows](std::size_t index) {
            auto* item = new ProfileRowView(context_.theme);
            item->show(rows[index]);
            return item;
        },
        [&rows](QWidget* item, std::size_t index) {
            static_cast<ProfileRowView*>(item)->show(rows[index]);
        });
}

}  // namespace quorvane
