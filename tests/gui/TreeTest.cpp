#include "EventRecorder.h"
#include "GuiFixture.h"

#include "gui/component/qt/NodeModel.h"
#include "gui/component/qt/Tree.h"

#include <QApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>

#include <memory>

namespace {

using namespace mvk::gui;
using component::qt::NodeModel;
using guitest::build;
using guitest::EventRecorder;
using Node = componentinterface::Tree::Node;
using Event = std::pair<int32_t, int32_t>;

class Named : public Node {
public:
    explicit Named(std::string name) : name(std::move(name)) {}
    std::string getName() const override { return name; }
    void setName(const std::string& text) override { name = text; }
    Node* clone() const override { return new Named(name + " copy"); }

private:
    std::string name;
};

Named* add(Node* parent, const std::string& name) {
    auto* node = new Named(name);
    parent->addChild(node);
    return node;
}

std::string names(const Node* parent) {
    std::string text;
    for (int i = 0; i < parent->childCount(); ++i)
        text += (i ? " " : "") + parent->child(i)->getName();
    return text;
}

std::vector<quintptr> addresses(const QMimeData* data) {
    const QByteArray bytes = data->data(NodeModel::MimeType);
    std::vector<quintptr> result(static_cast<size_t>(bytes.size()) / 8);
    std::memcpy(result.data(), bytes.constData(), result.size() * 8);
    return result;
}

class TreeTest : public guitest::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        root = std::make_unique<Named>("root");
        for (const char* name : {"n0", "n1", "n2", "n3", "n4"})
            add(root.get(), name);
        add(root->child(0), "n0.a");
    }
    void TearDown() override {
        if (tree != nullptr)
            tree->setRoot(nullptr);
    }
    // The tree of a dialog `width` wide, with the tree's `inner` layout, showing `root`; `owner`
    // hears its events. Its columns are set up before the window has its size, as windows do
    // when they load.
    void showTree(int width, const std::string& inner) {
        const std::string size = "width=\"" + std::to_string(width) + "\" height=\"";
        dialog = build("<dialog " + size + "300\"><tree id=\"8\" " + size + "280\">" + inner +
                       "</tree></dialog>");
        tree = static_cast<component::qt::Tree*>(dialog->findById(8)->getWidget());
        owner.subscribe(dialog->findById(8));
        tree->setRoot(root.get());
        tree->setupColumns();
        dialog->show();
        Toolkit::processEvents();
    }

    std::unique_ptr<Named> root;
    guitest::Owned dialog;
    component::qt::Tree* tree = nullptr;
    EventRecorder owner;
};

TEST_F(TreeTest, DragDataCarriesOnlyTheTopmostNodesAndDropsMoveThemInOrder) {
    NodeModel model;
    model.setDragDrop(true);
    model.setRoot(root.get());
    Node* n0 = root->child(0);
    const QModelIndex child = model.index(0, 0, model.index(0, 0));
    ASSERT_EQ(model.nodeAt(child)->getName(), "n0.a");

    // A node dragged together with its child carries only the parent.
    std::unique_ptr<QMimeData> data(
        model.mimeData({child, model.index(0, 0), model.index(4, 0), model.index(1, 0)}));
    EXPECT_EQ(addresses(data.get()),
              (std::vector<quintptr>{reinterpret_cast<quintptr>(n0),
                                     reinterpret_cast<quintptr>(root->child(4)),
                                     reinterpret_cast<quintptr>(root->child(1))}));

    // Three nodes dropped at row 2 of their own parent, two from above it: rows 0 onward.
    ASSERT_TRUE(model.dropMimeData(data.get(), Qt::MoveAction, 2, 0, {}));
    EXPECT_EQ(names(root.get()), "n0 n4 n1 n2 n3");
    EXPECT_EQ(n0->childCount(), 1);

    // A node never goes inside itself; addresses that are no node of the tree are refused.
    model.dropNodes({n0}, n0->child(0), -1, false);
    EXPECT_EQ(n0->parent(), root.get());
    QMimeData bogus;
    bogus.setData(NodeModel::MimeType, QByteArray(8, '\x11'));
    EXPECT_FALSE(model.dropMimeData(&bogus, Qt::MoveAction, 0, 0, {}));

    // A copying drop inserts clones and leaves the originals.
    model.dropNodes({root->child(3)}, root->child(2), -1, true);
    EXPECT_EQ(names(root->child(2)), "n2 copy");
    EXPECT_EQ(root->childCount(), 5);
}

