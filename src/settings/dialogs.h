#pragma once

#include <QColor>
#include <QString>
#include <optional>

class QDialog;
class QWidget;

// The program's modal questions to the user and its modal windows. Qt's own dialogs answer them
// in the program; a test answers them itself, with no dialog shown and no event loop waited on.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The lyrics file chosen, asked in `folder` with `file` already chosen where either is
    // given; nothing when the user cancels.
    virtual std::optional<QString> askLyricsFile(QWidget* parent, const QString& folder,
                                                 const QString& file) = 0;
    // The colour chosen; nothing when the user cancels.
    virtual std::optional<QColor> askColor(QWidget* parent) = 0;
    // Shows one of the program's own windows until it closes.
    virtual void showModal(QDialog& window) = 0;
};

class QtDialogs final : public Dialogs {
public:
    std::optional<QString> askLyricsFile(QWidget* parent, const QString& folder,
                                         const QString& file) override;
    std::optional<QColor> askColor(QWidget* parent) override;
    void showModal(QDialog& window) override;
};
