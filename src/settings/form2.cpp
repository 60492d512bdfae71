#include "form2.h"

#include "twips.h"

Form2::Form2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setFixedSize(twips(4680), twips(3195));
}
