#pragma once

#include <QAccessible>
#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

// What assistive technology sees of the drawn windows: the click spots are buttons with
// a press action that clicks them, and other widgets get the role given them here.
// Installed by the first click spot; harmless to call again.
void InstallAccessibleFactory();

// A role of the widget's own; names come from its accessible name or, for a label, its text.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);
// The checked state of a check box or radio button role; a change is told.
void SetAccessibleChecked(QWidget* widget, bool checked);
// The label's text is told at once, as an alert is.
void Announce(QLabel* label);

// A widget that draws the rows of a tree; with the role Tree its rows are the tree's items.
class AccessibleTreeRows {
public:
    struct Row {
        QString Name;
        QRect Place; // in the widget
        bool Selected = false;
        bool Category = false;
        bool Open = false;
    };
    virtual int AccessibleRowCount() const = 0;
    virtual Row AccessibleRow(int index) const = 0;
    // Indexes, or -1 for none: the row at a point of the widget, the selected row.
    virtual int AccessibleRowAt(QPoint point) const = 0;
    virtual int SelectedAccessibleRow() const = 0;

protected:
    ~AccessibleTreeRows() = default;
};
// Tells that the rows were drawn anew, and which one is selected.
void AccessibleRowsChanged(QWidget* tree);
