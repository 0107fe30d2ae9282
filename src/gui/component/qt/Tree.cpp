#include "gui/component/qt/Tree.h"

#include "gui/LayoutGuard.h"
#include "gui/component/qt/FlagDelegate.h"
#include "gui/component/qt/Header.h"
#include "gui/component/qt/PixmapLoader.h"

#include <QMouseEvent>
#include <QPixmap>

namespace mvk::gui::component {

Component* Tree::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Tree>(element);
}

namespace qt {

namespace {

constexpr int FlagWidth = 24;

bool differs(const Tree::Node* node, int flag, int32_t value) {
    return node->getFlag(flag) != value;
}

} // namespace

Tree::Tree(const util::xml::Element& element)
    : QtComponent(element), model(new NodeModel(this)), header(new Header(this)) {
    model->setFlagCount(static_cast<int>(getFlags().size()));
    model->setDragDrop(hasDragDrop());
    model->setIconLoader([this](const std::string& path) { return iconFor(path); });
    setHeader(header);
    setModel(model);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    if (hasDragDrop()) {
        setDragDropMode(QAbstractItemView::DragDrop);
        setDefaultDropAction(Qt::MoveAction);
        setDragEnabled(true);
        setAcceptDrops(true);
        setDropIndicatorShown(true);
    }
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { sendEvent(EventSelectionChanged); });
}

QIcon Tree::iconFor(const std::string& path) {
    const auto found = icons.find(path);
    if (found != icons.end())
        return found->second;
    const QPixmap image = PixmapLoader::load(resolvePath(path));
    QIcon icon;
    if (!image.isNull())
        icon = QIcon(image);
    icons.emplace(path, icon);
    return icon;
}

void Tree::setRoot(Node* root) {
    component::Tree::setRoot(root);
    initialiseFlags();
    model->setRoot(root);
    expandAll();
}

// Nodes that never had a state for a flag start with the flag's default.
void Tree::initialiseFlags() {
    if (getRoot() == nullptr)
        return;
    std::vector<Node*> pending{getRoot()};
    while (!pending.empty()) {
        Node* node = pending.back();
        pending.pop_back();
        for (size_t flag = 0; flag < getFlags().size(); ++flag)
            if (!node->hasFlag(static_cast<int>(flag)))
                node->setFlag(static_cast<int>(flag), getFlags()[flag].defaultState);
        for (int i = 0; i < node->childCount(); ++i)
            pending.push_back(node->child(i));
    }
}

void Tree::refresh() {
    initialiseFlags();
    model->reload();
    expandAll();
    sendEvent(EventRefreshed, 0);
}

void Tree::setupColumns() {
    for (size_t flag = 0; flag < getFlags().size(); ++flag) {
        const Flag& described = getFlags()[flag];
        std::array<QIcon, 3> stateIcons = {iconFor(described.falseIcon),
                                           iconFor(described.trueIcon),
                                           iconFor(described.undeterminedIcon)};
        const int column = static_cast<int>(flag) + 1;
        if (QAbstractItemDelegate* old = itemDelegateForColumn(column))
            old->deleteLater();
        setItemDelegateForColumn(
            column, new FlagDelegate(
                        stateIcons, [this](const QModelIndex& index) { toggleFlag(index); }, this));
    }
    header->setUp(static_cast<int>(getFlags().size()), FlagWidth);
    header->fit(viewport()->width());
    expandAll();
}

void Tree::selectNode(Node* node) {
    component::Tree::selectNode(node);
    setCurrentIndex(model->indexOf(node));
}

Tree::Node* Tree::getCurrentNode() const {
    return model->nodeAt(currentIndex());
}

void Tree::editNode(Node* node) {
    const QModelIndex index = model->indexOf(node);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    edit(index);
}

void Tree::updateNodeIcons() {
    icons.clear();
    model->reload();
    expandAll();
}

void Tree::applyFlag(Node* node, int flag, int32_t value, bool subtree) {
    bool changed = differs(node, flag, value);
    if (subtree) {
        std::vector<Node*> pending{node};
        while (!pending.empty() && !changed) {
            Node* below = pending.back();
            pending.pop_back();
            changed = differs(below, flag, value);
            for (int i = 0; i < below->childCount(); ++i)
                pending.push_back(below->child(i));
        }
        node->setFlagInSubtree(flag, value);
    } else {
        node->setFlag(flag, value);
    }
    viewport()->update();
    if (changed)
        sendEvent(EventFlagChanged, flag);
}

void Tree::toggleFlag(const QModelIndex& index) {
    Node* node = model->nodeAt(index);
    const int flag = index.column() - 1;
    if (node == nullptr || flag < 0 || !node->isFlagEnabled(flag))
        return;
    draggedValue = node->getFlag(flag) == Set ? Unset : Set;
    draggedColumn = index.column();
    applyFlag(node, flag, draggedValue, true);
}

void Tree::mouseMoveEvent(QMouseEvent* event) {
    if (draggedColumn < 0 || !(event->buttons() & Qt::LeftButton)) {
        QTreeView::mouseMoveEvent(event);
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    Node* node = model->nodeAt(index);
    const int flag = draggedColumn - 1;
    if (node != nullptr && index.column() == draggedColumn && node->isFlagEnabled(flag))
        applyFlag(node, flag, draggedValue, !isExpanded(index.siblingAtColumn(0)));
}

void Tree::mouseReleaseEvent(QMouseEvent* event) {
    draggedColumn = -1;
    QTreeView::mouseReleaseEvent(event);
}

void Tree::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeView::mouseDoubleClickEvent(event);
    sendEvent(EventDoubleClicked, 0);
}

// The popup's commands are about the node the user clicked, so it becomes current first.
void Tree::preparePopup(const QPoint& position) {
    const QModelIndex index = indexAt(position);
    if (index.isValid())
        setCurrentIndex(index.siblingAtColumn(0));
}

// The header follows the viewport's width, which is known only once the tree is laid out.
void Tree::updateGeometries() {
    QTreeView::updateGeometries();
    header->fit(viewport()->width());
}

} // namespace qt
} // namespace mvk::gui::component
