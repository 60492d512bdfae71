#include "dialogs.h"

#include <QColorDialog>
#include <QFileDialog>

// Qt's own file dialog for lyrics: it matches *.TXT in any letter case, where the desktop's
// dialogs would not.
std::optional<QString> QtDialogs::askLyricsFile(QWidget* parent, const QString& folder,
                                                const QString& file)
{
    QFileDialog dialog(parent, QString(), folder);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("*.txt (歌詞ﾃｷｽﾄ) (*.TXT)"));
    if (!file.isEmpty())
        dialog.selectFile(file);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtDialogs::askColor(QWidget* parent)
{
    const QColor chosen =
        QColorDialog::getColor(Qt::white, parent, QString(), QColorDialog::DontUseNativeDialog);
    return chosen.isValid() ? std::optional(chosen) : std::nullopt;
}

void QtDialogs::showModal(QDialog& window)
{
    window.exec();
}
