#include "views/detail_form/collection_rows.hpp"

#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>
#include <QWidget>

#include "views/access/accessible_role.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/theme.hpp"
#include "views/design/wrapping_label.hpp"
#include "views/detail_form/detail_labels.hpp"

namespace quorvane {

namespace {

const QString kNameLabel = QStringLiteral("collectionRowName");
const QString kCaptionLabel = QStringLiteral("collectionRowCaption");

}  // namespace

QWidget* makeCollectionRow(Theme& theme, const QString& name, const QString& caption,
                           QWidget* buttons, RowButtons kind) {
    auto* texts = new QWidget;
    auto* column = new QVBoxLayout(texts);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    auto* title = makeText(theme, name, QuorvaneFontStyle::body);
    title->setTextFormat(Qt::PlainText);
    title->setObjectName(kNameLabel);
    column->addWidget(title);
    auto* subtitle = makeCaption(theme, caption);
    subtitle->setObjectName(kCaptionLabel);
    column->addWidget(subtitle);

    if (kind == RowButtons::single) {
        auto* row = new QWidget;
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(8);
        layout->addWidget(texts, 1);
        layout->addWidget(buttons, 0, Qt::AlignVCenter);
        readAs(row, QAccessible::Grouping);
        setSpokenName(row, name);
        return row;
    }
    auto* row = new FitToWidth(8, 6);
    row->addWidget(texts);
    row->addStretch(8);
    row->addWidget(buttons);
    // A preset's or work mode's row: its buttons, grouped under its name.
    readAs(row, QAccessible::Grouping);
    setSpokenName(row, name);
    return row;
}

void setCollectionRowTexts(QWidget* row, const QString& name, const QString& caption) {
    auto* title = row->findChild<WrappingLabel*>(kNameLabel);
    auto* subtitle = row->findChild<WrappingLabel*>(kCaptionLabel);
    if (title && title->text() != name) {
        title->setText(name);
        setSpokenName(row, name);
    }
    if (subtitle && subtitle->text() != caption)
        subtitle->setText(caption);
}

void setDeleteMenu(QWidget* row, std::function<void()> requestDelete) {
    row->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(row, &QWidget::customContextMenuRequested, row,
                     [row, requestDelete = std::move(requestDelete)](const QPoint& at) {
                         // Not exec(): a nested loop could rebuild the page
                         // and delete the row under the open menu.
                         auto* menu = new QMenu(row);
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->addAction(QStringLiteral("삭제…"), requestDelete);
                         menu->popup(row->mapToGlobal(at));
                     });
}

void setDeletable(QWidget* row, bool deletable) {
    row->setContextMenuPolicy(deletable ? Qt::CustomContextMenu : Qt::PreventContextMenu);
}

}  // namespace quorvane
