#include "document/file_prompts.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

enum class PromptKind { Open, Save };

// The confirmed name, or an empty text when the user cancelled.
QString runPrompt(QWidget* owner, PromptKind kind) {
    QFileDialog dialog(owner, QString(), QString(), QStringLiteral("Tarvelion files (*.tvl)"));
    dialog.setDefaultSuffix(QStringLiteral("tvl"));
    if (kind == PromptKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile); // a new name may be typed; asked about below
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave); // asks before overwriting
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

// Opening a name that does not exist asks first whether to create it.
bool confirmNewFile(QWidget* owner, const QString& name) {
    if (QFileInfo::exists(name)) return true;
    const QString text = QStringLiteral("%1\nThis file does not exist.\nCreate the file?").arg(name);
    return QMessageBox::question(owner, QStringLiteral("Open"), text) == QMessageBox::Yes;
}

int prompt(QWidget* owner, PromptKind kind, PathText& path, PathText& title) {
    const QString name = runPrompt(owner, kind);
    if (name.isEmpty()) return 0;
    if (kind == PromptKind::Open && !confirmNewFile(owner, name)) return 0;
    return storeDocumentName(owner, name, path, title);
}

} // namespace

// The buffers hold 8-bit paths of at most 259 characters; a longer name would be cut into a
// different file's name, so it is refused instead.
int storeDocumentName(QWidget* owner, std::string_view name, PathText& path, PathText& title) {
    if (name.size() > PathText::capacity) {
        QMessageBox::warning(owner, QStringLiteral("Error"), QStringLiteral("File name too long"));
        return 0;
    }
    const std::size_t slash = name.rfind('/');
    path = name;
    title = slash == std::string_view::npos ? name : name.substr(slash + 1);
    return 1;
}

int storeDocumentName(QWidget* owner, const QString& name, PathText& path, PathText& title) {
    const QByteArray full = QFile::encodeName(name);
    return storeDocumentName(owner, std::string_view(full.constData(), static_cast<std::size_t>(full.size())),
                             path, title);
}

int openPrompt(QWidget* owner, PathText& path, PathText& title) {
    return prompt(owner, PromptKind::Open, path, title);
}

int savePrompt(QWidget* owner, PathText& path, PathText& title) {
    return prompt(owner, PromptKind::Save, path, title);
}
