#pragma once
#include "gui/componentinterface/Tree.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <vector>

namespace mvk::gui::component::qt {

// The item model over a tree of nodes: the first column is the node itself (name and icon),
// each flag a further column whose state is in Qt::UserRole. The root node is not shown; its
// children are the top-level rows.
class NodeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    using Node = componentinterface::Tree::Node;
    static constexpr const char* MimeType = "application/mvk-gui-abstractitemmodel-node";
    static constexpr int FlagRole = Qt::UserRole;

    explicit NodeModel(QObject* parent = nullptr);

    // Shows the tree below `root` (not owned); null shows nothing.
    void setRoot(Node* root);
    Node* root() const { return rootNode; }
    void setFlagCount(int count);
    int flagCount() const { return flagColumns; }
    void setDragDrop(bool enabled) { dragDrop = enabled; }
    // Turns an icon path into an icon (the tree resolves aliases and caches images).
    void setIconLoader(std::function<QIcon(const std::string&)> loader);
    // Takes a changed tree in, from scratch.
    void reload();

    Node* nodeAt(const QModelIndex& index) const;
    QModelIndex indexOf(Node* node, int column = 0) const;
    // Whether `node` is the root or below it.
    bool contains(const Node* node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    // The dragged nodes, in order, without those that have an ancestor among them.
    static std::vector<Node*> topmost(const std::vector<Node*>& nodes);
    // Moves (or, with `copy`, clones) `nodes` under `target` starting at `row` (the end when
    // negative); nodes that would land inside themselves are left where they are.
    void dropNodes(const std::vector<Node*>& nodes, Node* target, int row, bool copy);

private:
    Node* parentOrRoot(const QModelIndex& parent) const;
    // Whether a node of the tree lives at `address`; the address itself is never followed.
    bool containsAddress(const void* address) const;
    std::vector<Node*> decode(const QMimeData* data) const;

    Node* rootNode = nullptr;
    int flagColumns = 0;
    bool dragDrop = false;
    std::function<QIcon(const std::string&)> iconLoader;
};

} // namespace mvk::gui::component::qt
