#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace quorvane {

// Sorts names the way the user's language does, without regard to letter
// case: accented letters beside their base letters ("Éclair" before
// "zebra"), and each language's own rules where it has them (Swedish puts
// "ä" after "z"). Built on ICU's collation at secondary strength, so
// accents still tell two names apart where case does not.
class LocalizedTextOrder {
  public:
    // The collation of the locale named by the environment as the C library
    // reads it: LC_ALL, else LC_COLLATE, else LANG; the language-neutral
    // root collation where none names a language.
    static LocalizedTextOrder forUserLocale();
    // `localeName` as the environment spells it ("de_DE.UTF-8@euro"); "",
    // "C" and "POSIX" mean the root collation.
    explicit LocalizedTextOrder(std::string_view localeName);
    ~LocalizedTextOrder();
    LocalizedTextOrder(LocalizedTextOrder&&) noexcept;
    LocalizedTextOrder& operator=(LocalizedTextOrder&&) noexcept;

    // Whether `a` sorts before `b` (UTF-8 both).
    bool before(std::string_view a, std::string_view b) const;

  private:
    struct Collation;
    std::unique_ptr<Collation> collation_;
};

// The locale whose collation the environment asks for: the first of
// `lcAll`, `lcCollate` and `lang` that is set and not empty, without its
// encoding and modifier ("sv_SE.UTF-8" gives "sv_SE"); "" (root) for none,
// "C" or "POSIX". Null pointers count as unset.
std::string collationLocaleName(const char* lcAll, const char* lcCollate, const char* lang);

}  // namespace quorvane
