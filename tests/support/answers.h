#pragma once

#include "dialogs.h"

#include <QDialog>
#include <QList>
#include <QTest>
#include <functional>

// The user's answers, given in advance: each question takes the next one of its kind, and a
// modal window is handed to `inWindow` instead of waiting in a loop of its own.
struct Answers final : Dialogs {
    QList<std::optional<QString>> lyricsFiles;
    // Where the lyrics file was last asked for: the folder, and the file already chosen.
    QString askedFolder, offeredFile;
    QList<std::optional<QColor>> colors;
    std::function<void(QDialog&)> inWindow = [](QDialog& window) { window.close(); };

    std::optional<QString> askLyricsFile(QWidget*, const QString& folder,
                                         const QString& file) override
    {
        askedFolder = folder;
        offeredFile = file;
        return next(lyricsFiles);
    }
    std::optional<QColor> askColor(QWidget*) override { return next(colors); }
    void showModal(QDialog& window) override { inWindow(window); }

private:
    template <typename T> static T next(QList<T>& answers)
    {
        if (answers.isEmpty())
            qFatal("a question nobody expected");
        return answers.takeFirst();
    }
};
