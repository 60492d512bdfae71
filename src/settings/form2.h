#pragma once

#include <QDialog>

// The settings window.
class Form2 : public QDialog {
    Q_OBJECT

public:
    explicit Form2(QWidget* parent);
};
