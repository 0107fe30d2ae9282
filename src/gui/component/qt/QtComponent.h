#pragma once
// The drawing half every kind shares: a Qt widget class and a toolkit-independent component
// joined in one object (in the order the kind's class lists them). It keeps the widget in step
// with the component's state, turns widget notifications into component events and places
// child components in a size-limited box.
#include "gui/Background.h"
#include "gui/StdComponent.h"
#include "gui/component/BoxSettings.h"
#include "gui/component/qt/PopupMenu.h"
#include "gui/component/qt/QBoxLayoutLimited.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <string>
#include <type_traits>

namespace mvk::gui::component::qt {

// Qt refuses widget sizes beyond this; component limits are clamped to it on the way in.
inline int widgetExtent(int32_t value) {
    return std::clamp<int32_t>(value, 0, QWIDGETSIZE_MAX);
}
inline QSize widgetSize(const Size& size) {
    return {widgetExtent(size.width), widgetExtent(size.height)};
}

// Qt's alignment for a vertical and a horizontal choice; NotSet adds nothing.
inline Qt::Alignment qtAlignment(componentinterface::Box::Alignment valign,
                                 componentinterface::Box::Alignment halign) {
    using Alignment = componentinterface::Box::Alignment;
    Qt::Alignment alignment;
    if (valign == Alignment::Top)
        alignment |= Qt::AlignTop;
    else if (valign == Alignment::Bottom)
        alignment |= Qt::AlignBottom;
    else if (valign == Alignment::Center)
        alignment |= Qt::AlignVCenter;
    if (halign == Alignment::Left)
        alignment |= Qt::AlignLeft;
    else if (halign == Alignment::Right)
        alignment |= Qt::AlignRight;
    else if (halign == Alignment::Center)
        alignment |= Qt::AlignHCenter;
    return alignment;
}

template <class First, class Second> class QtComponent : public First, public Second {
    static constexpr bool qtFirst = std::is_base_of_v<QWidget, First>;

public:
    using QtClass = std::conditional_t<qtFirst, First, Second>;
    using ComponentClass = std::conditional_t<qtFirst, Second, First>;
    using ComponentClass::isEnabled;
    using ComponentClass::isVisible;
    using ComponentClass::parent;
    using ComponentClass::setEnabled;
    using ComponentClass::setVisible;

    explicit QtComponent(const util::xml::Element& element)
        : First(argument<First>(element)), Second(argument<Second>(element)) {
        setUp();
    }

    ~QtComponent() override {
        ComponentClass::sendEvent(Component::EventDestroying);
        // The children go first, while both halves of this object are whole.
        while (ComponentClass::childCount() > 0)
            ComponentClass::child(ComponentClass::childCount() - 1)->destroy();
    }

    QWidget* getWidget() override { return widget(); }
    bool isTopLevel() const override { return std::is_base_of_v<QDialog, QtClass>; }
    void repaint() override { widget()->update(); }

    void show() override {
        ComponentClass::sendEvent(Component::EventShowing);
        ComponentClass::setShown(true);
        if (revealsNow()) {
            // The subtree is made ready while this widget is hidden; making it visible then
            // lays the whole subtree out once, from the top down.
            prepareShow();
            if (Component* above = parent())
                above->onChildShown(this);
            syncVisibility();
        } else {
            // Below a hidden widget Qt lays out each box as soon as its widget is marked
            // visible. Marking this widget before its children keeps that box empty, so no
            // level lays out the levels below it for sizes that are about to change.
            if (Component* above = parent())
                above->onChildShown(this);
            syncVisibility();
            prepareShow();
        }
        ComponentClass::sendEvent(Component::EventShown);
    }

    void hide() override {
        ComponentClass::sendEvent(Component::EventHiding);
        ComponentClass::setShown(false);
        if (Component* above = parent())
            above->onChildHidden(this);
        syncVisibility();
        ComponentClass::sendEvent(Component::EventHidden);
    }

    void setLabel(const std::string& text) override {
        ComponentClass::setLabel(text);
        applyLabel();
    }
    void setTooltip(const std::string& text) override {
        ComponentClass::setTooltip(text);
        applyTooltip();
    }
    void setTooltipId(int32_t id) override {
        ComponentClass::setTooltipId(id);
        applyTooltip();
    }
    void setSize(const Size& size) override {
        ComponentClass::setSize(size);
        widget()->resize(widgetSize(size));
    }
    void setPosition(const Point& position) override {
        ComponentClass::setPosition(position);
        widget()->move(position.left, position.top);
    }
    void setMinimumSize(const Size& size) override {
        ComponentClass::setMinimumSize(size);
        applyLimits();
    }
    void setMaximumSize(const Size& size) override {
        ComponentClass::setMaximumSize(size);
        applyLimits();
    }
    void setDesiredSize(const Size& size) override {
        ComponentClass::setDesiredSize(size);
        widget()->updateGeometry();
    }

    void onChildShown(Component* child) override {
        if (box == nullptr || child->getWidget() == nullptr)
            return;
        const int index = boxIndexOf(child);
        // Shown again in a box kept from an earlier showing, it is already in its place.
        if (box->indexOf(child->getWidget()) == index)
            return;
        box->insertWidget(index, child->getWidget());
    }
    void onChildHidden(Component* child) override {
        if (box != nullptr && child->getWidget() != nullptr)
            box->removeWidget(child->getWidget());
    }
    void onChildInserted(Component* child, int) override { adopt(child); }
    void onChildRemoved(Component* child, int) override {
        QWidget* childWidget = child->getWidget();
        if (childWidget == nullptr)
            return;
        if (box != nullptr)
            box->removeWidget(childWidget);
        childWidget->setParent(nullptr);
    }

    QSize sizeHint() const override { return widgetSize(ComponentClass::getDesiredSize()); }
    QSize minimumSizeHint() const override {
        const QSize minimum = widgetSize(ComponentClass::getMinimumSize());
        return {std::max(minimum.width(), 1), std::max(minimum.height(), 1)};
    }

    // The box the children are placed in (null until the container is first shown).
    QBoxLayoutLimited* getBox() const { return box; }

protected:
    // Runs before the widget is shown; a container rebuilds its box and shows its children.
    virtual void prepareShow() {
        if (ComponentClass::boxSettings() == nullptr)
            return;
        // A box kept from an earlier showing that still holds every child in order is kept,
        // with its laid-out sizes and whatever was added to it besides (a closing stretch):
        // a page shown again then costs no layout from scratch. Otherwise it starts afresh.
        if (boxHoldsChildren())
            applyBoxSettings();
        else
            rebuildBox();
        for (int i = 0; i < ComponentClass::childCount(); ++i)
            ComponentClass::child(i)->show();
    }
    // Puts the label where the kind shows it.
    virtual void applyLabel() {}

    // A fresh box from the box settings, spacing 0, the padding as its margins.
    void rebuildBox() {
        const BoxSettings* settings = ComponentClass::boxSettings();
        if (settings == nullptr)
            return;
        if (QLayout* old = widget()->layout())
            delete old;
        box = new QBoxLayoutLimited(
            settings->vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight, widget());
        box->setSpacing(0);
        // The widget's maximum stays the component's own: Qt's min-and-max constraint would
        // replace it with the box's, which collapses an empty container to nothing. The minimum
        // comes from the box, already clamped into the component's limits.
        box->setSizeConstraint(QLayout::SetMinimumSize);
        applyBoxSettings();
    }

    void applyBoxSettings() {
        const BoxSettings* settings = ComponentClass::boxSettings();
        if (box == nullptr || settings == nullptr)
            return;
        box->setDirection(settings->vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
        const auto& padding = settings->padding;
        box->setContentsMargins(padding[0], padding[1], padding[2], padding[3]);
        box->setAlignment(qtAlignment(settings->valign, settings->halign));
        applyLimits();
    }

    // Whether the box holds the widgets of all children in their order (other items, such as
    // stretches, aside).
    bool boxHoldsChildren() const {
        if (box == nullptr)
            return false;
        const int items = box->count();
        int item = 0;
        const auto nextWidget = [&]() -> QWidget* {
            while (item < items && box->itemAt(item)->widget() == nullptr)
                ++item;
            return item < items ? box->itemAt(item++)->widget() : nullptr;
        };
        for (int i = 0; i < ComponentClass::childCount(); ++i)
            if (QWidget* childWidget = ComponentClass::child(i)->getWidget();
                childWidget != nullptr && nextWidget() != childWidget)
                return false;
        return nextWidget() == nullptr;
    }

    void syncVisibility() { applyVisibility(ComponentClass::isShown() && isVisible()); }

    // Whether making this widget visible shows it on screen now: a window, or a widget whose
    // parent is on screen.
    bool revealsNow() const {
        const QWidget* above = widget()->parentWidget();
        return widget()->isWindow() || (above != nullptr && above->isVisible());
    }

    // Shows or hides the widget itself; a kind whose Qt class attaches more to its visibility
    // (a dialog's modal loop) goes through that class.
    virtual void applyVisibility(bool visible) { widget()->QWidget::setVisible(visible); }

    void flagsChanged() override {
        syncVisibility();
        widget()->QWidget::setEnabled(isEnabled());
    }

    // Applied again whenever the component or an ancestor is adopted; Qt announces every tooltip
    // it is given to the widget and the event filters, so only a change is passed on.
    void applyTooltip() {
        const bool helpLine = ComponentClass::getEffectiveTooltipId() >= 0;
        const std::string& text = helpLine ? std::string() : ComponentClass::getTooltip();
        if (tooltipApplied && appliedTooltip == text)
            return;
        tooltipApplied = true;
        appliedTooltip = text;
        widget()->setToolTip(helpLine ? QString() : QWidget::tr(text.c_str()));
    }

    void applyLimits() {
        const QSize minimum = widgetSize(ComponentClass::getMinimumSize());
        const QSize maximum = widgetSize(ComponentClass::getMaximumSize());
        widget()->setMinimumSize(minimum);
        widget()->setMaximumSize(maximum.expandedTo(minimum));
        if (box != nullptr)
            box->setLimits(minimum, maximum);
    }

    bool event(QEvent* event) override {
        switch (event->type()) {
        case QEvent::FocusIn:
            ComponentClass::sendEvent(Component::EventFocusIn);
            break;
        case QEvent::FocusOut:
            ComponentClass::sendEvent(Component::EventFocusOut);
            break;
        case QEvent::Enter:
            ComponentClass::updateHelpLine(true);
            ComponentClass::sendEvent(Component::EventMouseEnter);
            break;
        case QEvent::Leave:
            ComponentClass::updateHelpLine(false);
            ComponentClass::sendEvent(Component::EventMouseLeave);
            break;
        case QEvent::MouseButtonRelease:
            if (isPopupRelease(event)) {
                runPopup();
                return true;
            }
            break;
        default:
            break;
        }
        return QtClass::event(event);
    }

    // A scroll area (a tree, a list box) takes its mouse input on its viewport, so the right
    // button's release is looked for there as well.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if constexpr (std::is_base_of_v<QAbstractScrollArea, QtClass>) {
            if (watched == QtClass::viewport() && isPopupRelease(event)) {
                preparePopup(static_cast<QMouseEvent*>(event)->position().toPoint());
                runPopup();
                return true;
            }
        }
        return QtClass::eventFilter(watched, event);
    }

