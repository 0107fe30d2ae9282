#pragma once
#include <QIcon>
#include <QStyledItemDelegate>

#include <array>
#include <functional>

namespace mvk::gui::component::qt {

// Draws one flag column with the icon of each node's state and turns a left press or double
// click on an enabled cell into an edit of that flag.
class FlagDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Icons for unset, set and undetermined.
    FlagDelegate(std::array<QIcon, 3> icons, std::function<void(const QModelIndex&)> toggle,
                 QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;

private:
    std::array<QIcon, 3> icons;
    std::function<void(const QModelIndex&)> toggle;
};

} // namespace mvk::gui::component::qt
