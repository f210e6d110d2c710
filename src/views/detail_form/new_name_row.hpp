#pragma once

#include <functional>
#include <string>

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace quorvane {

class KeyedRows;
class Theme;

// The name field and save button under a collection page. The text lives
// in the main window's state (`name`), so it survives page changes; the
// button stays disabled while the text is blank (or `blocked` says so) and
// hands the store the text as typed. Return in the field presses the
// button while it is enabled, as a dialog's default button. After a save
// the focus stays on the page: in the field, then on the new entry's row of
// `list` as it shows.
class NewNameRow : public QWidget {
    Q_OBJECT

  public:
    NewNameRow(Theme& theme, std::string& name, const QString& placeholder,
               const QString& buttonTitle, KeyedRows& list, std::function<void()> save,
               QWidget* parent = nullptr);

    // Re-reads the name; `blocked` disables saving whatever the text.
    void refresh(bool blocked = false);

    QLineEdit* field() const { return field_; }
    QPushButton* saveButton() const { return save_; }

  private:
    std::string& name_;
    bool blocked_ = false;
    QLineEdit* field_;
    QPushButton* save_;
};

}  // namespace quorvane
