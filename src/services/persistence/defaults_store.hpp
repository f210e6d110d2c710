#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/interfaces/defaults_storing.hpp"

namespace quorvane {

// The user's defaults as one file per key, "<key>.json", in one folder
// (normally $XDG_CONFIG_HOME/quorvane). Every write goes to a new temporary
// file in the same folder which is synced and then renamed over the key's
// file, so a reader or a crash sees either the old bytes or the new ones,
// never a mix.
class FileDefaultsStore final : public DefaultsStoring {
  public:
    // Anything larger reads as absent rather than filling memory.
    static constexpr std::size_t kMaxValueSize = 16 * 1024 * 1024;

    // Called with the synced temporary file just before it replaces the key's
    // file; returning false fails the write there. Lets tests stop a write at
    // its most delicate point.
    using BeforeRenameHook = std::function<bool(const std::filesystem::path& temporaryFile)>;

    // An empty folder (no home known) reads nothing and refuses writes.
    explicit FileDefaultsStore(std::filesystem::path folder);

    // $XDG_CONFIG_HOME/quorvane when that is an absolute path, else
    // $HOME/.config/quorvane, else the account's home from the password
    // database; empty when none is known.
    static std::filesystem::path standardLocation();
    static std::filesystem::path standardLocation(std::optional<std::string_view> xdgConfigHome,
                                                  std::optional<std::string_view> home);

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path pathForKey(std::string_view key) const;

    std::optional<std::string> dataForKey(std::string_view key) const override;
    bool setData(std::string_view key, std::string_view bytes) override;
    bool removeKey(std::string_view key) override;

    void setBeforeRenameHook(BeforeRenameHook hook) { beforeRename_ = std::move(hook); }

  private:
    bool ensureFolder() const;
    bool syncFolder() const;

    std::filesystem::path folder_;
    BeforeRenameHook beforeRename_;
};

}  // namespace quorvane
