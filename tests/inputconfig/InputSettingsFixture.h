#pragma once
// The input settings window built from the shipped layout for an instance of the test tool, and
// the hands of a person on it: clicks, and the binding window played through its prompts.
#include "core/windows/BindingDialog.h"
#include "core/windows/ControlDetector.h"
#include "core/windows/InputConfigDlg.h"
#include "core/windows/PropertyManager.h"
#include "gui/StdComponent.h"
#include "instances/InstanceFixture.h"

#include <QElapsedTimer>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>

namespace qvn::test {

class InputSettingsFixture : public InstanceFixture {
protected:
    using Rows = InputConfigDlg::PropertyManager;

    void SetUp() override {
        std::filesystem::copy(TestEnvironment::stageRoot() + "/quorvane/data",
                              environment.installRoot() + "/quorvane/data",
                              std::filesystem::copy_options::recursive);
        InstanceFixture::SetUp();
    }
    // Also after a skip in a derived SetUp, when nothing was attached.
    void TearDown() override {
        dialog.reset();
        if (core != nullptr)
            InstanceFixture::TearDown();
    }
    mvk::gui::Component* part(int32_t row, int32_t which) const {
        return dialog->getRoot()->findById(Rows::RowBase + Rows::RowStride * row + which);
    }
    void click(int32_t id) const { click(dialog->getRoot(), id); }
    static void click(mvk::gui::Component* root, int32_t id) {
        static_cast<mvk::gui::StdComponent*>(root->findById(id))->sendEvent(0x4142, id);
    }

    // Clicks the row's Bind... and, while the binding window runs modally, plays the user:
    // `act` once the window asks for a control, `confirm` when it offers one, then Use. After
    // `limitMs` without an offer, Cancel.
    void bindByDoing(int32_t row, const std::function<void()>& act,
                     const std::function<void()>& confirm = {}, int limitMs = 5000,
                     int repeatMs = 0) {
        BindingDialog& binding = dialog->propertyManager()->bindingDialog();
        bool acted = false;
        QElapsedTimer clock;
        clock.start();
        QElapsedTimer sinceAct;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            ControlDetector* detection = binding.detector();
            if (detection == nullptr)
                return;
            if (clock.elapsed() > limitMs) {
                click(binding.getRoot(), BindingDialog::CancelButton);
            } else if (detection->label() == ControlDetector::PressText &&
                       (!acted || (repeatMs > 0 && sinceAct.elapsed() > repeatMs))) {
                // A device across a network or a sound server may drop or delay what was
                // sent; with repeatMs the user moves the control again until it is seen.
                act();
                acted = true;
                sinceAct.start();
            } else if (detection->label() == ControlDetector::ConfirmText) {
                if (confirm)
                    confirm();
                click(binding.getRoot(), BindingDialog::UseButton);
            }
        });
        user.start(10);
        click(Rows::RowBase + Rows::RowStride * row + Rows::BindPart);
        user.stop();
    }

    std::unique_ptr<InputConfigDlg> dialog = std::make_unique<InputConfigDlg>();
};

} // namespace qvn::test
