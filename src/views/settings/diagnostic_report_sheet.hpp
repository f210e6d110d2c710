#pragma once

#include <QDialog>

#include "models/diagnostics/quorvane_diagnostic_report_preview.hpp"

class QPlainTextEdit;
class QPushButton;

namespace quorvane {

class Theme;

// The diagnostic report as it will leave the machine: its title and what it
// holds, the JSON itself (read-only, selectable, monospace) and "복사",
// "파일로 저장…" and "닫기". Copy and save are the window's, always of the
// prepared bytes, never of the text view; "닫기" and Escape both close.
class DiagnosticReportSheet : public QDialog {
    Q_OBJECT

  public:
    DiagnosticReportSheet(Theme& theme, const QuorvaneDiagnosticReportPreview& preview,
                          QWidget* parent = nullptr);

    const QuorvaneDiagnosticReportPreview& preview() const { return preview_; }
    QPlainTextEdit* reportText() const { return text_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* closeButton() const { return close_; }

  signals:
    void copyRequested();
    void saveRequested();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void restyle();
    void giveWayToButtons(int height);

    Theme& theme_;
    QuorvaneDiagnosticReportPreview preview_;
    QPlainTextEdit* text_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace quorvane
