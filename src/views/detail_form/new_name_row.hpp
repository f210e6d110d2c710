#pragma once

#include <functional>
#include <string>

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace quorvane {

class Theme;

// The name field and save button under a collection page. The text lives
// in the main window's state (`name`), so it survives page changes; the
// button stays disabled while the text is blank (or `blocked` says so) and
// hands the store the text as typed.
class NewNameRow : public QWidget {
    Q_OBJECT

  public:
    NewNameRow(Theme& theme, std::string& name, const QString& placeholder,
               const QString& buttonTitle, std::function<void()> save, QWidget* parent = nullptr);

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
