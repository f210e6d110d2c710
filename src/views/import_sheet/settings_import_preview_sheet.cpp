#include "views/import_sheet/settings_import_preview_sheet.hpp"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/persistence/quorvane_change_plan_builder.hpp"

namespace quorvane {

SettingsImportPreviewSheet::SettingsImportPreviewSheet(ViewContext& context,
                                                       QuorvaneSettingsImportDraft draft,
                                                       QWidget* parent)
    : QDialog(parent), context_(context), draft_(std::move(draft)) {
    setWindowTitle(QStringLiteral("설정 가져오기 미리보기"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(12);
    auto* title = new QLabel(QStringLiteral("설정 가져오기 미리보기"), this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);
    column->addWidget(title);
    auto* summary =
        new QLabel(QString::fromStdString(QuorvaneChangePlanBuilder::settingsImportSummary(
                       draft_, QuorvaneSettingsImportMode::fullWithDisplayMapping, mappings())),
                   this);
    summary->setWordWrap(true);
    column->addWidget(summary);
    column->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    cancel_ = buttons->addButton(QStringLiteral("취소"), QDialogButtonBox::RejectRole);
    import_ = buttons->addButton(QStringLiteral("가져오기"), QDialogButtonBox::AcceptRole);
    import_->setDefault(true);
    column->addWidget(buttons);
    // The buttons report first and close afterwards, so the window knows a
    // cancel from a dismissal.
    connect(cancel_, &QPushButton::clicked, this, [this] {
        emit cancelRequested();
        done(QDialog::Rejected);
    });
    connect(import_, &QPushButton::clicked, this, [this] {
        emit importConfirmed(QuorvaneSettingsImportMode::fullWithDisplayMapping, mappings(), false);
        done(QDialog::Accepted);
    });
    setMinimumWidth(520);
    context_.theme.applyToWindow(this);
}

std::vector<QuorvaneSettingsImportDisplayMapping> SettingsImportPreviewSheet::mappings() const {
    return QuorvaneSettingsImportDisplayMapping::defaultMappings(draft_, context_.store.displays());
}

}  // namespace quorvane
