#include "gui/component/qt/Label.h"

#include "gui/LayoutGuard.h"
#include "gui/component/qt/FrameStyles.h"
#include "gui/component/qt/PixmapLoader.h"

#include <QHash>
#include <QMovie>
#include <QPicture>
#include <QPixmap>
#include <QTextDocument>

namespace mvk::gui::component {

Component* Label::Factory::create(const util::xml::Element& element) {
    return LayoutGuard::build<qt::Label>(element);
}

namespace qt {

namespace {

Qt::TextInteractionFlags interactionOf(const component::Label& label) {
    if (label.isSelectable())
        return Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse |
               Qt::LinksAccessibleByKeyboard;
    if (label.hasHyperlinks())
        return Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard;
    return Qt::NoTextInteraction;
}

} // namespace

Label::Label(const util::xml::Element& element) : QtComponent(element) {
    setWordWrap(isWrapping());
    setTextInteractionFlags(interactionOf(*this));
    setOpenExternalLinks(hasHyperlinks());
    FrameStyles::apply(this, getFrameStyle());
    if (const Qt::Alignment alignment = qtAlignment(getValign(), getHalign());
        alignment != Qt::Alignment())
        setAlignment(alignment);
    setPlaceholder(QString::fromStdString(element.attribute("placeholder")));
}

// A status line that is empty most of the time reads as a dead strip; while the label has no
// text it shows its placeholder instead. The component's own label stays empty.
void Label::setPlaceholder(QLabel* label, const QString& text) {
    label->setProperty(PlaceholderProperty, text);
    if (auto* component = dynamic_cast<Label*>(label))
        component->applyLabel();
}

void Label::setPlaceholder(const QString& text) {
    setPlaceholder(this, text);
}

void Label::applyLabel() {
    const std::string& text = getLabel();
    setText(text.empty() ? property(PlaceholderProperty).toString() : QString::fromStdString(text));
}

void Label::setImage(const std::string& path) {
    component::Label::setImage(path);
    if (path.empty()) {
        // Without an image the label shows its text again.
        QLabel::clear();
        applyLabel();
        return;
    }
    loadImage();
}

void Label::prepareShow() {
    // Aliases are registered after the window is built, so the picture is loaded now.
    loadImage();
    QtComponent::prepareShow();
}

void Label::loadImage() {
    if (getImage().empty())
        return;
    const QPixmap picture = PixmapLoader::load(resolvePath(getImage()));
    if (!picture.isNull())
        setPixmap(picture);
}

namespace {

// What the height of a plain text label for a width depends on: the same text in the same font
// with the same margins, limits and alignment takes the same height in any label.
struct TextHeightKey {
    QString text;
    QFont font;
    int width;
    int alignment;
    int margin;
    int indent;
    int frameWidth;
    QMargins contents;
    QSize minimum;
    int maximumWidth;
    int dpi;
    Qt::LayoutDirection direction;

    bool operator==(const TextHeightKey&) const = default;
};

size_t qHash(const TextHeightKey& key, size_t seed = 0) {
    const QMargins& c = key.contents;
    return qHashMulti(seed, key.text, key.font, key.width, key.alignment, key.margin, key.indent,
                      key.frameWidth, c.left(), c.top(), c.right(), c.bottom(),
                      key.minimum.width(), key.minimum.height(), key.maximumWidth, key.dpi,
                      static_cast<int>(key.direction));
}

// Heights known from every label: a page built again, or the like page of another instance,
// finds its labels' heights here instead of laying every text out again.
QHash<TextHeightKey, int>& knownTextHeights() {
    static QHash<TextHeightKey, int> heights;
    return heights;
}
constexpr qsizetype MostTextHeights = 8192;

} // namespace

int Label::heightForWidth(int width) const {
    const qint64 picture = pixmap().cacheKey();
    if (text() != heightsText || picture != heightsPicture) {
        heights.fill({});
        heightsText = text();
        heightsPicture = picture;
    }
    for (const Height& known : heights)
        if (known.width == width)
            return known.height;
    const int height = sharedHeightForWidth(width);
    heights[nextHeight] = {width, height};
    nextHeight = (nextHeight + 1) % heights.size();
    return height;
}

int Label::sharedHeightForWidth(int width) const {
    // Only plain text that is laid out by the font alone; rich text, selectable text and
    // pictures are measured by the label itself.
    const bool plain = textFormat() == Qt::PlainText ||
                       (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text()));
    if (!plain || textInteractionFlags() != Qt::NoTextInteraction || !pixmap().isNull() ||
        movie() != nullptr || !picture().isNull() || text().isEmpty())
        return QLabel::heightForWidth(width);
    TextHeightKey key{text(),
                      font(),
                      width,
                      static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0),
                      margin(),
                      indent(),
                      frameWidth(),
                      contentsMargins(),
                      QLabel::minimumSize(),
                      maximumWidth(),
                      logicalDpiY(),
                      layoutDirection()};
    QHash<TextHeightKey, int>& known = knownTextHeights();
    if (const auto found = known.constFind(key); found != known.constEnd())
        return found.value();
    const int height = QLabel::heightForWidth(width);
    if (known.size() >= MostTextHeights)
        known.clear();
    known.insert(std::move(key), height);
    return height;
}

bool Label::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::StyleChange:
    case QEvent::ContentsRectChange:
    case QEvent::LayoutDirectionChange:
    case QEvent::Polish:
        // What the text is laid out with has changed.
        heights.fill({});
        break;
    default:
        break;
    }
    return QtComponent::event(event);
}

} // namespace qt
} // namespace mvk::gui::component
