#include "GuiFixture.h"

#include "gui/Toolkit.h"
#include "gui/component/qt/QBoxLayoutLimited.h"
#include "gui/componentinterface/Button.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <vector>

namespace {

using namespace mvk::gui;
using component::qt::QBoxLayoutLimited;
using guitest::build;

class QtBackEndTest : public guitest::GuiTest {};

// Wrapping labels of one text share the heights they were measured at, but only with labels
// laid out alike: another font, other margins or other text get heights of their own, the
// ones a plain label configured the same way would give.
TEST_F(QtBackEndTest, WrappingLabelsShareHeightsOnlyWithLabelsLaidOutAlike) {
    const std::string text = "A setting whose label runs long enough to wrap on a narrow page";
    auto plainHeight = [](QLabel* like, int width) {
        QLabel plain;
        plain.setFont(like->font());
        plain.setWordWrap(like->wordWrap());
        plain.setAlignment(like->alignment());
        plain.setMargin(like->margin());
        plain.setIndent(like->indent());
        plain.setFrameStyle(like->frameStyle());
        plain.setLineWidth(like->lineWidth());
        plain.setContentsMargins(like->contentsMargins());
        plain.setMinimumSize(like->minimumSize());
        plain.setMaximumSize(like->maximumSize());
        plain.setText(like->text());
        return plain.heightForWidth(width);
    };
    std::vector<guitest::Owned> labels;
    for (int i = 0; i < 4; ++i)
        labels.push_back(build("<label>" + text + "</label>"));
    auto widget = [&](int i) { return static_cast<QLabel*>(labels[i]->getWidget()); };
    QFont large = widget(1)->font();
    large.setPointSizeF(large.pointSizeF() * 2);
    widget(1)->setFont(large);
    widget(2)->setContentsMargins(12, 9, 12, 9);
    widget(3)->setText(widget(3)->text() + " and then some more");
    ASSERT_TRUE(widget(0)->wordWrap());
    for (int width : {90, 160, 400}) {
        const int first = widget(0)->heightForWidth(width);
        EXPECT_EQ(first, plainHeight(widget(0), width)) << width;
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(widget(i)->heightForWidth(width), plainHeight(widget(i), width))
                << "label " << i << " at " << width;
        EXPECT_GT(widget(1)->heightForWidth(width), first) << width;
        EXPECT_EQ(widget(2)->heightForWidth(width) - 18,
                  plainHeight(widget(0), width - 24)) << width;
    }
    // A label built again later finds the same heights.
    const guitest::Owned again = build("<label>" + text + "</label>");
    EXPECT_EQ(again->getWidget()->heightForWidth(160), widget(0)->heightForWidth(160));
}

TEST_F(QtBackEndTest, BoxMinimumIsClampedIntoTheLimits) {
    QWidget host;
    auto* box = new QBoxLayoutLimited(QBoxLayout::TopToBottom, &host);
    box->setContentsMargins(0, 0, 0, 0);
    auto* content = new QWidget;
    content->setMinimumSize(100, 50);
    box->addWidget(content);
    EXPECT_EQ(box->minimumSize(), QSize(100, 50));

    box->setLimits({10, 10}, {60, 200});
    EXPECT_EQ(box->minimumSize(), QSize(60, 50));
    // Crossed limits: the maximum has the last word.
    box->setLimits({300, 300}, {20, 20});
    EXPECT_EQ(box->minimumSize(), QSize(20, 20));
}

TEST_F(QtBackEndTest, HiddenChildrenTakeNoRoomAndHiddenContainersHideTheirChildren) {
    auto list = build(R"(<list type="horizontal" width="300" height="30">
        <label id="1" width="80" height="30"/><label id="2" width="80" height="30" visible="no"/>
        <label id="3" width="80" height="30"/><label id="4" width="80" height="30" visible="no"/>
        </list>)");
    list->show();
    Toolkit::processEvents();
    QWidget* first = list->findById(1)->getWidget();
    QWidget* second = list->findById(2)->getWidget();
    QWidget* third = list->findById(3)->getWidget();
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(third->x(), first->x() + first->width());

    list->findById(2)->setVisible(true, false);
    Toolkit::processEvents();
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->x(), first->x() + first->width());
    EXPECT_EQ(third->x(), second->x() + second->width());
    list->hide();

