#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Answers the next modal dialog of a type once it is up, as a user would. Modal dialogs run their
// own event loop, so the answer has to be waiting before the dialog opens.
template <typename Dialog> void whenShown(std::function<void(Dialog*)> answer)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(dialog);
        }
    });
    poll->start(10);
}
