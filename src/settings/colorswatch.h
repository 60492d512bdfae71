#pragma once

#include <QLabel>

// A bordered patch that shows a colour value, and says when it is clicked.
class ColorSwatch : public QLabel {
    Q_OBJECT

public:
    ColorSwatch(qint32 value, QWidget* parent);

    qint32 value() const { return value_; }
    void setValue(qint32 value);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    qint32 value_ = 0;
};
