#pragma once

#include "core/selection/SetTree.h"

#include <QDialog>

#include <optional>

class QKeyEvent;
class QLabel;
class QWidget;
class SetTreePicture;
class ScrollBar;

// The set list window (instance FOknoLTestow): the tree of categories and sets of the
// set list file, drawn on a picture that scrolls in a white panel. A click chooses a
// set, a double click opens or closes a category; confirming starts the chosen set.
struct ProgramState;

class SetListWindow : public QDialog {
    Q_OBJECT

public:
    explicit SetListWindow(ProgramState& state, QWidget* parent = nullptr);

    // Reads the set list file and shows the window modally beside the anchor; returns
    // when it has closed. A list that can't be read has been reported, and nothing shows.
    void ShowSetList(const QWidget& anchor);
    // Reads the list into the tree and places the window, without showing it; false
    // when the list can't be read.
    bool Prepare(const QWidget& anchor);
    // The set chosen last, kept between showings; cancelling empties it.
    ChosenSet& Chosen() { return chosen_; }
    // Puts the window's left edge 280 px right of the anchor's and its top 61 px below:
    // the anchor is the main window, or in window mode 1 its main panel PGlowny.
    // The choice label starts without a choice; the choice itself stays.
    void FormShow(const QWidget& anchor);

    const SetTree& Tree() const { return tree_; }
    // The top of the row the keyboard's focus ring is drawn around; none after a click.
    std::optional<int> FocusedRowTop() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ProgramState& state_;
    ChosenSet chosen_; // kept between showings
    void ConfirmClick();
    void CancelClick();
    void TreeMouseDown(int y);
    void TreeDoubleClick();
    void ScrollBarMoved(int position);
    // Draws the tree anew and fits the scroll bar to its rows.
    void DrawTree();
    void ShowSelectionByKeys();

    SetTree tree_;
    QWidget* pPodListeTestow_ = nullptr;
    SetTreePicture* imDrzewo_ = nullptr;
    QWidget* pPodListweTestow_ = nullptr;
    ScrollBar* listwa_ = nullptr;
    QLabel* lTest_ = nullptr;
};
