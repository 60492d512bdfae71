#include "linelist.h"

void LineList::append(QStringView line)
{
    spans_.push_back({store_.size(), line.size()});
    store_.append(line);
}

void LineList::assign(QString store, std::vector<Span> lines)
{
    store_ = std::move(store);
    spans_ = std::move(lines);
    selection_ = -1;
}

void LineList::clear()
{
    assign(QString(), {});
}

bool LineList::setSelection(int index)
{
    if (index < -1 || index >= count())
        return false;
    selection_ = index;
    return true;
}