    // Hiding or disabling a container reaches the widgets of its children.
    auto dialog = build(R"(<dialog width="200" height="100"><list id="1" height="40">
        <label id="2" label="a" height="20"/></list><label id="3" label="b" height="20"/>
        </dialog>)");
    dialog->show();
    QWidget* inner = dialog->findById(2)->getWidget();
    EXPECT_TRUE(inner->isVisible());
    dialog->findById(1)->setVisible(false, false);
    EXPECT_FALSE(inner->isVisible());
    EXPECT_TRUE(dialog->findById(3)->getWidget()->isVisible());
    dialog->findById(2)->setVisible(true, true);
    EXPECT_TRUE(inner->isVisible());
    dialog->findById(1)->setEnabled(false, false);
    EXPECT_FALSE(inner->isEnabled());
    dialog->hide();
}

TEST_F(QtBackEndTest, ButtonCyclesThroughItsContentsOnClicks) {
    auto button = build(R"(<button id="5" width="60" height="24"><label id="1" label="a"/>
        <label id="2" label="b"/><label id="3" label="c"/></button>)");
    button->show();
    Toolkit::processEvents();
    auto* widget = static_cast<QPushButton*>(button->getWidget());
    const auto visibleContent = [&] {
        int shown = 0;
        for (int id = 1; id <= 3; ++id)
            if (button->findById(id)->getWidget()->isVisible())
                shown = shown == 0 ? id : -1;
        return shown;
    };
    EXPECT_EQ(visibleContent(), 1);
    const int expected[] = {2, 3, 1};
    for (int next : expected) {
        widget->click();
        Toolkit::processEvents();
        EXPECT_EQ(visibleContent(), next);
    }
    button->hide();
}

// The toolkit's pump delivers deferred deletes itself: outside a running event loop they
// would otherwise never happen.
TEST_F(QtBackEndTest, EventPumpDeliversDeferredDeletes) {
    auto* doomed = new QObject;
    bool gone = false;
    QObject::connect(doomed, &QObject::destroyed, [&] { gone = true; });
    doomed->deleteLater();
    EXPECT_FALSE(gone);
    Toolkit::processEvents();
    EXPECT_TRUE(gone);
}

TEST_F(QtBackEndTest, ButtonPaintsBackgroundFlatColourImageAndHighlightInThatOrder) {
    QTemporaryDir folder;
    const auto saveImage = [&](const char* name, QColor color) {
        QImage image(20, 10, QImage::Format_ARGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(folder.filePath(name)));
    };
    saveImage("d.png", Qt::red);
    saveImage("p.png", Qt::darkRed);
    saveImage("td.png", Qt::green);
    saveImage("tp.png", Qt::darkGreen);
    const std::string images = folder.path().toStdString();

    auto flat = build(R"(<list><button id="1" flat="yes" width="40" height="20"
        flatcolor_default="0 0 255 255"><background type="color" r="255" g="0" b="0" a="255"/>
        </button></list>)");
    flat->show();
    QWidget* flatWidget = flat->findById(1)->getWidget();
    flatWidget->resize(40, 20);
    // The flat colour covers the background painted before it.
    EXPECT_EQ(flatWidget->grab().toImage().pixelColor(20, 10), QColor(0, 0, 255));
    flat->findById(1)->setHighlighted(true);
    const QColor marked = flatWidget->grab().toImage().pixelColor(20, 10);
    EXPECT_NEAR(marked.red(), 30, 3);
    EXPECT_NEAR(marked.green(), 30, 3);
    EXPECT_EQ(marked.blue(), 255);

    // Buttons 1 and 2 have only the plain images, button 3 the toggle images as well.
    const std::string plain = R"(img_default="[images]/d.png" img_pressed="[images]/p.png")";
    auto buttons = build("<list><button id=\"1\" " + plain + "/><button id=\"2\" toggle=\"yes\" " +
                         plain + "/><button id=\"3\" toggle=\"yes\" " + plain +
                         R"( img_toggle_default="[images]/td.png"
                         img_toggle_pressed="[images]/tp.png"/></list>)");
    buttons->setPathAlias("[images]", images);
    buttons->show();
    const auto button = [&](int32_t id) {
        return interfaceOf<componentinterface::Button>(buttons->findById(id));
    };
    EXPECT_TRUE(button(1)->hasImages());
    EXPECT_EQ(buttons->findById(1)->getWidget()->minimumSize(), QSize(20, 10));
    EXPECT_EQ(buttons->findById(1)->getWidget()->maximumSize(), QSize(20, 10));
    // A toggle button also needs its toggle images, however many plain ones it has.
    EXPECT_FALSE(button(2)->hasImages());

    QWidget* toggleWidget = buttons->findById(3)->getWidget();
    EXPECT_EQ(toggleWidget->grab().toImage().pixelColor(5, 5), QColor(Qt::red));
    button(3)->setChecked(true);
    EXPECT_EQ(toggleWidget->grab().toImage().pixelColor(5, 5), QColor(Qt::green));
    flat->hide();
    buttons->hide();
}

} // namespace
