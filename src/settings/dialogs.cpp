#include "dialogs.h"

#include <QColorDialog>
#include <QFileDialog>

std::unique_ptr<QFileDialog> makeLyricsFileDialog(QWidget* parent)
{
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(QStringLiteral("*.txt (歌詞ﾃｷｽﾄ) (*.TXT)"));
    return dialog;
}

std::optional<QString> QtDialogs::askLyricsFile(QWidget* parent)
{
    const std::unique_ptr<QFileDialog> dialog = makeLyricsFileDialog(parent);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
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
