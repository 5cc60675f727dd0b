#include "shell/dialog/file_chooser.h"

#include <QFileDialog>

namespace quorlane {

QString qtNameFilter(const ChooserFilter& filter) {
    const QStringList patterns = filter.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    return filter.description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

std::unique_ptr<QFileDialog> makeChooser(QWidget* owner, const QString& startFolder,
                                         const ChooserFilter& filter) {
    auto dialog = std::make_unique<QFileDialog>(owner, QStringLiteral("ﾌｧｲﾙを開く"), startFolder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The description already names the types; Qt would repeat the patterns after it.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    dialog->setNameFilter(qtNameFilter(filter));
    dialog->setWindowModality(Qt::WindowModal);
    return dialog;
}

std::optional<QString> chooseFile(QWidget* owner, const QString& startFolder,
                                  const ChooserFilter& filter) {
    const std::unique_ptr<QFileDialog> dialog = makeChooser(owner, startFolder, filter);
    if (dialog->exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog->selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
    return files.front();
}

}  // namespace quorlane
