#pragma once
// The open-file chooser of the settings dialog: Qt's own widget dialog, titled "ﾌｧｲﾙを開く",
// with one filter, a start folder, and a typed name accepted even when no such file exists.
#include <QString>
#include <memory>
#include <optional>

class QFileDialog;
class QWidget;

namespace quorlane {

// A filter as the dialog's design writes it: a description and patterns separated by ";".
// Names match the patterns without regard to case.
struct ChooserFilter {
    QString description;
    QString patterns;
};

// Qt's form of the filter: "description (pattern pattern)".
QString qtNameFilter(const ChooserFilter& filter);

// The chooser, set up but not yet shown.
std::unique_ptr<QFileDialog> makeChooser(QWidget* owner, const QString& startFolder,
                                         const ChooserFilter& filter);

// The chosen path, or nothing when the user cancelled.
std::optional<QString> chooseFile(QWidget* owner, const QString& startFolder,
                                  const ChooserFilter& filter);

}  // namespace quorlane
