#include "gui/component/qt/ListBox.h"

#include "gui/LayoutGuard.h"

#include <QIcon>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace mvk::gui::component {

Component* ListBox::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::ListBox>(element);
}

namespace qt {

namespace {

// Where an entry keeps the path of its image.
constexpr int ImageRole = Qt::UserRole;

// Once the list has shown images, an entry without one keeps the room of an image, so the
// texts of all entries line up and every row is equally high.
class AlignedEntries : public QStyledItemDelegate {
public:
    explicit AlignedEntries(QListWidget* list) : QStyledItemDelegate(list), list(list) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if ((option->features & QStyleOptionViewItem::HasDecoration) != 0 ||
            !list->iconSize().isValid())
            return;
        option->features |= QStyleOptionViewItem::HasDecoration;
        option->decorationSize = list->iconSize();
    }

private:
    QListWidget* list;
};

} // namespace

ListBox::ListBox(const util::xml::Element& element) : QtComponent(element) {
    for (int32_t i = 0; i < initialItems().count(); ++i) {
        auto* entry = new QListWidgetItem(QString::fromStdString(initialItems().text(i)), this);
        entry->setData(ImageRole, QString::fromStdString(initialItems().image(i)));
    }
    setItemDelegate(new AlignedEntries(this));
    connect(this, &QListWidget::currentRowChanged, this, &ListBox::onIndexChanged);
    connect(this, &QListWidget::itemDoubleClicked, this, &ListBox::onDoubleClicked);
}

std::string ListBox::getItemText(int32_t index) const {
    const QListWidgetItem* entry = QListWidget::item(index);
    return entry ? entry->text().toStdString() : std::string();
}

void ListBox::insertItem(const std::string& text, int32_t index) {
    const int at = index < 0 || index > QListWidget::count() ? QListWidget::count() : index;
    quietly([&] { QListWidget::insertItem(at, QString::fromStdString(text)); });
}

void ListBox::removeItem(int32_t index) {
    if (index < 0 || index >= QListWidget::count())
        return;
    quietly([&] { delete QListWidget::takeItem(index); });
}

int32_t ListBox::findItem(const std::string& text) const {
    const QString wanted = QString::fromStdString(text);
    for (int row = 0; row < QListWidget::count(); ++row)
        if (QListWidget::item(row)->text() == wanted)
            return row;
    return -1;
}

void ListBox::clear() {
    quietly([&] { QListWidget::clear(); });
}

void ListBox::selectIndex(int32_t index) {
    quietly([&] { QListWidget::setCurrentRow(index); });
}

std::string ListBox::getCurrentText() const {
    const QListWidgetItem* entry = QListWidget::currentItem();
    return entry ? entry->text().toStdString() : std::string();
}

void ListBox::setItemImage(int32_t index, const std::string& path) {
    QListWidgetItem* entry = QListWidget::item(index);
    if (entry == nullptr)
        return;
    entry->setData(ImageRole, QString::fromStdString(path));
    if (path.empty())
        entry->setIcon(QIcon());
    else
        loadImage(entry);
}

std::string ListBox::getItemImage(int32_t index) const {
    const QListWidgetItem* entry = QListWidget::item(index);
    return entry ? entry->data(ImageRole).toString().toStdString() : std::string();
}

void ListBox::prepareShow() {
    // Aliases are registered after the window is built, so the layout's images are loaded now.
    for (int row = 0; row < QListWidget::count(); ++row)
        if (QListWidget::item(row)->icon().isNull())
            loadImage(QListWidget::item(row));
    QtComponent::prepareShow();
}

void ListBox::loadImage(QListWidgetItem* entry) {
    const QString path = entry->data(ImageRole).toString();
    QPixmap picture;
    if (path.isEmpty() || !picture.load(QString::fromStdString(resolvePath(path.toStdString()))))
        return;
    entry->setIcon(QIcon(picture));
    // Images are shown at their own size, as the largest of them asks.
    setIconSize(iconSize().expandedTo(picture.size()));
}

void ListBox::onIndexChanged(int) {
    if (!settingValue)
        sendEvent(EventIndexChanged);
}

void ListBox::onDoubleClicked(QListWidgetItem*) {
    sendEvent(EventDoubleClicked);
}

} // namespace qt
} // namespace mvk::gui::component
