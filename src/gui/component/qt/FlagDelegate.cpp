#include "gui/component/qt/FlagDelegate.h"

#include "gui/component/qt/NodeModel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace mvk::gui::component::qt {

namespace {

constexpr int IconSize = 16;

} // namespace

FlagDelegate::FlagDelegate(std::array<QIcon, 3> icons,
                           std::function<void(const QModelIndex&)> toggle, QObject* parent)
    : QStyledItemDelegate(parent), icons(std::move(icons)), toggle(std::move(toggle)) {}

void FlagDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    QApplication::style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &background, painter,
                                         background.widget);
    const int state = index.data(NodeModel::FlagRole).toInt();
    if (state < 0 || state > 2 || icons[static_cast<size_t>(state)].isNull())
        return;
    const QRect square(0, 0, IconSize, IconSize);
    icons[static_cast<size_t>(state)].paint(
        painter, square.translated(option.rect.center() - square.center()));
}

QSize FlagDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return {IconSize + 8, IconSize + 4};
}

bool FlagDelegate::editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem&,
                               const QModelIndex& index) {
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return false;
    toggle(index);
    return true;
}

} // namespace mvk::gui::component::qt
