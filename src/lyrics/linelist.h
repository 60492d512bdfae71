#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <unordered_map>

// Lines kept the way the program keeps them in its hidden list boxes: appended in order, read by
// index, with a selection that is -1 when nothing is selected. A selection outside -1 to
// count() - 1 is refused and leaves the selection as it was; it is never clamped, since the
// lyric cursor relies on that refusal to stop at the last line.
//
// The lines live in one store, each a stretch of it, so that a file of many thousands of lines
// costs a few allocations rather than one a line. Lists share their store and stretches until
// one of them changes.
class LineList {
public:
    // Where a line lies in the store.
    struct Span {
        qsizetype start = 0;
        qsizetype length = 0;
    };

    int count() const { return int(spans_.size()); }
    bool contains(int index) const { return index >= 0 && index < count(); }
    // The line at an index that the list contains; valid until the list next changes.
    QStringView at(int index) const;
    void append(QStringView line);
    // Replaces the lines with the given stretches of `store`, in order, and selects none.
    void assign(QString store, QList<Span> lines);
    // Replaces the lines with those of `lines`, each tagged line with its first seven characters,
    // the time tag, blanked out by seven spaces (all of it, when it is shorter), and selects none.
    void assignWithTagsBlanked(const LineList& lines);
    void clear();

    int selection() const { return selection_; }
    bool setSelection(int index);

private:
    QString store_;
    QList<Span> spans_;
    int selection_ = -1;
    bool blanksTags_ = false;
    // Tagged lines blanked so far, by index: a line is blanked when it is first read.
    mutable std::unordered_map<int, QString> blankedLines_;
};
