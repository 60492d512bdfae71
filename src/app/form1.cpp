#include "form1.h"

#include "mmcontrol.h"
#include "sdlaudiosink.h"

#include <QCloseEvent>

namespace {

// The layout is given in twips, 15 to a pixel at 96 dpi.
constexpr int px(int twips)
{
    return twips / 15;
}

} // namespace

Form1::Form1(const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      MMControl1(new MMControl(programFolder, makeSdlAudioSink, this))
{
    setWindowTitle(QStringLiteral("Corvanta"));
    setFixedSize(px(8700), px(5625));
    MMControl1->move(px(5280), px(120));
    Form_Load();
}

void Form1::Form_Load()
{
    MMControl1->setCommand(QStringLiteral("stop"));
    MMControl1->setCommand(QStringLiteral("close"));
    MMControl1->setCommand(QStringLiteral("open"));
    MMControl1->setTimeFormat(0);
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload()
{
    MMControl1->setCommand(QStringLiteral("stop"));
    MMControl1->setCommand(QStringLiteral("close"));
}
