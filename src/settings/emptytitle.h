#pragma once

class QWidget;

// Qt gives a window whose title is empty the application's name in the window manager's title
// bar (_NET_WM_NAME on X11). This makes the bar as empty as the title, once the window has been
// made and before it is first shown. Other platforms keep Qt's choice.
void keepTitleBarEmpty(QWidget& window);
