#include "gui/component/qt/NodeModel.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <cstring>

namespace mvk::gui::component::qt {

namespace {

using Node = NodeModel::Node;

bool isBelow(const Node* node, const Node* ancestor) {
    for (const Node* at = node->parent(); at != nullptr; at = at->parent())
        if (at == ancestor)
            return true;
    return false;
}

} // namespace

NodeModel::NodeModel(QObject* parent) : QAbstractItemModel(parent) {}

void NodeModel::setRoot(Node* root) {
    beginResetModel();
    rootNode = root;
    endResetModel();
}

void NodeModel::setFlagCount(int count) {
    beginResetModel();
    flagColumns = std::max(count, 0);
    endResetModel();
}

void NodeModel::setIconLoader(std::function<QIcon(const std::string&)> loader) {
    iconLoader = std::move(loader);
}

void NodeModel::reload() {
    beginResetModel();
    endResetModel();
}

Node* NodeModel::nodeAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

QModelIndex NodeModel::indexOf(Node* node, int column) const {
    if (node == nullptr || node == rootNode || node->parent() == nullptr || !contains(node))
        return {};
    return createIndex(node->childIndex(), column, node);
}

bool NodeModel::contains(const Node* node) const {
    return node != nullptr && rootNode != nullptr && (node == rootNode || isBelow(node, rootNode));
}

bool NodeModel::containsAddress(const void* address) const {
    if (rootNode == nullptr)
        return false;
    std::vector<const Node*> pending{rootNode};
    while (!pending.empty()) {
        const Node* node = pending.back();
        pending.pop_back();
        if (node == address)
            return true;
        for (int i = 0; i < node->childCount(); ++i)
            pending.push_back(node->child(i));
    }
    return false;
}

Node* NodeModel::parentOrRoot(const QModelIndex& parent) const {
    return parent.isValid() ? nodeAt(parent) : rootNode;
}

QModelIndex NodeModel::index(int row, int column, const QModelIndex& parent) const {
    Node* above = parentOrRoot(parent);
    if (above == nullptr || column < 0 || column >= columnCount() || row < 0 ||
        row >= above->childCount())
        return {};
    return createIndex(row, column, above->child(row));
}

QModelIndex NodeModel::parent(const QModelIndex& child) const {
    Node* node = nodeAt(child);
    if (node == nullptr || node->parent() == nullptr || node->parent() == rootNode)
        return {};
    return createIndex(node->parent()->childIndex(), 0, node->parent());
}

int NodeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0)
        return 0;
    Node* above = parentOrRoot(parent);
    return above ? above->childCount() : 0;
}

int NodeModel::columnCount(const QModelIndex&) const {
    return 1 + flagColumns;
}

QVariant NodeModel::data(const QModelIndex& index, int role) const {
    Node* node = nodeAt(index);
    if (node == nullptr)
        return {};
    if (index.column() > 0)
        return role == FlagRole ? QVariant(node->getFlag(index.column() - 1)) : QVariant();
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return QString::fromStdString(node->getName());
    if (role == Qt::DecorationRole && iconLoader && !node->getIcon().empty())
        return iconLoader(node->getIcon());
    return {};
}

bool NodeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    Node* node = nodeAt(index);
    if (node == nullptr || index.column() != 0 || role != Qt::EditRole)
        return false;
    node->setName(value.toString().toStdString());
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags NodeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return dragDrop ? Qt::ItemIsDropEnabled : Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0)
        result |= Qt::ItemIsEditable;
    if (dragDrop)
        result |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    return result;
}

Qt::DropActions NodeModel::supportedDropActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

QStringList NodeModel::mimeTypes() const {
    return {MimeType};
}

std::vector<Node*> NodeModel::topmost(const std::vector<Node*>& nodes) {
    std::vector<Node*> kept;
    for (Node* node : nodes) {
        const bool covered = std::any_of(nodes.begin(), nodes.end(), [&](const Node* other) {
            return other != node && isBelow(node, other);
        });
        if (!covered && std::find(kept.begin(), kept.end(), node) == kept.end())
            kept.push_back(node);
    }
    return kept;
}

// The addresses of the dragged nodes, 8 bytes each: only meaningful inside this process.
QMimeData* NodeModel::mimeData(const QModelIndexList& indexes) const {
    std::vector<Node*> dragged;
    for (const QModelIndex& index : indexes)
        if (index.column() == 0 && nodeAt(index) != nullptr)
            dragged.push_back(nodeAt(index));
    QByteArray bytes;
    for (Node* node : topmost(dragged)) {
        const quint64 address = reinterpret_cast<quintptr>(node);
        bytes.append(reinterpret_cast<const char*>(&address), sizeof(address));
    }
    auto* data = new QMimeData;
    data->setData(MimeType, bytes);
    return data;
}

// Addresses are trusted only when they name a node of this model's tree.
std::vector<Node*> NodeModel::decode(const QMimeData* data) const {
    std::vector<Node*> nodes;
    if (data == nullptr || !data->hasFormat(MimeType))
        return nodes;
    const QByteArray bytes = data->data(MimeType);
    for (qsizetype at = 0; at + 8 <= bytes.size(); at += 8) {
        quint64 address = 0;
        std::memcpy(&address, bytes.constData() + at, sizeof(address));
        auto* node = reinterpret_cast<Node*>(static_cast<quintptr>(address));
        if (node != rootNode && containsAddress(node))
            nodes.push_back(node);
    }
    return nodes;
}

bool NodeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int,
                             const QModelIndex& parent) {
    if (action == Qt::IgnoreAction)
        return true;
    Node* target = parentOrRoot(parent);
    const std::vector<Node*> nodes = decode(data);
    if (target == nullptr || nodes.empty())
        return false;
    const bool copy = QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
    dropNodes(nodes, target, row, copy);
    return true;
}

void NodeModel::dropNodes(const std::vector<Node*>& nodes, Node* target, int row, bool copy) {
    beginResetModel();
    int at = row < 0 ? target->childCount() : std::min(row, target->childCount());
    for (Node* node : nodes) {
        Node* placed = node;
        if (copy) {
            placed = node->clone();
            if (placed == nullptr)
                continue;
        } else {
            // A node cannot go inside itself.
            if (node == target || isBelow(target, node))
                continue;
            if (node->parent() == target && node->childIndex() < at)
                --at;
            if (node->parent() != nullptr)
                node->parent()->removeChild(node);
        }
        target->insertChild(placed, at);
        ++at;
    }
    endResetModel();
}

} // namespace mvk::gui::component::qt
