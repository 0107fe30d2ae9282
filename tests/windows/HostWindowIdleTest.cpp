// The reference host's window at rest: with nothing changing it draws nothing, and what the core
// changes meanwhile (the clock a take or a resimulation moves, keys it writes) still shows
// within a fraction of a second, also after a long quiet spell.
#include "WindowTestSupport.h"

#include "HostWindow.h"
#include "Timeline.h"
#include "Viewport.h"

#include <QLabel>
#include <QTest>

#include <memory>

using qvn::host::HostWindow;
using qvn::host::RefNode;
using qvn::host::translation;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class HostWindowIdleTest : public qvn::test::AttachedCore {
protected:
    void SetUp() override {
        AttachedCore::SetUp();
        installSamplePlugins();
        attach();
        ASSERT_FALSE(core->createInstance("Orbit Camera").empty());
        window = std::make_unique<HostWindow>(*core, host);
        window->resize(900, 600);
        window->show();
        QTest::qWait(300);
    }
    void TearDown() override {
        window.reset();
        AttachedCore::TearDown();
    }
    // Runs the event loop until `done` or `milliseconds` pass; whether `done` came true.
    template <typename Done> bool waitFor(Done done, int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < milliseconds)
            QTest::qWait(10);
        return done();
    }
    bool clockShows(const QString& text) const {
        for (const QLabel* label : window->findChildren<QLabel*>())
            if (label->text().contains(text))
                return true;
        return false;
    }

    std::unique_ptr<HostWindow> window;
};

TEST_F(HostWindowIdleTest, NothingIsDrawnAtRestAndWhatTheCoreChangesStillShows) {
    PaintCounter view(window->viewport());
    PaintCounter timeline(window->timeline());
    QTest::qWait(800);
    EXPECT_EQ(view.paints, 0);
    EXPECT_EQ(timeline.paints, 0);

    // The core moves the clock, as each sample of a take does.
    host.setTime(1.5);
    EXPECT_TRUE(waitFor([&] { return view.paints > 0 && clockShows("01.50"); }, 1000));

    // After a quiet spell the tick is slow, but a change still shows well within a second.
    QTest::qWait(2600);
    const int before = timeline.paints;
    RefNode* node = host.scene.nodes().front();
    node->setLocalTransform(4.0, translation(1, 2, 3));
    host.redrawViews();
    EXPECT_TRUE(waitFor([&] { return timeline.paints > before; }, 1000));
}

} // namespace
