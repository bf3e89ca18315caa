// Every window of the program, opened as the user opens it, read for what the user reads there: no English
// standard button text (Qt's German translation is loaded, the program's own buttons are German) and no
// keyboard mnemonic twice in one window.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <map>
#include <set>

#include "support/installation.h"
#include "tools/sample/sample_installation.h"
#include "ui/info_dialog_view.h"
#include "ui/installations_window_view.h"
#include "ui/main_window_view.h"
#include "ui/overview_page_view.h"
#include "ui/password_dialog_view.h"
#include "ui/setup_application.h"
#include "ui/transfer_dialog_view.h"

namespace pnl::test {
namespace {

// What the user reads in a window and what may carry a mnemonic: buttons, check boxes, labels, group
// titles, tabs and menu bar entries of its visible widgets (other windows excluded).
QStringList visibleTexts(QWidget* window) {
    QStringList texts;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget->window() != window || !widget->isVisible())
            continue;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            texts << button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            texts << label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            texts << group->title();
        else if (auto* tabs = qobject_cast<QTabBar*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        else if (auto* menus = qobject_cast<QMenuBar*>(widget))
            for (QAction* action : menus->actions())
                texts << action->text();
    }
    return texts;
}

// The window's English standard texts and repeated mnemonics, one line each.
std::vector<std::string> faultsOf(QWidget* window) {
    static const std::set<QString> english{
        "Cancel", "Yes",     "No",         "Close",          "Save",       "Open",   "Look in:", "Look in",
        "Apply",  "Discard", "File name:", "Files of type:", "Directory:", "Choose", "Back",     "Forward"};
    std::vector<std::string> faults;
    std::map<QChar, QString> mnemonics;
    const std::string where = window->windowTitle().toStdString() + ": ";
    for (const QString& text : visibleTexts(window)) {
        QString plain = text;
        plain.remove('&');
        if (english.count(plain))
            faults.push_back(where + "englisch \"" + text.toStdString() + "\"");
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != '&')
                continue;
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            const QChar letter = text[i + 1].toLower();
            if (mnemonics.count(letter))
                faults.push_back(where + "Alt+" + QString(letter).toStdString() + " in \"" +
                                 mnemonics[letter].toStdString() + "\" und \"" + text.toStdString() + "\"");
            mnemonics[letter] = text;
            break;
        }
    }
    return faults;
}

struct WindowTexts : ::testing::Test {
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(writeSampleInstallation(inst.folder.path(), &error)) << error;
        setup = std::make_unique<ui::SetupApplication>(
            Platform{inst.fs, inst.loop, inst.dialogs, inst.serial, inst.ports}, inst.devices.services,
            inst.folder.path());
        setup->onEnd = [] {};
    }
    // Every window on screen now, checked.
    void checkShown(const std::string& step) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible())
                for (const std::string& fault : faultsOf(window))
                    faults.push_back(step + " – " + fault);
    }
    // The modal dialog that `open` shows, checked and then closed by Escape.
    void checkModal(const std::string& step, const std::function<void()>& open) {
        QTimer::singleShot(0, [this, step] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog) {
                faults.push_back(step + " – kein Dialog");
                return;
            }
            checkShown(step);
            if (auto* modal = qobject_cast<QDialog*>(dialog))
                modal->reject();
        });
        open();
    }

    Installation inst;
    std::unique_ptr<ui::SetupApplication> setup;
    std::vector<std::string> faults;
};

TEST_F(WindowTexts, EveryWindowIsGermanWithUniqueMnemonics) {
    setup->start(0);
    checkShown("Kennwort");
    QTest::keyClicks(setup->passwordWindow()->codeEntry(), "ORION NEBEL");
    QTest::keyClick(setup->passwordWindow()->codeEntry(), Qt::Key_Return);
    ui::MainWindowView* main = setup->mainWindowView();
    ASSERT_TRUE(main && main->isVisible());
    const char* const menus[] = {"Schnittstelle", "Bewohner",    "Berechtigungen",
                                 "Übertragung",   "Sicherungen", "Anlagen"};
    for (int command = 0; command < 6; ++command) {
        main->menuCommand(command)->trigger();
        checkShown(menus[command]);
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window != main && window->isVisible())
                window->close();
    }
    main->overviewCommand()->trigger();
    checkShown("Übersicht");
    setup->infoWindow()->show();
    checkShown("Info");
    setup->infoWindow()->close();

    // Qt's own dialogs and the program's dialogs over the overview.
    ui::OverviewPageView* overview = setup->overviewView();
    checkModal("PNL zuordnen", [&] { overview->chooseStation(true); });
    checkModal("Export", [&] { overview->chooseExportFile(); });
    checkModal("Import", [&] { overview->chooseImportFile(); });
    checkModal("Ordner hinzufügen", [&] { setup->installationsWindow()->chooseFolder(); });
    EXPECT_EQ(faults, std::vector<std::string>{});
}

}  // namespace
}  // namespace pnl::test
