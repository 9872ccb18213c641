#include "gui/widgets/Accessible.h"

#include "gui/widgets/HotArea.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>

#include <vector>

namespace {

constexpr const char* kRoleProperty = "ludraAccessibleRole";
constexpr const char* kCheckedProperty = "ludraAccessibleChecked";

bool Checkable(QAccessible::Role role) { return role == QAccessible::CheckBox || role == QAccessible::RadioButton; }

bool Pressable(QAccessible::Role role) {
    return role == QAccessible::Button || role == QAccessible::MenuItem || Checkable(role);
}

// A spot that a mouse can reach: shown, and not covered at its centre by another widget
// (the next-question spot lies under the check button while that shows).
bool Reachable(QWidget* widget) {
    if (!widget->isVisible() || !widget->isEnabled())
        return false;
    QWidget* window = widget->window();
    const QWidget* top = window->childAt(widget->mapTo(window, widget->rect().center()));
    return top == widget || widget->isAncestorOf(top);
}

// A click as the mouse gives it, posted: a click that opens a modal window must not hold
// the screen reader's call until that window closes.
void PostClick(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonPress, centre, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(widget, new QMouseEvent(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

// A click spot, tile, menu entry or text of the drawn windows.
class ControlInterface : public QAccessibleWidget {
public:
    ControlInterface(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    // A tile's role follows the question's kind, so it is read anew each time.
    QAccessible::Role role() const override {
        const QVariant role = widget()->property(kRoleProperty);
        return role.isValid() ? static_cast<QAccessible::Role>(role.toInt()) : QAccessibleWidget::role();
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            if (const auto* label = qobject_cast<const QLabel*>(widget()))
                return label->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (Pressable(role()) && !Reachable(widget()))
            state.invisible = true;
        if (Checkable(role())) {
            state.checkable = true;
            state.checked = widget()->property(kCheckedProperty).toBool();
        }
        return state;
    }

    QStringList actionNames() const override {
        return Pressable(role()) ? QStringList{pressAction()} : QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action != pressAction() || !Pressable(role()))
            return QAccessibleWidget::doAction(action);
        if (Reachable(widget()))
            PostClick(widget());
    }
};

// A row of a drawn tree; it reads the row from the widget each time, so it never goes stale.
class RowInterface : public QAccessibleInterface {
public:
    RowInterface(QWidget* tree, int index) : tree_(tree), index_(index) {}

    int Index() const { return index_; }
    bool isValid() const override { return Rows() && index_ < Rows()->AccessibleRowCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return tree_ ? parent()->window() : nullptr; }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation) const override {
        return {};
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(tree_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? Row().Name : QString(); }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::TreeItem; }

    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect place = Row().Place;
        return {tree_->mapToGlobal(place.topLeft()), place.size()};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const AccessibleTreeRows::Row row = Row();
        state.selectable = true;
        state.selected = row.Selected;
        state.expandable = row.Category;
        state.expanded = row.Category && row.Open;
        state.collapsed = row.Category && !row.Open;
        state.invisible = !tree_->isVisible();
        state.offscreen = !tree_->visibleRegion().intersects(row.Place);
        return state;
    }

private:
    const AccessibleTreeRows* Rows() const { return dynamic_cast<const AccessibleTreeRows*>(tree_.data()); }
    AccessibleTreeRows::Row Row() const {
        return isValid() ? Rows()->AccessibleRow(index_) : AccessibleTreeRows::Row{};
    }

    QPointer<QWidget> tree_;
    int index_;
};

class TreeInterface : public QAccessibleWidget {
public:
    explicit TreeInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Tree) {}
    ~TreeInterface() override {
        // At exit the cache may have deleted the rows already.
        for (const QAccessible::Id id : rowIds_)
            if (QAccessible::accessibleInterface(id))
                QAccessible::deleteAccessibleInterface(id);
    }
    TreeInterface(const TreeInterface&) = delete;
    TreeInterface& operator=(const TreeInterface&) = delete;

    int childCount() const override {
        const auto* rows = dynamic_cast<const AccessibleTreeRows*>(widget());
        return rows ? rows->AccessibleRowCount() : 0;
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        // Rows are made as they are asked for and kept, one per index.
        while (static_cast<int>(rowIds_.size()) <= index)
            rowIds_.push_back(
                QAccessible::registerAccessibleInterface(new RowInterface(widget(), static_cast<int>(rowIds_.size()))));
        return QAccessible::accessibleInterface(rowIds_[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* row = dynamic_cast<const RowInterface*>(child);
        return row && row->parent() == this ? row->Index() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const auto* rows = dynamic_cast<const AccessibleTreeRows*>(widget());
        return rows ? child(rows->AccessibleRowAt(widget()->mapFromGlobal(QPoint(x, y)))) : nullptr;
    }

private:
    mutable std::vector<QAccessible::Id> rowIds_;
};

// Asked once for each class of the object's ancestry, the most derived first: the
// answer is given at the first asking, before the widgets' own factory would answer.
QAccessibleInterface* Factory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    const QVariant role = widget->property(kRoleProperty);
    if (role.isValid() && role.toInt() == QAccessible::Tree && dynamic_cast<const AccessibleTreeRows*>(widget))
        return new TreeInterface(widget);
    if (role.isValid())
        return new ControlInterface(widget, static_cast<QAccessible::Role>(role.toInt()));
    if (qobject_cast<HotArea*>(widget))
        return new ControlInterface(widget, QAccessible::Button);
    return nullptr;
}

} // namespace

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}

void SetAccessibleRole(QWidget* widget, QAccessible::Role role) {
    InstallAccessibleFactory();
    widget->setProperty(kRoleProperty, static_cast<int>(role));
    // A name or text given before made the widget's accessible object without the role.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
    if (made && !dynamic_cast<ControlInterface*>(made) && !dynamic_cast<TreeInterface*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void SetAccessibleChecked(QWidget* widget, bool checked) {
    if (widget->property(kCheckedProperty).toBool() == checked)
        return;
    widget->setProperty(kCheckedProperty, checked);
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(widget, changed);
    QAccessible::updateAccessibility(&event);
}

void Announce(QLabel* label) {
    QAccessibleEvent named(label, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleEvent alert(label, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void AccessibleRowsChanged(QWidget* tree) {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent reorder(tree, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
    const auto* rows = dynamic_cast<const AccessibleTreeRows*>(tree);
    QAccessibleInterface* treeInterface = QAccessible::queryAccessibleInterface(tree);
    // The selected row is read out as the keyboard moves it, while the window is the active one.
    if (!rows || !treeInterface || !tree->isActiveWindow())
        return;
    if (QAccessibleInterface* selected = treeInterface->child(rows->SelectedAccessibleRow())) {
        QAccessibleEvent focus(selected, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}
