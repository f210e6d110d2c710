#pragma once

#include <memory>
#include <string>
#include <string_view>

struct pcre2_real_code_8;

namespace quorvane {

// A compiled PCRE2 pattern with Unicode semantics: `\d` is any decimal digit,
// `\s` any white space, and the subject is matched per scalar, so patterns
// behave the same on Korean or full-width text as on ASCII. A compiled
// pattern is immutable and may be shared between threads.
class RegularExpression {
  public:
    // Compiles `pattern`; a pattern that does not compile is a programming
    // error and throws std::invalid_argument with PCRE2's message.
    explicit RegularExpression(std::string_view pattern);

    // Every non-overlapping match, left to right, replaced by `replacement`,
    // in which "$1" inserts capture group 1. Invalid UTF-8 in `subject` is
    // first replaced by U+FFFD so the pass cannot fail.
    std::string replacingMatches(std::string_view subject, std::string_view replacement) const;

    // `text` with every pattern metacharacter escaped, for matching it literally.
    static std::string escapedPattern(std::string_view text);

  private:
    struct CodeDeleter {
        void operator()(pcre2_real_code_8* code) const;
    };
    std::unique_ptr<pcre2_real_code_8, CodeDeleter> code_;
};

}  // namespace quorvane
