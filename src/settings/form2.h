#pragma once

#include <QDialog>

struct Colors;
class Dialogs;
class ColorSwatch;
class MMControl;
class QComboBox;
class QPushButton;

// The settings window: the CD drive and the three colours. Only "OK" applies anything: it takes
// the colours, reopens the player on the chosen drive and saves the settings. Closing it any other
// way discards every change.
class Form2 : public QDialog {
    Q_OBJECT

public:
    Form2(Colors& colors, const QString& programFolder, MMControl& player, Dialogs& dialogs,
          QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void listDrives();
    void chooseColor(ColorSwatch* swatch);
    void Command1_Click();

    Colors& colors_;
    const QString programFolder_;
    MMControl& player_;
    Dialogs& dialogs_;

    ColorSwatch* Label5;
    ColorSwatch* Label6;
    ColorSwatch* Label7;
    QPushButton* Command1;
    QComboBox* Combo1;
};
