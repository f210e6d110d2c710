#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "services/diagnostics/regular_expression.hpp"

namespace quorvane {

// Finds paths inside users' home folders in free text so a diagnostic report
// never names a user: "/Users/<name>/…" as other systems write them,
// "/home/<name>/…", "/root" and everything below it, and the running user's
// own home folder wherever it lives. A path runs up to the first white space,
// comma, semicolon or colon; the user's own home folder is matched literally
// first, so one that contains a blank is still taken whole.
class HomeFolderPathRedactor {
  public:
    static constexpr std::string_view kReplacement = "[redacted-path]";

    // `homeFolder` is the running user's home folder; absent, relative or
    // the root folder adds nothing to the generic patterns.
    explicit HomeFolderPathRedactor(std::optional<std::string> homeFolder);

    // The redactor for this process's user: $HOME, or the password
    // database's home folder when $HOME is unset. Read once.
    static const HomeFolderPathRedactor& forCurrentUser();

    std::string redactingPaths(std::string_view text) const;

  private:
    RegularExpression pattern_;
};

}  // namespace quorvane
