#pragma once

#include "core/presentation/FrameLayout.h"
#include "core/presentation/FramedWindowKeys.h"
#include "core/presentation/SideWindowMemory.h"
#include "core/storage/SettingsFile.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <optional>

class HotArea;
class WindowDrag;
class QKeyEvent;
class QLabel;
class QShowEvent;

QRect ToQRect(const FrameRect& rect);

// The frame that the text window and the picture window share: a borderless,
// stay-on-top tool window of edge and corner pictures around a white centre
// (PPodstawaBig), which folds up to a 26-pixel bar (PZwiniete). The title strips
// of both move the window; the collapse and expand spots work while the window is
// expandable. Each window adds its tools and its centre and lays itself out.
class FramedWindow : public QWidget {
    Q_OBJECT
public:
    // Shows the window when hidden, placed by its offset from the anchor: the main
    // window, or its main panel PGlowny in window mode 1.
    void Open(const QWidget& anchor);

    bool Expandable() const { return expandable_; }
    bool IsCollapsed() const;

    void CollapseClick();
    void ExpandClick();

protected:
    // art names the window's own pieces: <art>lewagora, <art>lewadol, <art>dol,
    // <art>prawadol and <art>listwalewa.
    FramedWindow(const QString& objectName, const FrameMetrics& metrics, const QString& art, QPoint offsetFromAnchor,
                 const Settings& settings, QWidget* parent);

    // The window's own expanded layout, also run by the expand spot.
    virtual void LayoutExpanded() = 0;
    // Resets the window each time it becomes visible.
    virtual void FormShow() = 0;
    // The tools that make the font or the window smaller and larger, as shown now.
    struct SizeTools {
        bool Smaller = false;
        bool Larger = false;
    };
    virtual SizeTools ShownSizeTools() const = 0;
    // What a click on the window's Smaller, Larger or Copy tool does.
    virtual void UseTool(FramedWindowAction tool) = 0;

    // Sizes and places the frame for the expanded window W × H and shows it.
    void ArrangeExpanded();
    // Folds the window up to its bar, W wide.
    void CollapseToBar();

    void showEvent(QShowEvent* event) override;
    // Keys do what the tools they stand for do; Escape goes back to the window the
    // window was opened beside.
    void keyPressEvent(QKeyEvent* event) override;

    // The learner resized the expanded window: kept for the run when the setting asks so.
    void LearnerResized();
    // The shape the learner left, when the setting keeps it; none for the described one.
    std::optional<SideWindowShape> KeptShape() const;

    // W and H: the window's width, and the height of the expanded window.
    int windowWidth_ = 0;
    int windowHeight_ = 0;
    bool expandable_ = false;

    QWidget* PPodstawaBig;
    QWidget* PCentrum;
    QLabel* PLeftTop;
    QLabel* PRightBottom;

private:
    void BuildExpanded(const QString& art);
    void BuildCollapsed(const QString& art);
    void SetOutline(int height);

    SideWindowMemory memory_;
    const FrameMetrics& metrics_;
    const QPoint offsetFromAnchor_;
    QWidget* anchorWindow_ = nullptr;
    WindowDrag* drag_;
    const Settings& settings_;

    QWidget* PLeftMidlle;
    QLabel *ImLeftMidlle, *PLeftBottom, *ImTop, *ImRightMidlle, *ImBottom, *ImMidlle;
    QWidget *PTop, *PRightTop, *PRightMidlle, *PBottom;
    HotArea *LListwaTop, *LZwinOkno;
    QWidget *PZwiniete, *PLeft, *PMidlle, *PRight;
    HotArea *LListwaNaListwie, *LRozwinOkno;
};

// A tool button of the frame: a panel holding a clickable picture, with a hint.
HotArea* MakeToolButton(const QString& panelName, const QString& imageName, const QString& art, const QString& hint,
                        const QRect& geometry, QWidget* parent);
