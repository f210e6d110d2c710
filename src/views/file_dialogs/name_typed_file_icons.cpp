#include "views/file_dialogs/name_typed_file_icons.hpp"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QMimeType>

namespace quorvane {

namespace {

class NameTypedIconProvider final : public QFileIconProvider {
  public:
    using QFileIconProvider::icon;

    QIcon icon(const QFileInfo& info) const override {
        if (info.isDir())
            return QFileIconProvider::icon(info);
        return QIcon::fromTheme(typeOf(info).iconName(), icon(File));
    }

    // Folders, links that lead nowhere and special files are told by their
    // kind, as Qt tells them; a file by its name.
    QString type(const QFileInfo& info) const override {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        const QMimeType type = typeOf(info);
        return type.comment().isEmpty() ? type.name() : type.comment();
    }

  private:
    QMimeType typeOf(const QFileInfo& info) const {
        return types_.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
    }

    QMimeDatabase types_;
};

// Made a child after the dialog's own file model, so deleted after it: the
// model asks the provider until it goes.
class IconProviderOwner final : public QObject {
  public:
    using QObject::QObject;
    NameTypedIconProvider provider;
};

constexpr char kOwnerName[] = "nameTypedFileIcons";

}  // namespace

void typeFilesByName(QFileDialog& dialog) {
    auto* owner = new IconProviderOwner(&dialog);
    owner->setObjectName(QLatin1String(kOwnerName));
    dialog.setIconProvider(&owner->provider);
}

QObject* fileIconsOf(const QFileDialog& dialog) {
    return dialog.findChild<QObject*>(QLatin1String(kOwnerName), Qt::FindDirectChildrenOnly);
}

}  // namespace quorvane
