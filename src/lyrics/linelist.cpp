#include "linelist.h"

void LineList::clear()
{
    lines_.clear();
    selection_ = -1;
}

bool LineList::setSelection(int index)
{
    if (index < -1 || index >= count())
        return false;
    selection_ = index;
    return true;
}
