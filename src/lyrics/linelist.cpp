#include "linelist.h"

#include "timetag.h"

QStringView LineList::at(int index) const
{
    const Span& span = spans_[index];
    const QStringView line = QStringView(store_).sliced(span.start, span.length);
    if (!blanksTags_ || !isTaggedLine(line))
        return line;
    auto [blanked, isNew] = blankedLines_.try_emplace(index);
    if (isNew)
        blanked->second = QString(kTimeTagLength, u' ') + line.mid(kTimeTagLength).toString();
    return blanked->second;
}

void LineList::append(QStringView line)
{
    spans_.append({store_.size(), line.size()});
    store_.append(line);
}

void LineList::assign(QString store, QList<Span> lines)
{
    store_ = std::move(store);
    spans_ = std::move(lines);
    selection_ = -1;
    blanksTags_ = false;
    blankedLines_.clear();
}

void LineList::assignWithTagsBlanked(const LineList& lines)
{
    assign(lines.store_, lines.spans_);
    blanksTags_ = true;
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
