#pragma once

#include <QWidget>

#include "presentation/import_sheet/settings_import_sheet_texts.hpp"

namespace quorvane {

class SymbolImage;
class Theme;
class WrappingLabel;

// A notice under the import sheet's display-mapping rows: its symbol before
// its wrapped text, both in the caption type and the notice's colour, the
// symbol centred on the text's first line. Only the text is heard; the
// symbol is a drawing without a name.
class ImportMappingNoticeView : public QWidget {
    Q_OBJECT

  public:
    explicit ImportMappingNoticeView(Theme& theme, QWidget* parent = nullptr);

    void setNotice(const ImportMappingNotice& notice);
    const ImportMappingNotice& notice() const { return notice_; }
    SymbolImage* symbol() const { return symbol_; }
    WrappingLabel* text() const { return text_; }

  private:
    void restyle();

    Theme& theme_;
    ImportMappingNotice notice_;
    SymbolImage* symbol_;
    WrappingLabel* text_;
};

}  // namespace quorvane