    // Runs before the popup menu of a scroll area opens, with the cursor in viewport
    // coordinates; a kind makes what lies under the cursor current here.
    virtual void preparePopup(const QPoint&) {}

    void moveEvent(QMoveEvent* event) override {
        QtClass::moveEvent(event);
        const Point now{widget()->x(), widget()->y()};
        if (now != ComponentClass::getPosition())
            ComponentClass::setPosition(now);
    }

    void resizeEvent(QResizeEvent* event) override {
        QtClass::resizeEvent(event);
        const Size now{widget()->width(), widget()->height()};
        if (now != ComponentClass::getSize())
            ComponentClass::setSize(now);
    }

    void paintEvent(QPaintEvent* event) override {
        paintBackground();
        QtClass::paintEvent(event);
        paintHighlight();
    }

    void paintBackground() {
        if (Background* background = ComponentClass::getBackground())
            background->paint(this);
    }

    // The highlight mark: a 2-pixel frame in the palette's highlight colour.
    virtual void paintHighlight() {
        if (!ComponentClass::isHighlighted())
            return;
        QPainter painter(widget());
        QPen pen(widget()->palette().color(QPalette::Highlight), 2);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(QRectF(widget()->rect()).adjusted(1, 1, -1, -1));
    }

    QWidget* widget() { return static_cast<QtClass*>(this); }
    const QWidget* widget() const { return static_cast<const QtClass*>(this); }

private:
    template <class Base> static auto argument(const util::xml::Element& element) {
        if constexpr (std::is_base_of_v<QWidget, Base>)
            return static_cast<QWidget*>(nullptr);
        else
            return std::cref(element);
    }

