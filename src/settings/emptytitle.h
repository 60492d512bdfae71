#pragma once

class QWidget;

// Qt tells the window manager the application's name for a window whose title is empty. This
// keeps what it is told as empty as the title, once the window has been made and before it is
// first shown: nothing on X11 (_NET_WM_NAME), and on Wayland, where Qt has no way to send an
// empty title, one zero-width character, which a title bar or an overview draws as nothing.
// Other platforms keep Qt's choice.
void keepTitleBarEmpty(QWidget& window);
