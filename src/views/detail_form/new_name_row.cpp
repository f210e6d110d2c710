#include "views/detail_form/new_name_row.hpp"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "presentation/detail_form/new_entry_name.hpp"
#include "views/access/spoken_text.hpp"
#include "views/design/fit_to_width.hpp"
#include "views/design/keyed_rows.hpp"
#include "views/design/text_field.hpp"

namespace quorvane {

NewNameRow::NewNameRow(Theme& theme, std::string& name, const QString& placeholder,
                       const QString& buttonTitle, KeyedRows& list, std::function<void()> save,
                       QWidget* parent)
    : QWidget(parent),
      name_(name),
      field_(new TextField(theme)),
      save_(new QPushButton(buttonTitle)) {
    field_->setPlaceholderText(placeholder);
    setSpokenName(field_, placeholder);
    field_->setMinimumWidth(160);
    connect(field_, &QLineEdit::textEdited, this, [this, &list](const QString& text) {
        list.forgetNewRowFocus();
        name_ = text.toStdString();
        refresh(blocked_);
    });
    // A disabled button ignores the click: a blank name saves nothing.
    connect(field_, &QLineEdit::returnPressed, save_, &QAbstractButton::click);
    connect(save_, &QPushButton::clicked, this, [this, &list, save = std::move(save)] {
        list.focusNewRowFrom(this);
        save();
        refresh(blocked_);
    });
    auto* row = new FitToWidth(8, 8, this);
    row->addWidget(field_);
    row->addWidget(save_);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(row);
    refresh();
}

void NewNameRow::refresh(bool blocked) {
    blocked_ = blocked;
    const QString text = QString::fromStdString(name_);
    if (field_->text() != text)
        field_->setText(text);
    save_->setEnabled(!blocked && !NewEntryName::saveDisabled(name_));
}

}  // namespace quorvane