TEST_F(TreeTest, FlagsStartAtTheirDefaultsAndEditsSpreadDownAndAlongTheColumn) {
    showTree(300, R"(<flag falseicon="off.png" trueicon="on.png"/><flag trueicon="skipped.png"/>
        <flag falseicon="off.png" defaultstate="true"/>)");
    EXPECT_EQ(tree->getFlags().size(), 2u);
    EXPECT_EQ(root->child(1)->getFlag(0), componentinterface::Tree::Unset);
    EXPECT_EQ(root->child(1)->getFlag(1), componentinterface::Tree::Set);

    // A press on n0's first flag sets it on n0 and its child.
    owner.events.clear();
    const QModelIndex n0Flag = tree->nodeModel()->indexOf(root->child(0), 1);
    const QPoint n0At = tree->visualRect(n0Flag).center();
    QTest::mousePress(tree->viewport(), Qt::LeftButton, Qt::NoModifier, n0At);
    EXPECT_EQ(root->child(0)->getFlag(0), componentinterface::Tree::Set);
    EXPECT_EQ(root->child(0)->child(0)->getFlag(0), componentinterface::Tree::Set);
    EXPECT_EQ(owner.events, (std::vector<Event>{{0x4282, 0}}));

    // Dragging down the column gives the same value to n2; a disabled cell keeps its own.
    root->child(3)->setFlagEnabled(0, false);
    for (int row : {2, 3}) {
        const QPoint at =
            tree->visualRect(tree->nodeModel()->indexOf(root->child(row), 1)).center();
        QMouseEvent move(QEvent::MouseMove, at, tree->viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &move);
    }
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, n0At);
    EXPECT_EQ(root->child(2)->getFlag(0), componentinterface::Tree::Set);
    EXPECT_EQ(root->child(3)->getFlag(0), componentinterface::Tree::Unset);
    EXPECT_EQ(owner.events.size(), 2u);
}

TEST_F(TreeTest, ColumnsFitTheShownViewAndARightClickActsOnTheNodeUnderTheCursor) {
    showTree(320, R"(<popup label="Tool"><item label="Rename" id="7"/></popup>
        <flag falseicon="off.png" trueicon="on.png"/><flag falseicon="off.png" trueicon="on.png"/>)");

    // The flag columns keep one width and the name column takes the rest of the view, so every
    // flag is in sight without scrolling; also after the window grows.
    const auto expectColumnsFit = [&](const char* when) {
        const QHeaderView* header = tree->QTreeView::header();
        EXPECT_EQ(header->sectionSize(1), header->sectionSize(2)) << when;
        EXPECT_GT(header->sectionSize(0), header->sectionSize(1)) << when;
        EXPECT_EQ(header->sectionViewportPosition(2) + header->sectionSize(2),
                  tree->viewport()->width())
            << when;
    };
    expectColumnsFit("shown");
    dialog->getWidget()->resize(480, 300);
    Toolkit::processEvents();
    expectColumnsFit("grown");

    // A right click on n2's name opens the tree's popup with n2 current.
    tree->selectNode(root->child(4));
    owner.events.clear();
    const QPoint at = tree->visualRect(tree->nodeModel()->indexOf(root->child(2))).center();
    QTest::mousePress(tree->viewport(), Qt::RightButton, Qt::NoModifier, at);
    guitest::rightClickRelease(tree->viewport(), at, 0);
    EXPECT_TRUE(owner.received(0x4007, 7));
    EXPECT_EQ(tree->getCurrentNode(), root->child(2));
}

} // namespace
