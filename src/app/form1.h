#pragma once

#include <QWidget>

class MMControl;

// The main window.
class Form1 : public QWidget {
    Q_OBJECT

public:
    explicit Form1(const QString& programFolder, QWidget* parent = nullptr);

    MMControl& player() { return *MMControl1; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();

    MMControl* MMControl1;
};
