#pragma once
// The windowed program on a sample installation, on virtual time with scripted message boxes; helpers act as
// the user.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <memory>
#include <vector>

#include "app/records.h"
#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "ui/bind_status_bar.h"
#include "ui/fr_bewo_view.h"
#include "ui/fr_levels_view.h"
#include "ui/frm_com_view.h"
#include "ui/frm_pnl_view.h"
#include "ui/frm_pwd_window.h"
#include "ui/frm_setup_window.h"
#include "ui/masked_line_edit.h"
#include "ui/setup_application.h"

namespace pnl::test {

// The menu commands of the main window, left to right.
enum MenuCommand { kSchnittstelle, kDatensaetze, kBerechtigungen, kPnlxxx, kSicherungen, kInfo, kBeenden };

struct SetupFixture : ::testing::Test {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        ui::SetupOptions options;
        options.showProjectInfo = [this] { ++infoShown; };
        setup = std::make_unique<ui::SetupApplication>(
            Platform{inst.fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.folder.path(), options);
        setup->onEnd = [this] { ++ends; };
    }
    void TearDown() override { setup.reset(); }

    Program& program() { return setup->program(); }
    ui::FrmPwdWindow* password() { return setup->passwordWindow(); }
    ui::FrmSetupWindow* mainWindow() { return setup->setupWindow(); }

    // Replaces the entry by the code and presses Enter.
    void typeCode(const QString& code) {
        QTest::keyClick(password()->codeEntry(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(password()->codeEntry(), Qt::Key_Backspace);
        QTest::keyClicks(password()->codeEntry(), code);
    }
    void enterCode(const QString& code) {
        typeCode(code);
        QTest::keyClick(password()->codeEntry(), Qt::Key_Return);
    }
    void choose(MenuCommand command) { mainWindow()->menuCommand(command)->trigger(); }
    bool menuEnabled(MenuCommand command) { return mainWindow()->menuCommand(command)->isEnabled(); }
    // The widgets that Tab reaches after `start`, one per press.
    static std::vector<QWidget*> tabWalk(QWidget* start, std::size_t presses) {
        start->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> walk;
        while (walk.size() < presses) {
            QTest::keyClick(start->window()->focusWidget(), Qt::Key_Tab);
            walk.push_back(start->window()->focusWidget());
        }
        return walk;
    }
    QString panel(int number) { return mainWindow()->statusPanels()->panel(number)->text(); }
    // A level record of the settings working copy, decrypted.
    std::string storedLevel(int level) {
        program().InitX.setSection("Berechtigungen");
        program().InitX.setKey("LEVEL" + std::to_string(level));
        return readEncrypted(program().InitX);
    }

    Installation inst;
    std::unique_ptr<ui::SetupApplication> setup;
    int ends = 0;
    int infoShown = 0;
};

// A fixture set up by hand: a fresh program for each case of a table.
template <class Fixture>
struct FreshRun : Fixture {
    FreshRun() { this->SetUp(); }
    ~FreshRun() override { this->TearDown(); }
    void TestBody() override {}
};

}  // namespace pnl::test
