#pragma once
#include "gui/component/Tree.h"
#include "gui/component/qt/NodeModel.h"
#include "gui/component/qt/QtComponent.h"

#include <QTreeView>

#include <map>

namespace mvk::gui::component::qt {

class Header;

class Tree : public QtComponent<QTreeView, component::Tree> {
    Q_OBJECT
public:
    explicit Tree(const util::xml::Element& element);

    void setRoot(Node* root) override;
    void refresh() override;
    void setupColumns() override;
    void selectNode(Node* node) override;
    Node* getCurrentNode() const override;
    void editNode(Node* node) override;
    void updateNodeIcons() override;

    NodeModel* nodeModel() const { return model; }
    // A left press or double click on a flag cell: the new value goes to the node and its
    // subtree and is remembered for a drag along the column.
    void toggleFlag(const QModelIndex& index);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void preparePopup(const QPoint& position) override;
    void updateGeometries() override;

private:
    // Gives the node the value (its subtree too when `subtree`); the flag event when it changed.
    void applyFlag(Node* node, int flag, int32_t value, bool subtree);
    QIcon iconFor(const std::string& path);
    void initialiseFlags();

    NodeModel* model;
    Header* header;
    std::map<std::string, QIcon> icons;
    int draggedColumn = -1;
    int32_t draggedValue = 0;
};

} // namespace mvk::gui::component::qt