    // The common set-up every kind runs when it is built.
    void setUp() {
        applyTooltip();
        widget()->QWidget::setVisible(false);
        applyLimits();
        widget()->QWidget::setEnabled(isEnabled());
        widget()->resize(widgetSize(ComponentClass::getDesiredSize()));
        widget()->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        const std::string style = ComponentClass::getStyleSheet();
        if (!style.empty())
            widget()->setStyleSheet(QString::fromStdString(style));
        for (int i = 0; i < ComponentClass::childCount(); ++i)
            adopt(ComponentClass::child(i));
        if constexpr (std::is_base_of_v<QAbstractScrollArea, QtClass>)
            QtClass::viewport()->installEventFilter(widget());
    }

    bool isPopupRelease(QEvent* event) const {
        return event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
               ComponentClass::hasPopup();
    }

    // Children are built before they have a parent, so their tooltip (which may come from an
    // ancestor's help line) is applied again once they hang in the tree.
    void adopt(Component* child) {
        QWidget* childWidget = child->getWidget();
        if (childWidget != nullptr && childWidget->parentWidget() != widget())
            childWidget->setParent(widget());
        child->setTooltipId(child->getTooltipId());
    }

    // Where a child goes in the box: after every earlier sibling that is already in it, so a
    // child shown late lands between its neighbours whatever else is missing.
    int boxIndexOf(Component* child) const {
        int index = 0;
        for (int i = 0; i < ComponentClass::childCount(); ++i) {
            Component* sibling = ComponentClass::child(i);
            if (sibling == child)
                break;
            if (sibling->getWidget() != nullptr && box->indexOf(sibling->getWidget()) >= 0)
                ++index;
        }
        return index;
    }

    void runPopup() {
        PopupMenu menu(ComponentClass::getPopup(), widget());
        const int32_t chosen = PopupMenu::idOf(menu.exec(QCursor::pos()));
        if (chosen >= 0)
            ComponentClass::sendEvent(Component::EventPopupChosen, chosen);
    }

    QBoxLayoutLimited* box = nullptr;
    // The tooltip text last given to the widget (empty while the help line shows it).
    std::string appliedTooltip;
    bool tooltipApplied = false;
};

} // namespace mvk::gui::component::qt
