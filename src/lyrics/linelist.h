#pragma once

#include <QString>
#include <QStringList>

// Lines kept the way the program keeps them in its hidden list boxes: appended in order, read by
// index, with a selection that is -1 when nothing is selected. A selection outside -1 to
// count() - 1 is refused and leaves the selection as it was; it is never clamped, since the
// lyric cursor relies on that refusal to stop at the last line.
class LineList {
public:
    int count() const { return int(lines_.size()); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    // The line at an index that the list contains.
    const QString& at(int index) const { return lines_.at(index); }
    void append(const QString& line) { lines_.append(line); }
    void clear();

    int selection() const { return selection_; }
    bool setSelection(int index);

private:
    QStringList lines_;
    int selection_ = -1;
};
